#include "app/document/FolderPaging.h"

#include <algorithm>
#include <filesystem>

#include "cli/InputFiles.h"

namespace loom::app {

namespace {

namespace fs = std::filesystem;

std::string nameOf(const std::string& path) { return fs::path(path).filename().string(); }

}  // namespace

std::vector<std::string> pagingOrder(const std::string& shown, int step) {
    const fs::path folder = fs::path(shown).parent_path();
    std::vector<std::string> images;
    for (const cli::InputFile& file :
         cli::listInputFiles({folder.empty() ? "." : folder.string()}, false).files)
        if (file.inFolder) images.push_back(file.path);  // not the folder named when unreadable

    // Onwards: the names after shown's, then round to those before it. Backwards is the reverse.
    const std::string shownName = nameOf(shown);
    const auto after = std::partition_point(images.begin(), images.end(), [&](const std::string& path) {
        return nameOf(path) <= shownName;
    });
    std::vector<std::string> order(after, images.end());
    for (auto it = images.begin(); it != after; ++it)
        if (nameOf(*it) != shownName) order.push_back(*it);
    if (step < 0) std::reverse(order.begin(), order.end());
    return order;
}

}  // namespace loom::app
