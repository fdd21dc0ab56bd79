// ImageIoRegistrar: finds a decoder for data by trying the registered sources in ascending
// priority, and an encoder for a file by its lower-cased extension and priority.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "io/DataSource.h"
#include "io/DataTarget.h"
#include "io/ImageSource.h"
#include "io/ImageTarget.h"

namespace loom {

class ImageIoRegistrar {
public:
    using SourceCreationFunc = std::function<ImageSourceRef(DataSourceRef, ImageSource::Options)>;
    using TargetCreationFunc = std::function<ImageTargetRef(
        DataTargetRef, ImageSourceRef, ImageTarget::Options, const std::string& extensionData)>;

    // One set of registrations. The process-wide one is builtInCodecs() (io/codec/BuiltInCodecs.h);
    // tests make their own.
    class Inst {
    public:
        // A second registration with an equal key is ignored.
        void registerSourceGeneric(SourceCreationFunc create, int32_t priority);
        void registerTargetType(std::string extension, TargetCreationFunc create, int32_t priority,
                                std::string extensionData);
        // The first source that accepts the data; ImageIoFailedLoadExc saying why when
        // none does.
        ImageSourceRef createSource(DataSourceRef dataSource, ImageSource::Options options) const;
        // The target of lowest priority for the extension (any case), or null when there is
        // none. Its creation's exceptions pass through.
        ImageTargetRef createTarget(DataTargetRef dataTarget, ImageSourceRef source,
                                    ImageTarget::Options options, std::string extension) const;
        bool hasTarget(std::string extension) const;
        // The writable extensions in ascending byte order.
        std::vector<std::string> getWriteExtensions() const;

    private:
        std::map<int32_t, SourceCreationFunc> sources_;
        std::map<std::string, std::map<int32_t, std::pair<TargetCreationFunc, std::string>>> targets_;
    };
};

// A to Z become a to z; other bytes stay.
std::string toLowerAscii(std::string text);

}  // namespace loom
