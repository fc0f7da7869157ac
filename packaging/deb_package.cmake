# `make package` (cpack -G DEB): a Debian package of what `cmake --install` lays out, under
# /usr, with stripped programs and the dependencies dpkg-shlibdeps finds from the shared
# libraries they link. No maintainer scripts: dpkg's triggers refresh the desktop, icon and
# manual caches.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME loomquill)
set(CPACK_PACKAGE_VENDOR "Loomquill developers")
set(CPACK_PACKAGE_CONTACT "${LQ_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn lists of files into scripts, playlists and HTML")
set(CPACK_PACKAGE_INSTALL_DIRECTORY loomquill)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${LQ_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The extended description, under the summary: paragraphs of lines under 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Loomquill turns a list of files into text. Drop files on its list, type a
header and a queue to write before and after every file name, with variables
for the file's folder, name, extension and position, choose how each name is
written, and press Create: out comes a batch script, a playlist, an HTML
fragment, any text in which file names recur.
.
Names can be escaped for shell scripts, batch files, HTML, URLs, CSV or JSON.
Templates keep texts and options, and the file manager's Open With puts a
file's name or line on the clipboard. loomquill-cli composes the same texts
from the shell.")

include(CPack)
