#include "io/ImageFile.h"

#include "io/Paths.h"
#include "io/codec/BuiltInCodecs.h"

namespace loom {

namespace {

std::string extensionFor(const DataTargetRef& dataTarget, const std::string& extension) {
    return extension.empty() ? getPathExtension(dataTarget->getFilePath()) : extension;
}

[[noreturn]] void throwUnknownExtension(const std::string& extension) {
    throw ImageIoUnknownExtensionExc(extension.empty()
                                         ? "no file extension to choose the image format by"
                                         : "cannot write images of type \"" + extension + "\"");
}

}  // namespace

ImageSourceRef loadImage(const std::string& path, ImageSource::Options options) {
    return loadImage(openFileSource(path), options);
}

ImageSourceRef loadImage(DataSourceRef dataSource, ImageSource::Options options) {
    return builtInCodecs().createSource(std::move(dataSource), options);
}

void writeImage(const std::string& path, ImageSourceRef source, ImageTarget::Options options,
                const std::string& extension) {
    // Nothing, not even a parent directory, is made for a format that cannot be written.
    const std::string chosen = extension.empty() ? getPathExtension(path) : extension;
    if (!builtInCodecs().hasTarget(chosen)) throwUnknownExtension(chosen);
    writeImage(openFileTarget(path, false), std::move(source), options, chosen);
}

void writeImage(DataTargetRef dataTarget, ImageSourceRef source, ImageTarget::Options options,
                const std::string& extension) {
    if (!source) throw ImageIoExc("there is no image to write");
    // Refused here, before any encoder runs or a byte is written: the codecs fail on empty images
    // each in its own words, and some write files that cannot be read back.
    if (source->getWidth() <= 0 || source->getHeight() <= 0)
        throw ImageIoExc("cannot write an empty image (" + std::to_string(source->getWidth()) + " x " +
                         std::to_string(source->getHeight()) + " pixels)");
    const std::string chosen = extensionFor(dataTarget, extension);
    ImageTargetRef target = builtInCodecs().createTarget(dataTarget, source, options, chosen);
    if (!target) throwUnknownExtension(chosen);
    if (target->wantsRowsPushed()) source->load(target);
    target->finalize();
    dataTarget->commit();
}

std::vector<std::string> getWriteExtensions() { return builtInCodecs().getWriteExtensions(); }

}  // namespace loom
