# Installation layout and the Debian package (cpack -G DEB; scripts/package.sh runs it all).
# The three programs link the project's libraries statically; at run time they need Qt 6
# only, which dpkg-shlibdeps turns into the distribution's package names.
if(KAP_FUZZ)
  return()  # fuzz builds carry libFuzzer hooks and are never installed
endif()
include(GNUInstallDirs)

install(TARGETS kap kap-cli kap-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(KAP_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(KAP_APPSTREAM_ID invalid.kap.kap)
install(FILES ${KAP_PACKAGING_DIR}/kap.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KAP_PACKAGING_DIR}/kap.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${KAP_PACKAGING_DIR}/${KAP_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The setting files' MIME type, which the desktop entry names.
install(FILES ${KAP_PACKAGING_DIR}/kap-settings.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME kap.xml)
# share/kap/translations/kap_ja.qm is installed by translations/.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kap)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KAP")
set(CPACK_PACKAGE_CONTACT "KAP Support-Software team <support@kap.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "setting and teaching tool for rotary actuator controllers")
set(CPACK_PACKAGE_DESCRIPTION
    "The PC-side tool for the rotary actuator controllers: it talks to the
controller over an RS-232C line, edits its setting data, exchanges it with
the controller, drives and teaches the actuator, and keeps setting files.
English and Japanese.

The package holds the tool (kap), its command line for backups, restores
and comparisons on one or many controllers (kap-cli), and a controller
simulator on a pseudo-terminal (kap-sim).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # kap_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the xcb platform plugin, without which
# the windows cannot open, and Qt's own Japanese texts for the standard dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The Japanese windows need a font with Japanese glyphs: without one, a user who picks 日本語
# on an English desktop sees empty boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
