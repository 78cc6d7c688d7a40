# Installation layout and the Debian package (cpack -G DEB; scripts/package.sh runs it all).
# The three programs link the project's libraries statically; at run time they need Qt 6
# only, which dpkg-shlibdeps turns into the distribution's package names.
if(KAP_FUZZ)
  return()  # fuzz builds carry libFuzzer hooks and are never installed
endif()
include(GNUInstallDirs)

install(TARGETS kap kap-cli kap-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(KAP_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(KAP_APPSTREAM_ID io.github.kap_support.kap)
install(FILES ${KAP_PACKAGING_DIR}/kap.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KAP_PACKAGING_DIR}/kap.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${KAP_PACKAGING_DIR}/${KAP_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The setting files' MIME type, which the desktop entry names.
install(FILES ${KAP_PACKAGING_DIR}/kap-settings.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME kap.xml)
# share/kap/translations/kap_ja.qm is installed by translations/.

set(KAP_MAINTAINER "KAP Support-Software team <support@kap.invalid>")
set(KAP_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kap)
# The licence in Debian's machine-readable form (LICENSE itself would be a second copy).
install(FILES ${KAP_PACKAGING_DIR}/copyright DESTINATION ${KAP_DOC_DIR})

# lintian's verdicts that are overridden, each with its reason.
install(FILES ${KAP_PACKAGING_DIR}/kap.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kap)

# changelog.gz from CHANGELOG.md; gzip -n keeps name and time out, so the bytes depend on the
# file alone.
set(KAP_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${KAP_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND ${KAP_PACKAGING_DIR}/changelog-from-markdown.sh ${PROJECT_SOURCE_DIR}/CHANGELOG.md
          kap "${KAP_MAINTAINER}" ${KAP_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${KAP_PACKAGING_DIR}/changelog-from-markdown.sh
  VERBATIM)
add_custom_target(kap_changelog ALL DEPENDS ${KAP_CHANGELOG})
install(FILES ${KAP_CHANGELOG} DESTINATION ${KAP_DOC_DIR})

# Man pages made from each program's --help and --version by help2man (dated by
# SOURCE_DATE_EPOCH when set). Without help2man the build goes on without them.
find_program(KAP_HELP2MAN help2man)
if(KAP_HELP2MAN)
  set(kap_man_pages)
  foreach(program_and_name
      "kap|setting and teaching tool for rotary actuator controllers"
      "kap-cli|back up, restore and compare actuator controllers' setting data"
      "kap-sim|simulated actuator controller on a pseudo-terminal")
    string(REPLACE "|" ";" parts "${program_and_name}")
    list(GET parts 0 program)
    list(GET parts 1 name)
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      # kap makes its application object before reading its options: no screen needed.
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              ${KAP_HELP2MAN} --no-info --version-string=${PROJECT_VERSION} --name=${name}
              --output=${CMAKE_BINARY_DIR}/man/${program}.1 $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/${program}.1
      DEPENDS ${program}
      VERBATIM)
    list(APPEND kap_man_pages ${page})
  endforeach()
  add_custom_target(kap_man_pages ALL DEPENDS ${kap_man_pages})
  install(FILES ${kap_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no man pages (scripts/install-deps.sh help2man)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kap)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KAP")
set(CPACK_PACKAGE_CONTACT "${KAP_MAINTAINER}")
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
# the windows cannot open, and the SVG icon engine, without which the window icon (kap.svg)
# is blank.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
# The Japanese windows need a font with Japanese glyphs: without one, a user who picks 日本語
# on an English desktop sees empty boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
