#include "app/SaveName.h"

namespace loom {
namespace app {

std::string defaultSaveName(const std::string& sourcePath, const std::string& upscalerName) {
    const size_t nameStart = sourcePath.find_last_of('/');
    const size_t fileStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = sourcePath.find_last_of('.');
    // A leading dot marks a hidden file ("/home/me/.sprite"), not an extension.
    if (dot == std::string::npos || dot <= fileStart) dot = sourcePath.size();
    std::string name = sourcePath;
    name.insert(dot, upscalerName);
    return name;
}

}  // namespace app
}  // namespace loom
