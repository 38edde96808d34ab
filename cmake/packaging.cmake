# The Debian package: the program, the simulator, the icon, the desktop entry
# and the help. Its dependencies are worked out from the libraries the
# programs link (Debian's Qt 6 and QCustomPlot packages).
#
#   cpack --config build/CPackConfig.cmake -B build/package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glodrik)
set(CPACK_PACKAGE_VENDOR "Glodrik")
set(CPACK_PACKAGE_CONTACT "Glodrik developers <glodrik@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Service and set-up tool for the Kolvo pellet burner controller")
set(CPACK_PACKAGE_DESCRIPTION
    "Glodrik watches the Kolvo controller's inputs, outputs, states and timers over an\n"
    "RS-232 line, changes its parameters, logs temperature and the burner sequence,\n"
    "loads parameter files and replaces the controller's program through its boot\n"
    "loader. The package also holds kolvo-sim, a controller simulator on a\n"
    "pseudo-terminal. The user interface is in Swedish.")
string(JOIN " " CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tests and benchmarks stay out: only what the install rules name goes in.
set(CPACK_STRIP_FILES ON)
include(CPack)
