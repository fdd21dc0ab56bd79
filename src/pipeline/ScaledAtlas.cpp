#include "pipeline/ScaledAtlas.h"

#include <cstdint>
#include <filesystem>
#include <limits>

#include "pipeline/Atlas.h"

namespace loom {

namespace {

using Json = nlohmann::ordered_json;

void multiply(Json& value, int factor, const std::string& where) {
    // The JSON reader keeps numbers of 0 and more unsigned.
    if (value.is_number_unsigned()) {
        const uint64_t n = value.get<uint64_t>();
        if (n > std::numeric_limits<uint64_t>::max() / uint64_t(factor))
            throw AtlasExc(where + " is too large to scale");
        value = n * uint64_t(factor);
    } else if (value.is_number_integer()) {
        const int64_t n = value.get<int64_t>();
        if (n < std::numeric_limits<int64_t>::min() / factor)
            throw AtlasExc(where + " is too large to scale");
        value = n * factor;
    } else if (value.is_number_float()) {
        value = value.get<double>() * factor;
    } else {
        throw AtlasExc(where + " is not a number");
    }
}

// Multiplies the object's fields among keys that it has; an object that is absent is left alone.
void scaleFields(Json& parent, const char* name, std::initializer_list<const char*> keys, int factor,
                 const std::string& where) {
    const auto object = parent.find(name);
    if (object == parent.end()) return;
    if (!object->is_object()) throw AtlasExc(where + " " + name + " is not an object");
    for (const char* key : keys) {
        const auto field = object->find(key);
        if (field != object->end()) multiply(*field, factor, where + " " + name + "." + key);
    }
}

void scaleFrame(Json& frame, int factor, const std::string& where) {
    scaleFields(frame, "frame", {"x", "y", "w", "h"}, factor, where);
    scaleFields(frame, "spriteSourceSize", {"x", "y", "w", "h"}, factor, where);
    scaleFields(frame, "sourceSize", {"w", "h"}, factor, where);
}

void scaleSlices(Json& slices, int factor) {
    if (!slices.is_array()) throw AtlasExc("meta slices is not an array");
    for (Json& slice : slices) {
        const auto keys = slice.is_object() ? slice.find("keys") : slice.end();
        if (!slice.is_object() || keys == slice.end()) continue;
        if (!keys->is_array()) throw AtlasExc("a slice's keys are not an array");
        for (Json& key : *keys) {
            if (!key.is_object()) throw AtlasExc("a slice key is not an object");
            scaleFields(key, "bounds", {"x", "y", "w", "h"}, factor, "slice key");
            scaleFields(key, "center", {"x", "y", "w", "h"}, factor, "slice key");
            scaleFields(key, "pivot", {"x", "y"}, factor, "slice key");
        }
    }
}

}  // namespace

Json scaledAtlas(const Json& document, int factor, const std::string& imageName) {
    Json scaled = document;
    if (!scaled.contains("frames")) throw AtlasExc("not an atlas: no \"frames\"");
    Json& frames = scaled["frames"];
    if (frames.is_object()) {
        for (auto& [name, frame] : frames.items()) scaleFrame(frame, factor, "frame \"" + name + "\"");
    } else {
        for (Json& frame : frames) {
            const auto name = frame.is_object() ? frame.find("filename") : frame.end();
            const bool named = frame.is_object() && name != frame.end() && name->is_string();
            scaleFrame(frame, factor, named ? "frame \"" + name->get<std::string>() + "\"" : "a frame");
        }
    }
    const auto meta = scaled.find("meta");
    if (meta == scaled.end() || !meta->is_object()) return scaled;
    const auto image = meta->find("image");
    if (image != meta->end()) *image = imageName;
    scaleFields(*meta, "size", {"w", "h"}, factor, "meta");
    const auto slices = meta->find("slices");
    if (slices != meta->end()) scaleSlices(*slices, factor);
    return scaled;
}

std::string atlasPathFor(const std::string& resultPath) {
    return std::filesystem::path(resultPath).replace_extension(".json").string();
}

}  // namespace loom
