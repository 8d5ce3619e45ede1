# The Debian package of Ondalyx: `cpack -G DEB` in the build folder writes
# ondalyx_<version>_<architecture>.deb with everything `cmake --install` puts in place, under /usr.

set(ONDALYX_MAINTAINER "Ondalyx <info@ondalyx.org>" CACHE STRING
    "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondalyx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ONDALYX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "visor de registros de bloques de medida de la centralita del coche")
# The summary is the Description's first line; this text follows it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Ondalyx abre los registros de bloques de medida que la herramienta de diagnosis
KORVEX graba de la centralita del motor (un archivo CSV con hasta tres grupos de
medida), los muestra en una tabla y en una gráfica, calcula las cifras del turbo
de un registro diésel, dibuja la curva de par y potencia y guarda las gráficas
como imágenes. Su interfaz está en español.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://ondalyx.org)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)

# The libraries come from what the program links, through dpkg-shlibdeps, so the list follows the
# build. Two packages that no linked library pulls in are named here: the Qt platform plugins
# (qt6-qpa-plugins), without which the window cannot open (libqt6gui6 only recommends them), and
# Qt's own translations (qt6-translations-l10n), which give the standard buttons and dialogs
# their Spanish texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")

include(CPack)
