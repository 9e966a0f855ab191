# `make deb`: a Debian package of what `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME i2kcmd)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "graphical command console with aliases, batch files and a music player")
set(CPACK_PACKAGE_DESCRIPTION
    "i2kCmd shows a character console in one window: commands typed at the prompt, their\n\
output in a pager, an event log, aliases, variables, key bindings and batch files. Its\n\
music commands browse and play databases made with the vldmake tool, which comes with it,\n\
and a small sample database.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "i2kCmd developers <i2kcmd@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The linked libraries are found by dpkg-shlibdeps. libmpv is opened at run time
# (player/LibMpv.cpp loads libmpv.so.2), so no tool sees it: libmpv2 is the Debian package
# that ships libmpv.so.2.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libmpv2)
# The console's fonts (Courier New is Liberation Mono through fontconfig) and the picture
# formats beyond Qt's own: the program runs without them, but looks and shows less.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core, fonts-wqy-microhei, fonts-symbola, qt6-image-formats-plugins")
include(CPack)
