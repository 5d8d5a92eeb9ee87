# cmake -DSOURCE_DIR=<project> -P IncludeCheck.cmake
#
# The plug-in (host/, lookup/, wmi/, settings/, plugin/) depends on host/, Qt
# and one platform header only, and its folders depend on each other one
# way: plugin/ on settings/ and lookup/, settings/ on lookup/ and wmi/, each
# on host/. Fails when one of its files (sources, headers, Designer forms)
# includes a folder its own may not use (studio/, winapi/, tests/ or one
# above it), includes a file of the project by a bare name instead of from
# the root, or climbs out with "..". The one allowed seam is
# wmi/WmiPlatform.h including <winapi/Wbem.h> off Windows; uic's ui_*.h and
# moc's moc_*.cpp are generated output, named bare.

cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED SOURCE_DIR)
  message(FATAL_ERROR "IncludeCheck: SOURCE_DIR is not set")
endif()

# The folders each folder's files may include from.
set(allowed_host host)
set(allowed_lookup host lookup)
set(allowed_wmi wmi)
set(allowed_settings host lookup wmi settings)
set(allowed_plugin host lookup settings plugin)
set(folders host lookup wmi settings plugin)
set(project_folders ${folders} studio winapi tests tools bench)

set(globs "")
foreach(folder IN LISTS folders)
  list(APPEND globs "${SOURCE_DIR}/${folder}/*")
endforeach()
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${SOURCE_DIR}" ${globs})
list(FILTER files INCLUDE REGEX "\\.(h|hpp|cpp|ui)$")
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "IncludeCheck: no plug-in files under ${SOURCE_DIR}")
endif()

# Why `path`, included by `file` of `folder`, breaks the rules; empty if not.
function(include_finding file folder path quoted out)
  set(reason "")
  string(REGEX MATCH "^[^/]+" top "${path}")
  if(file STREQUAL "wmi/WmiPlatform.h" AND path STREQUAL "winapi/Wbem.h")
  elseif(path MATCHES "(^|/)\\.\\./")
    set(reason "climbs out of its folder")
  elseif(top IN_LIST project_folders AND NOT path STREQUAL top)
    if(NOT top IN_LIST allowed_${folder})
      set(reason "${folder}/ may not use ${top}/")
    endif()
  elseif(quoted AND NOT path MATCHES "^(ui_[A-Za-z0-9_]+\\.h|moc_[A-Za-z0-9_]+\\.cpp)$")
    set(reason "not named from the source root")
  endif()
  set(${out} "${reason}" PARENT_SCOPE)
endfunction()

set(findings "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "#[ \t]*include|<include")
  foreach(line IN LISTS lines)
    # `#include "x"`, `#include <x>`, and a form's <include>x</include>.
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]*)\"")
      set(path "${CMAKE_MATCH_1}")
      set(quoted TRUE)
    elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]*)>")
      set(path "${CMAKE_MATCH_1}")
      set(quoted FALSE)
    elseif(line MATCHES "<include[^>]*>([^<]*)</include>")
      set(path "${CMAKE_MATCH_1}")
      set(quoted TRUE)
    else()
      continue()
    endif()
    include_finding("${file}" "${folder}" "${path}" ${quoted} reason)
    if(reason)
      list(APPEND findings "${file}: ${path}: ${reason}")
    endif()
  endforeach()
endforeach()

list(LENGTH files checked)
if(findings)
  string(REPLACE ";" "\n  " findings "${findings}")
  message(FATAL_ERROR "the plug-in's includes break its folder rules:\n  ${findings}")
endif()
message("${checked} plug-in files include only what their folders may use, from the root")
