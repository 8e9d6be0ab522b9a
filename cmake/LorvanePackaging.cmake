# `cpack -G DEB` in the build folder makes lorvane-client_<version>_<arch>.deb from what
# LorvaneInstall.cmake installs, under /usr. scripts/package builds and checks it.

set(LV_PACKAGE_MAINTAINER "Lorvane Client developers <maintainers@lorvane.invalid>"
    CACHE STRING "Maintainer field of the Debian package: \"Name <address>\"")

set(CPACK_PACKAGE_NAME lorvane-client)
set(CPACK_PACKAGE_VENDOR Lorvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "uploads what the +Lorvane_Harvex game addon recorded")
# Lines of the long description, each under 80 characters as dpkg shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "The Lorvane Client uploads what the site's +Lorvane_Harvex addon recorded in"
    "World of Warcraft to the site, one compressed upload per game account, keeps"
    "the addon installed and up to date, and keeps the site password in the system"
    "keychain. It never uploads while the game runs, can upload when the game quits,"
    "finds the game in Wine, Lutris, Steam (Proton) and Bottles prefixes, and can"
    "run without a window from a post-exit script.")
set(CPACK_PACKAGE_CONTACT "${LV_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps finds the libraries the binary links; these are loaded at run time by name: the
# SQLite driver through Qt's plugin loader, libsecret by QtKeychain for the Secret Service.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libsecret-1-0")
# A keychain service that keeps the password: GNOME's or KDE's.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring | libkf5wallet-bin")

include(CPack)
