# `cpack -G DEB` in the build folder makes vantrel_<version>_<arch>.deb from
# the install rules, its dependencies worked out by dpkg-shlibdeps (package
# dpkg-dev) from the libraries the program links.
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "The Vantrel developers")
set(CPACK_PACKAGE_CONTACT "The Vantrel developers <developers@vantrel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Debug devices over a UART line")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantrel is a tool for debugging devices over a serial (UART) line: a terminal that sends text or hexadecimal bytes once or periodically and shows received bytes as text or hexadecimal, addressed frames with MARK and SPACE parity for multi-drop buses, and a raw, XMODEM and 1K XMODEM file sender for boot loaders.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcurl is opened when the pane first fetches a page, so the automatic
# dependencies do not see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl3-gnutls | libcurl4")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.vantrel.org/)
# xdg-open for the About box's link and the help page; a font with the
# control pictures the receive box shows; the certificates an https advert
# page is checked against.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-symbola, ca-certificates")

include(CPack)
