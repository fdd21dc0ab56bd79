// The codecs this build carries, registered with the process-wide registrar on its first use.
// Decoders are tried in ascending priority; each refuses foreign data by its signature at once,
// so the order matters only for speed (the likeliest formats first) and for the weak signatures:
// Aseprite (two bytes after the file size), ICO and PCX (a few header bytes) come after every
// format with a real one, and TGA, which has none, last.
#include "io/codec/BuiltInCodecs.h"

#include <algorithm>

#include "io/codec/ImageSourceFileAseprite.h"
#include "io/codec/ImageSourceFileBmp.h"
#include "io/codec/ImageSourceFileGif.h"
#include "io/codec/ImageSourceFileIco.h"
#include "io/codec/ImageSourceFileIff.h"
#include "io/codec/ImageSourceFileJpeg.h"
#include "io/codec/ImageSourceFileJxr.h"
#include "io/codec/ImageSourceFilePcx.h"
#include "io/codec/ImageSourceFilePng.h"
#include "io/codec/ImageSourceFilePnm.h"
#include "io/codec/ImageSourceFileQoi.h"
#include "io/codec/ImageSourceFileStb.h"
#include "io/codec/ImageSourceFileTga.h"
#include "io/codec/ImageSourceFileTiff.h"
#include "io/codec/ImageSourceFileWebp.h"
#include "io/codec/ImageTargetFileBmp.h"
#include "io/codec/ImageTargetFileGif.h"
#include "io/codec/ImageTargetFileJpeg.h"
#include "io/codec/ImageTargetFileJxr.h"
#include "io/codec/ImageTargetFilePng.h"
#include "io/codec/ImageTargetFileTiff.h"
#include "io/codec/ImageTargetFileWebp.h"

namespace loom {

namespace {

void registerBuiltInCodecs(ImageIoRegistrar::Inst& registrar) {
    registrar.registerSourceGeneric(ImageSourceFilePng::create, 2);
    registrar.registerSourceGeneric(ImageSourceFileJpeg::create, 3);
    registrar.registerSourceGeneric(ImageSourceFileGif::create, 4);
    registrar.registerSourceGeneric(ImageSourceFileWebp::create, 5);
    registrar.registerSourceGeneric(ImageSourceFileTiff::create, 6);
    registrar.registerSourceGeneric(ImageSourceFileJxr::create, 7);
    registrar.registerSourceGeneric(ImageSourceFileBmp::create, 8);
    registrar.registerSourceGeneric(ImageSourceFilePnm::create, 9);
    registrar.registerSourceGeneric(ImageSourceFileQoi::create, 10);
    registrar.registerSourceGeneric(ImageSourceFileIff::create, 11);
    registrar.registerSourceGeneric(ImageSourceFileAseprite::create, 12);
    registrar.registerSourceGeneric(ImageSourceFileIco::create, 13);
    registrar.registerSourceGeneric(ImageSourceFilePcx::create, 14);
    registrar.registerSourceGeneric(ImageSourceFileStb::create, 15);
    registrar.registerSourceGeneric(ImageSourceFileTga::create, 16);

    // Each extension with priority 2 and its canonical extension as the extension data.
    registrar.registerTargetType("png", ImageTargetFilePng::create, 2, "png");
    registrar.registerTargetType("tif", ImageTargetFileTiff::create, 2, "tif");
    registrar.registerTargetType("tiff", ImageTargetFileTiff::create, 2, "tif");
    registrar.registerTargetType("jpg", ImageTargetFileJpeg::create, 2, "jpg");
    registrar.registerTargetType("jpeg", ImageTargetFileJpeg::create, 2, "jpg");
    registrar.registerTargetType("jpe", ImageTargetFileJpeg::create, 2, "jpg");
    registrar.registerTargetType("bmp", ImageTargetFileBmp::create, 2, "bmp");
    registrar.registerTargetType("gif", ImageTargetFileGif::create, 2, "gif");
    registrar.registerTargetType("wmp", ImageTargetFileJxr::create, 2, "wmp");
    registrar.registerTargetType("webp", ImageTargetFileWebp::create, 2, "webp");
}

}  // namespace

ImageIoRegistrar::Inst& builtInCodecs() {
    // Built on first use rather than by static initialisers, which a static library's linker
    // drops when nothing refers to their object files; the function-local static also makes the
    // first use thread-safe.
    static ImageIoRegistrar::Inst* instance = [] {
        // Lives for the process, past every static destructor.
        auto* inst = new ImageIoRegistrar::Inst();
        registerBuiltInCodecs(*inst);
        return inst;
    }();
    return *instance;
}

std::vector<std::string> builtInReadExtensions() {
    return {"ase", "aseprite", "bmp", "cur", "dib", "gif", "hdp",  "ico", "iff",  "ilbm",
            "jpe", "jpeg",     "jpg", "jxr", "lbm", "pam", "pbm",  "pcx", "pgm",  "png",
            "pnm", "ppm",      "psd", "qoi", "tga", "tif", "tiff", "wdp", "webp", "wmp"};
}

std::vector<std::string> builtInReadableFormats() {
    return {"PNG", "JPEG", "GIF", "WebP", "TIFF", "JPEG XR", "BMP", "QOI",     "ILBM",
            "PBM", "ICO",  "CUR", "PCX",  "TGA",  "PNM",     "PSD", "Aseprite"};
}

bool isBuiltInReadExtension(const std::string& extension) {
    const std::vector<std::string> extensions = builtInReadExtensions();
    return std::binary_search(extensions.begin(), extensions.end(), toLowerAscii(extension));
}

}  // namespace loom
