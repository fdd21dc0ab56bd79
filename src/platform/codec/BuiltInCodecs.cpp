// The codecs this build carries, registered with the image I/O registrar on its first use.
// Decoders are tried in ascending priority; each refuses foreign data by its signature at once.
#include "image/io/ImageIoRegistrar.h"
#include "platform/codec/ImageSourceFilePng.h"
#include "platform/codec/ImageTargetFilePng.h"

namespace loom {

void registerBuiltInCodecs(ImageIoRegistrar::Inst& registrar) {
    registrar.registerSourceGeneric(ImageSourceFilePng::create, 2);

    registrar.registerTargetType("png", ImageTargetFilePng::create, 2, "png");
}

std::vector<std::string> builtInReadableFormats() { return {"PNG"}; }

}  // namespace loom
