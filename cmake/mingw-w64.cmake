# Cross-builds for 64-bit Windows with Debian's mingw-w64. The posix-thread
# compilers, as the Windows Qt kit is built: a binary built with the
# win32-thread variant would load the wrong libstdc++-6.dll beside Qt.
# The kit's folder comes as UIS_QT_WIN (cache variable or environment).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(UIS_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${UIS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${UIS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${UIS_MINGW_TRIPLET}-windres)

if(NOT UIS_QT_WIN AND DEFINED ENV{UIS_QT_WIN})
  set(UIS_QT_WIN "$ENV{UIS_QT_WIN}")
endif()
set(UIS_QT_WIN "${UIS_QT_WIN}" CACHE PATH "The Windows Qt kit (from tools/qt-win-kit)")
# try_compile projects see the kit too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES UIS_QT_WIN)

set(CMAKE_FIND_ROOT_PATH ${UIS_QT_WIN} /usr/${UIS_MINGW_TRIPLET})
# Libraries and headers from the kit and mingw-w64; programs (the kit's
# Linux moc, uic, rcc) run here.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
