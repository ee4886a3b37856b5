# Installing the citara tool on Linux (cmake --install) and its Debian package (cpack -G DEB):
# the program, its manual page and the README in the usual places, and in the package the
# copyright and changelog files that Debian's policy asks every package for.

set(CMAKE_INSTALL_DOCDIR share/doc/citara CACHE PATH "The folder of citara's README")
include(GNUInstallDirs)

set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(staged ${CMAKE_BINARY_DIR}/packaging)
configure_file(${packaging}/citara.1 ${staged}/citara.1 @ONLY)
# Manual pages and changelogs are installed compressed; -n keeps the time stamp out of the result.
add_custom_command(
  OUTPUT ${staged}/citara.1.gz ${staged}/changelog.gz
  COMMAND gzip -9nc ${staged}/citara.1 > ${staged}/citara.1.gz
  COMMAND gzip -9nc ${packaging}/debian/changelog > ${staged}/changelog.gz
  DEPENDS ${staged}/citara.1 ${packaging}/debian/changelog
  VERBATIM)
add_custom_target(citara_manual ALL DEPENDS ${staged}/citara.1.gz ${staged}/changelog.gz)

# The installed citara is linked against the shared C and C++ libraries, as Debian's policy asks (a
# fix to them then reaches it): the build folder's own citara is linked statically for its start-up
# time (cli/CMakeLists.txt), which lintian refuses in a package.
add_executable(citara_installed ${CMAKE_SOURCE_DIR}/cli/main.cpp)
target_link_libraries(citara_installed PRIVATE citara_cli_lib)
set_target_properties(citara_installed PROPERTIES OUTPUT_NAME citara RUNTIME_OUTPUT_DIRECTORY ${staged})
install(TARGETS citara_installed RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${staged}/citara.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${packaging}/debian/copyright ${staged}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME citara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Citara developers <dev@citara.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # citara_1.0.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries' packages, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "entries of a list of works cited, in MLA and APA style")
# The long description: CPack indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "citara reads the data of a source (a book, an encyclopedia article, a
journal, magazine or newspaper article, another printed source, a web
article, a personal or professional site, a newsgroup posting) as a
saved-data text of the Citara controls or as CSL-JSON items of a reference
manager, and prints its entry in MLA or APA style as rich text or plain
text, checks its required fields, and converts between the two formats.")
include(CPack)
