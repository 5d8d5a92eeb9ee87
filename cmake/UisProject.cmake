# Project-wide helpers: warnings as errors for our own code, Qt Test
# programs registered with CTest and run headless.

function(uis_project_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
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
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false"
    TIMEOUT 300)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
