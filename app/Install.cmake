# Installed as a desktop program: the program, vexa-interpret and the parser components in
# one private folder (lib/vexa, whatever the machine's library folder is called), the help
# file beside them, links in bin, and what a desktop needs to offer Vexa for traces: the
# trace file type, a desktop entry naming it, the icon in the hicolor theme and the manual
# pages.
include(GNUInstallDirs)
set(VEXA_INSTALL_DIR lib/vexa)
install(TARGETS vexa-interpret RUNTIME DESTINATION ${VEXA_INSTALL_DIR})
set(VEXA_LINKED_PROGRAMS vexa-interpret)
if(TARGET vexa)
  install(TARGETS vexa RUNTIME DESTINATION ${VEXA_INSTALL_DIR})
  list(APPEND VEXA_LINKED_PROGRAMS vexa)
endif()
foreach(component vexa_isdn_parser vexa_dect_parser vexa_ip_parser)
  if(TARGET ${component})
    install(TARGETS ${component} LIBRARY DESTINATION ${VEXA_INSTALL_DIR})
  endif()
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/vexa.hlp DESTINATION ${VEXA_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help DESTINATION ${VEXA_INSTALL_DIR} FILES_MATCHING PATTERN "*.png")

install(FILES ${PROJECT_SOURCE_DIR}/resources/vexa.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/vexa-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME vexa.xml)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
  FILES_MATCHING PATTERN "*.png" PATTERN "*.svg")
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vexa.xpm DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps)
foreach(page vexa vexa-interpret)
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1.in ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The links in bin point into the private folder, relative so that the tree can be moved.
foreach(program ${VEXA_LINKED_PROGRAMS})
  install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ../${VEXA_INSTALL_DIR}/${program} \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\" SYMBOLIC)")
endforeach()

# Installed straight onto this machine (no DESTDIR, as a package builder would set), the
# desktop's caches learn the new type, entry and icon at once. Each tool is optional, and
# a failing one does not fail the install.
install(CODE "if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
  set(share \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
  foreach(step \"update-mime-database;\${share}/mime\" \"update-desktop-database;-q;\${share}/applications\"
               \"gtk-update-icon-cache;-q;-t;-f;\${share}/icons/hicolor\")
    list(GET step 0 tool)
    find_program(found_\${tool} \${tool})
    if(found_\${tool})
      list(REMOVE_AT step 0)
      execute_process(COMMAND \${found_\${tool}} \${step} RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET)
    endif()
  endforeach()
endif()")
