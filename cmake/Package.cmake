# The Debian package (scripts/package): the program, its menu entry and icon.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veskor)
set(CPACK_PACKAGE_VENDOR "Veskor")
set(VESKOR_MAINTAINER "Zespół Veskor <zespol@veskor.pl>" CACHE STRING "The package's maintainer, name and address")
set(CPACK_PACKAGE_CONTACT "${VESKOR_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Konfiguracja modułu telemetrycznego GSM licznika energii")
set(CPACK_PACKAGE_DESCRIPTION
    "Veskor odczytuje, zapisuje i weryfikuje konfigurację modułu telemetrycznego GSM\n licznika energii elektrycznej przez sondę optyczną na porcie szeregowym.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The libraries the program links (Qt Widgets, SerialPort, Network, the C++
# run time) come from dpkg-shlibdeps; what it loads at run time is named here:
# the X11/Wayland platform plugins and Qt's own texts in Polish.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
