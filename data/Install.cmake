# cmake --install: both programs, the help page, and the desktop entry and
# icon that put the program in a Linux desktop's application menu.
include(GNUInstallDirs)
foreach(program HalvexBarcode halvex-barcode)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/halvex-barcode.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/halvex-barcode.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The help page is installed once it has been written.
install(FILES ${CMAKE_SOURCE_DIR}/docs/HalvexRarovuvUvizo.htm DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)
