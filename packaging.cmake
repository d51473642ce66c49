# Installation (cmake --install, GNUInstallDirs; the Debian packages in
# debian/ are built from it) and the portable archive (cpack -G TGZ).
#
#   bin/tallowick, bin/tallowick-cli, bin/tallowick-setup    (installed by their folders)
#   share/tallowick/Help.html, share/tallowick/img/*.jpg       help page and its pictures
#   share/applications/tallowick.desktop                       menu entry, started in share/tallowick
#   share/icons/hicolor/{16,32,48,64,128,256}/apps/tallowick.png, scalable/apps/tallowick.svg
#   share/metainfo/example.tallowick.Tallowick.metainfo.xml    AppStream description
#
# The desktop program opens Help.html from its working folder, else from
# share/tallowick beside its own bin folder; the menu entry starts it in
# share/tallowick. The entry is written at install time
# for the prefix actually installed to.

set(TALLOWICK_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tallowick)
if(NOT DEFINED TALLOWICK_HELP_SOURCE)
  set(TALLOWICK_HELP_SOURCE ${PROJECT_SOURCE_DIR}/resources/help)
endif()
set(tallowick_help_dir ${TALLOWICK_HELP_SOURCE})
set(tallowick_installer_resources ${PROJECT_SOURCE_DIR}/resources/installer)
# Where the project's web pages are; the AppStream description names its
# screenshots (the help page's pictures, in img/) there.
set(TALLOWICK_HOMEPAGE "https://tallowick.example" CACHE STRING
    "Web address of the project's pages; the help pictures are published under img/")
# The program's name for software centres, in reverse domain form; it must
# never change once published.
set(TALLOWICK_APPSTREAM_ID example.tallowick.Tallowick)

foreach(file IN LISTS TALLOWICK_HELP_FILES)
  get_filename_component(folder ${file} DIRECTORY)
  install(FILES ${tallowick_help_dir}/${file} DESTINATION ${TALLOWICK_DATA_DIR}/${folder})
endforeach()

if(TALLOWICK_GUI)
  # Each size drawn for itself (resources/installer/make_icons.py).
  foreach(size 16 32 48 64 128 256)
    install(FILES ${tallowick_installer_resources}/tallowick-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tallowick.png)
  endforeach()
  install(FILES ${tallowick_installer_resources}/tallowick.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(CODE "
    set(TEMPLATE \"${tallowick_installer_resources}/tallowick.desktop.in\")
    set(BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    include(\"${tallowick_installer_resources}/write_desktop_entry.cmake\")")
  configure_file(${tallowick_installer_resources}/tallowick.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/${TALLOWICK_APPSTREAM_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${TALLOWICK_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The portable archive: the installation source folder as the build
  # assembles it (installer/CMakeLists.txt): the program, its help page and
  # pictures, its icon, the installer and the licence. Unpacked anywhere, its
  # tallowick-setup installs from it.
  set(CPACK_PACKAGE_NAME tallowick)
  set(CPACK_PACKAGE_VENDOR "The Tallowick developers")
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
  set(CPACK_GENERATOR TGZ)
  set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_INSTALL_CMAKE_PROJECTS "")
  set(CPACK_INSTALLED_DIRECTORIES "${TALLOWICK_INSTALL_SOURCE};.")
  include(CPack)
endif()
