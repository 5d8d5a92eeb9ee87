# Project-wide helpers: warnings as errors for our own code, the include
# root and string rules of the plug-in's targets, Qt Test programs registered with CTest and
# run headless.

# MSVC's /WX only where the build is watched: a newer compiler's new
# warning must not stop a developer's Windows build.
if(DEFINED ENV{CI})
  set(uis_msvc_wx_default ON)
else()
  set(uis_msvc_wx_default OFF)
endif()
option(UIS_MSVC_WARNINGS_AS_ERRORS "MSVC: treat warnings as errors (/WX)" ${uis_msvc_wx_default})

function(uis_project_target target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${UIS_MSVC_WARNINGS_AS_ERRORS}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  endif()
endfunction()

# uis_plugin_target(<target>)
# A target of the plug-in (lookup/, wmi/, settings/, plugin/): the
# project's warnings, includes rooted at the source tree ("wmi/WMIObject.h")
# and no implicit conversion between 8-bit text and QString but from string
# literals. The root also holds studio/ and winapi/; the include check
# (cmake/IncludeCheck.cmake, the test plugin_includes) keeps the plug-in's
# files to host/, their own folders below them and the one platform header.
function(uis_plugin_target target)
  uis_project_target(${target})
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_TO_ASCII QT_RESTRICTED_CAST_FROM_ASCII)
  # Each function in a section of its own, so that the plug-in's link can
  # drop what it never calls (MSVC does so by default in release builds).
  if(NOT MSVC)
    target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
  endif()
endfunction()

# uis_add_qt_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# Builds a Qt Test program and registers it with CTest on the offscreen
# platform, so the suite runs on a machine without a display.
function(uis_add_qt_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt5::Test ${T_LIBS})
  # Helpers shared between test areas are named from the root (tests/...).
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  uis_project_target(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  # Windows runs them on its own platform: a Windows Qt built without
  # FreeType has no offscreen one.
  if(NOT WIN32)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
