# Installation (cmake --install, GNUInstallDirs) and the Debian package (cpack -G DEB).
#
#   bin/tallowick, bin/tallowick-cli, bin/tallowick-setup    (installed by their folders)
#   share/tallowick/Help.html, share/tallowick/img/*.jpg       help page and its pictures
#   share/applications/tallowick.desktop                       menu entry, started in share/tallowick
#   share/icons/hicolor/{32x32,64x64,128x128}/apps/tallowick.png
#
# The desktop program opens Help.html from its working folder; the menu entry
# therefore starts it in share/tallowick. The entry is written at install time
# for the prefix actually installed to.

set(TALLOWICK_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tallowick)
if(NOT DEFINED TALLOWICK_HELP_SOURCE)
  set(TALLOWICK_HELP_SOURCE ${PROJECT_SOURCE_DIR}/resources/help)
endif()
set(tallowick_help_dir ${TALLOWICK_HELP_SOURCE})
set(tallowick_installer_resources ${PROJECT_SOURCE_DIR}/resources/installer)

foreach(file IN LISTS TALLOWICK_HELP_FILES)
  get_filename_component(folder ${file} DIRECTORY)
  install(FILES ${tallowick_help_dir}/${file} DESTINATION ${TALLOWICK_DATA_DIR}/${folder})
endforeach()

if(TALLOWICK_GUI)
  foreach(size 32 64 128)
    install(FILES ${tallowick_installer_resources}/tallowick-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tallowick.png)
  endforeach()
  install(CODE "
    set(TEMPLATE \"${tallowick_installer_resources}/tallowick.desktop.in\")
    set(BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    include(\"${tallowick_installer_resources}/write_desktop_entry.cmake\")")
endif()

# The Debian package. CPack installs with DESTDIR and the prefix /usr, so the
# menu entry written at install time names /usr.
set(CPACK_PACKAGE_NAME tallowick)
set(CPACK_PACKAGE_VENDOR "Tallowick developers")
set(CPACK_PACKAGE_CONTACT "Tallowick developers <dev@tallowick.local>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop database query to Palm OS PDB converter")
set(CPACK_PACKAGE_DESCRIPTION
    "Tallowick turns the result of a SQL query on a desktop database (Access, SQLite, PostgreSQL,\n\
Excel, dBase, through unixODBC) into a Palm OS record database (.pdb) with a Helper file\n\
and two logs, and shows the records of a PDB again. Programs: tallowick (desktop),\n\
tallowick-cli (command line) and tallowick-setup (copies the program into a folder of\n\
your choice and puts shortcuts on your desktop).")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries from dpkg-shlibdeps; the ODBC drivers the programs name in
# odbcinst.ini are loaded at run time and must be listed by hand: MDB Tools
# for Access files, SQLite3 for SQLite files and converted .xls/.dbf files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "odbcinst, libsqliteodbc, odbc-mdbtools")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "odbc-postgresql, xdg-utils, xdg-user-dirs")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
