# cmake -DCOMPILER=<mingw g++> -DSOURCE_DIR=<project> -DINPUTS=<generated inputs>
#       -P WindowsSyntaxCheck.cmake
#
# Runs `-fsyntax-only` of the mingw-w64 compiler over every plug-in source
# (lookup/, plugin/, settings/, wmi/) and the AUTOGEN outputs of their targets, with
# Debian's Qt headers standing in for a Windows Qt. Fails if any file fails.

cmake_minimum_required(VERSION 3.25)

foreach(var COMPILER SOURCE_DIR INPUTS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "WindowsSyntaxCheck: ${var} is not set")
  endif()
endforeach()
include("${INPUTS}")

# Qt's headers are third-party: -isystem keeps their warnings out. The
# stand-in's headers and Qt's Linux mkspec must not be seen, or a source that
# reaches past the platform header would pass here.
set(flags -std=c++17 -fsyntax-only -DUNICODE -D_UNICODE)
set(seen "")
foreach(dir IN LISTS UIS_CHECK_INCLUDES)
  if(dir STREQUAL "" OR dir IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${dir}")
  if(dir MATCHES "/winapi(/|$)" OR dir MATCHES "/mkspecs/" OR dir STREQUAL "/usr/include")
    continue()
  endif()
  if(dir MATCHES "/qt5(/|$)")
    list(APPEND flags -isystem "${dir}")
  else()
    list(APPEND flags "-I${dir}")
  endif()
endforeach()

set(seen "")
foreach(define IN LISTS UIS_CHECK_DEFINES)
  if(define STREQUAL "" OR define IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${define}")
  list(APPEND flags "-D${define}")
endforeach()

file(GLOB sources LIST_DIRECTORIES false
  "${SOURCE_DIR}/lookup/*.cpp" "${SOURCE_DIR}/plugin/*.cpp" "${SOURCE_DIR}/settings/*.cpp"
  "${SOURCE_DIR}/wmi/*.cpp")
list(SORT sources)

set(missing "")
foreach(dir IN LISTS UIS_CHECK_AUTOGEN_DIRS)
  if(NOT EXISTS "${dir}/mocs_compilation.cpp")
    list(APPEND missing "${dir}/mocs_compilation.cpp")
    continue()
  endif()
  list(APPEND sources "${dir}/mocs_compilation.cpp")
  if(EXISTS "${dir}/include")
    list(APPEND flags "-I${dir}/include")
  endif()
endforeach()
if(missing)
  string(REPLACE ";" "\n  " missing "${missing}")
  message(FATAL_ERROR "AUTOGEN outputs missing; build the plug-in targets first:\n  ${missing}")
endif()
if(NOT sources)
  message(FATAL_ERROR "no plug-in sources found under ${SOURCE_DIR}")
endif()

set(failed "")
foreach(source IN LISTS sources)
  execute_process(COMMAND "${COMPILER}" ${flags} "${source}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(result EQUAL 0)
    message("ok      ${source}")
  else()
    message("FAILED  ${source}\n${output}")
    list(APPEND failed "${source}")
  endif()
endforeach()

list(LENGTH sources checked)
if(failed)
  list(LENGTH failed failures)
  message(FATAL_ERROR "${failures} of ${checked} files failed the Windows type-check")
endif()
message("${checked} files passed the Windows type-check")
