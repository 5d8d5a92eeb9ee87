# `cmake --install <build> --prefix <dir>` gives a tree the studio runs from:
# everything in <dir>/bin, as in the build tree, because the studio loads the
# *.plg beside itself and their translations from translations/ beside them.
# The shared libraries of the stand-ins go along; Qt comes from the system.
# The translations are installed by translations/.
# Installed programs and libraries find each other beside themselves.
if(APPLE)
  set(CMAKE_INSTALL_RPATH "@loader_path")
elseif(UNIX)
  set(CMAKE_INSTALL_RPATH "$ORIGIN")
endif()

set(uis_install_targets "")
foreach(target studio wql uis_dev orvane vs_widgets winapi)
  if(TARGET ${target})
    list(APPEND uis_install_targets ${target})
    # Linked with it already: in the build tree too they sit side by side,
    # and CMake need not leave room to rewrite the path at install time,
    # which it does with a trailing empty element (the current directory).
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "${CMAKE_INSTALL_RPATH}"
      BUILD_WITH_INSTALL_RPATH ON)
  endif()
endforeach()
# A Windows DLL's import library is for linking against it, not for running.
install(TARGETS ${uis_install_targets}
  RUNTIME DESTINATION bin
  LIBRARY DESTINATION bin
  ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)
