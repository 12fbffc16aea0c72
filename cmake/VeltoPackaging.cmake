# The Debian package: `cpack -G DEB` in a RelWithDebInfo build gives velto and velto-dbgsym.
set(VELTO_PACKAGE_MAINTAINER "Murv Studios <velto@murv.studio>" CACHE STRING
  "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velto)
set(CPACK_PACKAGE_VENDOR "Murv Studios")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VELTO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://murv.studio")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "focus timer in the system tray")
set(CPACK_PACKAGE_DESCRIPTION
  "Velto alternates focus intervals with short and long breaks from the system tray,\n"
  "keeps a history of finished intervals with insights on a dashboard, and can\n"
  "play and pause Calmix so that music plays only while you focus.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Debug symbols go to velto-dbgsym; velto itself ships stripped.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# Loaded at run time, so no library dependency names them: the QML modules the
# views import (QtQuick pulls in QtQml and its models and worker script) and the
# two fonts of the interface. The self-test fails without any of them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qml6-module-qtqml, qml6-module-qtqml-models, qml6-module-qtqml-workerscript, qml6-module-qtquick, qml6-module-qtquick-window, fonts-quicksand, fonts-jetbrains-mono")
# The end-of-interval sound comes from the freedesktop sound theme; Wayland sessions
# need Qt's Wayland platform plugin; the history export's file chooser is the desktop's own
# through the XDG portal's Qt theme.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop, qt6-wayland, qt6-xdgdesktopportal-platformtheme")

# No source packages: the tree holds build folders and node_modules.
set(CPACK_SOURCE_GENERATOR "")

include(CPack)
