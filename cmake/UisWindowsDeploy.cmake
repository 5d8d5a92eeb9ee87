# The Windows run folder, laid out as windeployqt would: beside studio.exe
# the Qt DLLs, the `windows` platform plug-in, the Vista style, the
# compiler's runtime DLLs, the project's own DLLs, the plug-in and its
# translations. The build folder's bin/ is such a folder (so the studio and
# the tests run from it), `cmake --install` copies it, and CPack packs it as
# a zip that a Windows user unpacks and runs.
# Not windeployqt itself: it is a Windows program of Qt's tools, which the
# kit does not build.

set(uis_qt_dlls "")
foreach(module Core Gui Widgets)
  list(APPEND uis_qt_dlls "$<TARGET_FILE:Qt5::${module}>")
endforeach()
set(uis_qt_platform "$<TARGET_FILE:Qt5::QWindowsIntegrationPlugin>")
set(uis_qt_style "")
if(TARGET Qt5::QWindowsVistaStylePlugin)
  set(uis_qt_style "$<TARGET_FILE:Qt5::QWindowsVistaStylePlugin>")
endif()

# The runtime of the compiler that built everything (the posix-thread
# variant, as the kit): asked of the compiler, not guessed from a path.
set(uis_runtime_dlls "")
if(MINGW)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    list(APPEND uis_runtime_dlls "${path}")
  endforeach()
endif()

set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
add_custom_target(uis_windows_runtime ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/platforms ${bin}/styles
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${uis_qt_dlls} ${uis_runtime_dlls}
    $<$<TARGET_EXISTS:Qt5::Test>:$<TARGET_FILE:Qt5::Test>> ${bin}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${uis_qt_platform} ${bin}/platforms
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${uis_qt_style} ${bin}/styles
  COMMENT "Putting Qt and the compiler's runtime beside the programs"
  COMMAND_EXPAND_LISTS
  VERBATIM)

install(FILES ${uis_qt_dlls} ${uis_runtime_dlls} DESTINATION bin)
install(FILES ${uis_qt_platform} DESTINATION bin/platforms)
if(uis_qt_style)
  install(FILES ${uis_qt_style} DESTINATION bin/styles)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME uis-studio)
set(CPACK_PACKAGE_FILE_NAME uis-studio-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_VENDOR "uis_dev")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "The studio host with the Device page plug-in")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
