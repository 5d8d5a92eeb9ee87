# Project-wide helpers: warnings as errors for our own code, the include
# root of the plug-in's targets, Qt Test programs registered with CTest and
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

# The plug-in's targets (plugin/, settings/, wmi/, through `host`) see only
# the folders of the plug-in and host/, not the whole tree: a folder of links
# in the build tree stands in for the source root, so "studio/..." or
# "tests/..." cannot be included by accident. Where links cannot be made the
# source root is used; the include check (tests/CMakeLists.txt) still catches
# such an include.
set(UIS_PLUGIN_INCLUDE_DIR ${CMAKE_BINARY_DIR}/plugin-include)
foreach(dir host plugin settings wmi)
  if(NOT EXISTS ${UIS_PLUGIN_INCLUDE_DIR}/${dir})
    file(MAKE_DIRECTORY ${UIS_PLUGIN_INCLUDE_DIR})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dir} ${UIS_PLUGIN_INCLUDE_DIR}/${dir}
      RESULT link_result SYMBOLIC)
    if(NOT link_result EQUAL 0)
      set(UIS_PLUGIN_INCLUDE_DIR ${PROJECT_SOURCE_DIR})
      break()
    endif()
  endif()
endforeach()

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
