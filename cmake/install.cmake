# Installation layout, desktop integration and packages.
#
#   bin/qm830k, bin/qm830k-cli, bin/zr410-sim
#   share/qm830k/               the installation maker file and the help page; the programs
#                               look beside themselves first, then here
#   share/qm830k/translations/  translation files of the interface (QM_INSTALL_TRANSLATIONSDIR)
#   share/applications, share/icons/hicolor, share/mime/packages, share/metainfo, share/man
#   lib/udev/rules.d            the programming cable's port for the desktop user
#
# On Windows everything goes into one folder beside the program, as the program expects of a
# copied folder; CPack makes an NSIS installer or a ZIP of it there.
include(GNUInstallDirs)

if(WIN32)
  set(QM_INSTALL_BINDIR .)
  set(QM_INSTALL_DATADIR .)
else()
  set(QM_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(QM_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/qm830k)
endif()
set(QM_INSTALL_TRANSLATIONSDIR ${QM_INSTALL_DATADIR}/translations)

foreach(program qm830k qm830k-cli zr410-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${QM_INSTALL_BINDIR})
  endif()
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/data/nrvPC.ini DESTINATION ${QM_INSTALL_DATADIR})
if(TARGET qm830k_user_guide)
  install(FILES ${CMAKE_BINARY_DIR}/USER-GUIDE.html DESTINATION ${QM_INSTALL_DATADIR})
endif()

# Windows: Qt's libraries and plugins beside the installed programs, by Qt's own deployment
# tool, so that the folder (and the CPack package made of it) runs on a machine without Qt.
if(WIN32 AND TARGET qm830k)
  find_program(QM_WINDEPLOYQT windeployqt HINTS "${Qt6_DIR}/../../../bin")
  if(QM_WINDEPLOYQT)
    install(CODE "execute_process(COMMAND \"${QM_WINDEPLOYQT}\" --release --no-translations
      \"\${CMAKE_INSTALL_PREFIX}/qm830k.exe\" \"\${CMAKE_INSTALL_PREFIX}/qm830k-cli.exe\")")
  endif()
endif()

if(UNIX AND NOT APPLE)
  set(dist ${CMAKE_SOURCE_DIR}/dist)
  install(FILES ${dist}/qm830k.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${dist}/qm830k.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The programming cable's port for the desktop user (TAG+="uaccess"), read by udev.
  install(FILES ${dist}/60-qm830k-cable.rules DESTINATION lib/udev/rules.d)
  install(FILES ${dist}/qm830k-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME qm830k.xml)
  install(FILES ${dist}/icons/qm830k.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${dist}/icons/qm830k-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME qm830k.png)
  endforeach()

  # Manual pages from each program's --help, when help2man is there (the package needs them).
  find_program(QM_HELP2MAN help2man)
  if(QM_HELP2MAN)
    set(QM_MAN_PAGES)
    foreach(entry "qm830k|ZR410 series radio programming software (window program)"
                  "qm830k-cli|ZR410 series radio programming software (command line)"
                  "zr410-sim|simulated ZR410 series radio on a pseudo-terminal")
      string(REPLACE "|" ";" entry "${entry}")
      list(GET entry 0 program)
      list(GET entry 1 summary)
      if(NOT TARGET ${program})
        continue()
      endif()
      set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
      add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
                ${QM_HELP2MAN} --no-info --no-discard-stderr --locale=C.UTF-8
                --version-string=${PROJECT_VERSION} --name=${summary}
                --output=${page} $<TARGET_FILE:${program}>
        COMMAND gzip -9nf ${page}
        DEPENDS ${program}
        COMMENT "Manual page of ${program}"
        VERBATIM)
      list(APPEND QM_MAN_PAGES ${page}.gz)
    endforeach()
    add_custom_target(qm830k_man_pages ALL DEPENDS ${QM_MAN_PAGES})
    install(FILES ${QM_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()

  # The Debian package's own documents: the copyright statement and the changelog.
  install(FILES ${dist}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  configure_file(${dist}/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/changelog)
  add_custom_target(qm830k_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# ---- packages ----
set(CPACK_PACKAGE_NAME qm830k)
set(CPACK_PACKAGE_VENDOR "QM830K developers")
set(CPACK_PACKAGE_CONTACT "QM830K developers <qm830k@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for QM830K handheld radios")
set(CPACK_PACKAGE_DESCRIPTION
  "Reads the memory of a QM830K handheld radio over its serial programming
cable, edits its 16 channels and radio-wide functions and writes them back;
keeps them in data files, prints reports, aligns the radio in tune mode.
The window program speaks Simplified Chinese; a command-line tool and a
radio simulator come with it.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "QM830K")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  # The program folder as a ZIP and a setup. scripts/package-windows hands CPack the folder it
  # has made and checked (CPACK_INSTALLED_DIRECTORIES); a build with Qt's own Windows
  # installer has windeployqt fill the installation instead (the README's Windows section).
  # The setup is our own NSIS script (dist/windows/NSIS.template.in): 64-bit, in Chinese, with
  # the file types and the help page in the Start menu.
  set(CPACK_GENERATOR NSIS ZIP)
  list(APPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/dist/windows)
  set(CPACK_PACKAGE_FILE_NAME qm830k-${PROJECT_VERSION}-win64)
  set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/dist/icons/qm830k.ico)
  set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Loaded at run time, so not seen in the programs' links: Qt's platform plugins (the window,
  # and the offscreen platform the CLI's printing and --screenshot use).
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
endif()
include(CPack)
