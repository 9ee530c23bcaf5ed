# `make package`: a Debian package of the installed files, its library
# dependencies computed by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME codequorix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Code Quorix <codequorix@codequorix.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "VBA-Code aus Office-Dokumenten lesen und durchsuchen")
# The summary is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Code Quorix liest den VBA-Code aus Excel-, Word- und PowerPoint-Dokumenten,\n\
Access-Datenbanken, .vbp-Projekten und Ordnern exportierter Moduldateien,\n\
zeigt Module und Routinen, sucht im Code, listet Aufrufe und exportiert\n\
HTML, RTF und Text. Dazu das Kommandozeilenprogramm codequorix-cli.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Every Debian package carries its copyright and a compressed changelog.
set(CQ_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${CQ_CHANGELOG}
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog.Debian > ${CQ_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog.Debian
  COMMENT "Compressing the package changelog")
add_custom_target(cq-changelog ALL DEPENDS ${CQ_CHANGELOG})
install(FILES ${CQ_CHANGELOG} packaging/copyright DESTINATION share/doc/codequorix)

include(CPack)
