# The codec libraries behind the image files layer, found once for the main build and the fuzz
# project alike. Sets LOOM_CODEC_LIBRARIES to the targets to link.
find_package(PkgConfig REQUIRED)
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(TIFF REQUIRED)
find_package(GIF REQUIRED)
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebp)
# Animations: reading frames composed (demux), writing them (mux).
pkg_check_modules(WEBPDEMUX REQUIRED IMPORTED_TARGET libwebpdemux)
pkg_check_modules(WEBPMUX REQUIRED IMPORTED_TARGET libwebpmux)
pkg_check_modules(JXR REQUIRED IMPORTED_TARGET libjxr)
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
set(LOOM_CODEC_LIBRARIES PNG::PNG JPEG::JPEG TIFF::TIFF GIF::GIF PkgConfig::WEBP PkgConfig::WEBPDEMUX
    PkgConfig::WEBPMUX PkgConfig::JXR PkgConfig::STB ZLIB::ZLIB)
