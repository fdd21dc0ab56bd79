#include "io/ImageIoRegistrar.h"

#include <exception>

#include "io/ImageIoExc.h"

namespace loom {

std::string toLowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

void ImageIoRegistrar::Inst::registerSourceGeneric(SourceCreationFunc create, int32_t priority) {
    sources_.emplace(priority, std::move(create));
}

void ImageIoRegistrar::Inst::registerTargetType(std::string extension, TargetCreationFunc create,
                                                int32_t priority, std::string extensionData) {
    targets_[toLowerAscii(std::move(extension))].emplace(
        priority, std::make_pair(std::move(create), std::move(extensionData)));
}

ImageSourceRef ImageIoRegistrar::Inst::createSource(DataSourceRef dataSource,
                                                    ImageSource::Options options) const {
    // A source that recognised the data but failed on it explains the failure better than the
    // others' "not my format".
    std::string reason;
    for (const auto& entry : sources_) {
        try {
            if (ImageSourceRef source = entry.second(dataSource, options)) return source;
        } catch (const ImageIoNotThisFormatExc&) {
        } catch (const std::exception& e) {
            if (reason.empty()) reason = e.what();
        } catch (...) {
            if (reason.empty()) reason = "the decoder failed";
        }
    }
    if (reason.empty()) {
        const bool empty = dataSource && [&] {
            try {
                return dataSource->getBuffer().getDataSize() == 0;
            } catch (const std::exception&) {
                return false;
            }
        }();
        reason = empty ? "the file is empty" : "not an image in a known format";
    }
    throw ImageIoFailedLoadExc(reason);
}

ImageTargetRef ImageIoRegistrar::Inst::createTarget(DataTargetRef dataTarget, ImageSourceRef source,
                                                    ImageTarget::Options options,
                                                    std::string extension) const {
    const auto byExtension = targets_.find(toLowerAscii(std::move(extension)));
    if (byExtension == targets_.end() || byExtension->second.empty()) return nullptr;
    const auto& first = byExtension->second.begin()->second;
    return first.first(std::move(dataTarget), std::move(source), options, first.second);
}

bool ImageIoRegistrar::Inst::hasTarget(std::string extension) const {
    return targets_.count(toLowerAscii(std::move(extension))) != 0;
}

std::vector<std::string> ImageIoRegistrar::Inst::getWriteExtensions() const {
    std::vector<std::string> extensions;
    for (const auto& entry : targets_) extensions.push_back(entry.first);
    return extensions;
}

}  // namespace loom
