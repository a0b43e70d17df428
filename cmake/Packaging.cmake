# The Debian package: `cmake --build build --target package` (or ./package) makes
# nmaker_<version>-<revision>_amd64.deb in the build folder.

# Manual pages, with this version, compressed as Debian wants them (no name or time inside).
set(NMAKER_MAN_PAGES "")
foreach(page nmaker nmaker-cli)
  configure_file(${PROJECT_SOURCE_DIR}/doc/man/${page}.1.in ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
    COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/man/${page}.1
    DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1
    COMMENT "Compressing the manual page ${page}.1")
  list(APPEND NMAKER_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
endforeach()
set(NMAKER_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${NMAKER_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${NMAKER_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
  COMMENT "Compressing the Debian changelog")
add_custom_target(nmaker_package_docs ALL DEPENDS ${NMAKER_MAN_PAGES} ${NMAKER_CHANGELOG})

install(FILES ${NMAKER_MAN_PAGES} DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${NMAKER_CHANGELOG}
  DESTINATION share/doc/nmaker)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/lintian-overrides
  DESTINATION share/lintian/overrides RENAME nmaker)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nmaker)
set(CPACK_PACKAGE_VENDOR "The NMaker developers")
set(CPACK_PACKAGE_CONTACT "The NMaker developers <nmaker@nmaker.github.io>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_OUTPUT_FILE_PREFIX "")
# Directories as Debian's own packages have them, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://nmaker.github.io/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's window system plugins are a package of their own, which no library links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "create and trash whole series of numbered folders")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "NMaker creates whole series of folders whose names carry a running number
(case001 to case120, for example) and sends them to the trash again. It
works from folder lists too: text files in which a line such as
/home/me/work/case[001-120] stands for 120 paths, and tables from CSV, TSV
or Excel workbooks. A template's contents can be copied into every new
folder, and the last run can be taken back, also after a restart.

The window is in Japanese; nmaker-cli runs the same commands in a terminal
without a display.")
include(CPack)
