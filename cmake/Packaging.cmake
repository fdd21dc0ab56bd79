# cmake --build build --target package: a Debian package of what cmake --install installs,
# build/quennetapp_<version>_<architecture>.deb. dpkg-shlibdeps finds the libraries the programs
# link; the window runs zenity or kdialog for its open and save dialogs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quennetapp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QuennetApp developers")
set(QUENNET_MAINTAINER "QuennetApp developers <maintainers@quennetapp.invalid>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUENNET_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pixel-art upscaler for sprites, in a window and in batches")
set(CPACK_PACKAGE_DESCRIPTION
    "QuennetApp enlarges pixel art with exact-colour pixel-art upscalers
(Scale2x, Scale3x, Scale4x, Eagle2x, three HQ variants and plain blocks),
which never invent a colour, and optionally pins the result onto a
quadrilateral dragged with the mouse. The window shows the sprite again each
time it is saved, plays animations and checks tiles for seams; the quennet
command does the same for batches of files. It reads PNG, JPEG, GIF, WebP,
TIFF, JPEG XR, BMP, QOI, IFF, ICO, CUR, PCX, TGA, PNM, PSD and Aseprite files.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "zenity | kdialog")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The debugging information stays in the build tree.
set(CPACK_STRIP_FILES ON)
include(CPack)
