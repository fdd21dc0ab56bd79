#include "io/Paths.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace loom {

bool createDirectories(const std::string& path) {
    if (path.empty()) return true;
    std::error_code error;
    return std::filesystem::create_directories(path, error) && !error;
}

std::string getPathDirectory(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string getPathExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && slash >= dot)) return {};
    return path.substr(dot + 1);
}

size_t findExtensionDot(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) return path.size();
    return dot;
}

std::string getCanonicalPath(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

std::string resolveSymlinks(const std::string& path) {
    // The limit the kernel itself puts on a chain of links (MAXSYMLINKS).
    constexpr int MAX_LINKS = 40;
    std::string resolved = path;
    for (int step = 0; step <= MAX_LINKS; ++step) {
        std::error_code notALink;
        const std::filesystem::path target = std::filesystem::read_symlink(resolved, notALink);
        if (notALink) return resolved;
        // Not normalised: ".." after a linked directory must go where the kernel takes it.
        resolved = target.is_absolute() ? target.string() : getPathDirectory(resolved) + target.string();
    }
    return {};
}

void deleteFile(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace loom
