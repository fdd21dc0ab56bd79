#include "app/document/FileStamp.h"

#include <filesystem>

namespace loom::app {

FileStamp FileStamp::of(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return {};
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return {};
    return {int64_t(size), int64_t(modified.time_since_epoch().count())};
}

}  // namespace loom::app
