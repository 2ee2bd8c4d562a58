# The install target: what a Debian system expects where it expects it. The libraries go into the
# library folder side by side (they load each other by name from beside the platform library), the
# programs into the program folder, and the CUPS backend into CUPS's backend folder. Each finds the
# libraries relative to itself, so the tree may be installed under any prefix.
include(GNUInstallDirs)

set(vorlane_install_libraries vorlaneplatform vorlanesock vorlanedlc vantorel halbrin tessik dalvor dalvordialogs
                              quillmarhelpviewer)
set(vorlane_install_programs quillmar-en fendrel printserver-sim vorlane-port)

foreach(library IN LISTS vorlane_install_libraries)
    if(TARGET ${library})
        set_target_properties(${library} PROPERTIES INSTALL_RPATH "$ORIGIN")
        install(TARGETS ${library} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
    endif()
endforeach()

foreach(program IN LISTS vorlane_install_programs)
    if(TARGET ${program})
        set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

# CUPS runs a backend whose mode is 755 as its own user, not as root; the folder is
# /usr/lib/cups/backend on every Debian architecture.
set_target_properties(vorlane PROPERTIES INSTALL_RPATH "$ORIGIN/../../../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS vorlane RUNTIME DESTINATION lib/cups/backend
        PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(VORLANE_TESTS)
    add_test(NAME install_layout COMMAND ${CMAKE_SOURCE_DIR}/scripts/install-check ${CMAKE_BINARY_DIR})
endif()
