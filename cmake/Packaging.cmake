# What `cmake --install` puts on a user's machine, and the Debian package CPack makes of it:
# the program and korvane-cli, the menu entry, icon, AppStream metadata, manual pages, copyright
# and changelog.
# Only these have install rules: the tests, benchmarks and korvane-make-hex (it writes HEX images
# that only the simulated board runs, a developer's tool) stay in the build folder.
include(GNUInstallDirs)

set(KORVANE_PACKAGE_NAME korvane-demo)
set(KORVANE_PACKAGE_MAINTAINER
    "Korvane demo maintainers <maintainers@users.noreply.c-seed-1c16e260.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${KORVANE_PACKAGE_NAME})

# Full RELRO and immediate binding, as Debian builds its own programs.
target_link_options(korvane-demo PRIVATE LINKER:-z,relro LINKER:-z,now)
target_link_options(korvane-cli PRIVATE LINKER:-z,relro LINKER:-z,now)

# Manual page and changelog go compressed; -n leaves out the time stamp, so that two builds of
# the same sources give the same files.
foreach(page korvane-demo korvane-cli)
  configure_file(${packaging_dir}/${page}.1.in ${packaging_out}/${page}.1 @ONLY)
  add_custom_command(
    OUTPUT ${packaging_out}/${page}.1.gz
    COMMAND gzip -n -9 -c ${packaging_out}/${page}.1 > ${packaging_out}/${page}.1.gz
    DEPENDS ${packaging_out}/${page}.1
    VERBATIM)
endforeach()
add_custom_command(
  OUTPUT ${packaging_out}/changelog.gz
  COMMAND gzip -n -9 -c ${packaging_dir}/changelog > ${packaging_out}/changelog.gz
  DEPENDS ${packaging_dir}/changelog
  VERBATIM)
add_custom_target(korvane_packaging_files ALL
                  DEPENDS ${packaging_out}/korvane-demo.1.gz ${packaging_out}/korvane-cli.1.gz
                          ${packaging_out}/changelog.gz)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS korvane-demo korvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging_dir}/korvane-demo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging_dir}/korvane-demo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${packaging_dir}/korvane-demo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging_out}/korvane-demo.1.gz ${packaging_out}/korvane-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_dir}/copyright ${packaging_out}/changelog.gz DESTINATION ${doc_dir})

# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KORVANE_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Halvern)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "evaluation program for the Korvane 24-bit ADC board")
set(CPACK_PACKAGE_DESCRIPTION
    "The demonstration and evaluation program for the Korvane evaluation board: a
microcontroller with a 24-bit delta-sigma ADC on one RS-232 link. It finds the
board, agrees the link speed, sets up the ADC, streams its readings and shows
their noise in LSB, the effective number of bits and a histogram. It resets
the board and loads its firmware from an Intel HEX file. korvane-cli does the
same from the command line and from scripts: find the board, reset it, load
firmware, set up the ADC and capture readings to CSV with their noise figures.
With --simulate both run against a simulated board, without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KORVANE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the libraries; the window needs a Qt platform plugin as well, which no
# library links to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
include(CPack)
