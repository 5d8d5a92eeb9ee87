# cmake -DSOURCE_DIR=<project> -P IncludeCheck.cmake
#
# The plug-in (plugin/, settings/, wmi/) depends on host/, Qt and one
# platform header only. Fails when one of its files (sources, headers,
# Designer forms) includes anything from studio/ or winapi/, or climbs out
# of its folder; the one allowed seam is wmi/WmiPlatform.h including
# <winapi/Wbem.h> off Windows.

cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED SOURCE_DIR)
  message(FATAL_ERROR "IncludeCheck: SOURCE_DIR is not set")
endif()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${SOURCE_DIR}"
  "${SOURCE_DIR}/plugin/*" "${SOURCE_DIR}/settings/*" "${SOURCE_DIR}/wmi/*")
list(FILTER files INCLUDE REGEX "\\.(h|hpp|cpp|ui)$")
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "IncludeCheck: no plug-in files under ${SOURCE_DIR}")
endif()

set(findings "")
foreach(file IN LISTS files)
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "#[ \t]*include|<include")
  foreach(line IN LISTS lines)
    # `#include "x"`, `#include <x>`, and a form's <include>x</include>.
    if(line MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"]")
      set(path "${CMAKE_MATCH_1}")
    elseif(line MATCHES "<include[^>]*>([^<]*)</include>")
      set(path "${CMAKE_MATCH_1}")
    else()
      continue()
    endif()
    if(file STREQUAL "wmi/WmiPlatform.h" AND path STREQUAL "winapi/Wbem.h")
      continue()
    endif()
    if(path MATCHES "(^|/)(studio|winapi|tests)/" OR path MATCHES "(^|/)\\.\\./")
      list(APPEND findings "${file}: ${path}")
    endif()
  endforeach()
endforeach()

list(LENGTH files checked)
if(findings)
  string(REPLACE ";" "\n  " findings "${findings}")
  message(FATAL_ERROR "the plug-in reaches past host/ and its platform header:\n  ${findings}")
endif()
message("${checked} plug-in files include nothing of studio/, winapi/ or tests/")
