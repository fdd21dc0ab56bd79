#include "cli/InputFiles.h"

#include <algorithm>
#include <filesystem>

#include "io/Paths.h"
#include "io/codec/BuiltInCodecs.h"

namespace loom::cli {

namespace {

namespace fs = std::filesystem;

bool isVisible(const fs::path& entry) {
    const std::string name = entry.filename().string();
    return !name.empty() && name[0] != '.';
}

bool isImageFile(const fs::path& entry) {
    std::error_code ignored;
    return fs::is_regular_file(entry, ignored) &&
           isBuiltInReadExtension(getPathExtension(entry.filename().string()));
}

// Whether some visible subfolder, at any depth, holds an image; links are not followed.
bool subfoldersHoldImages(const fs::path& folder) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (!isVisible(it->path())) {
            if (it->is_directory(error)) it.disable_recursion_pending();
            continue;
        }
        if (it.depth() > 0 && isImageFile(it->path())) return true;
    }
    return false;
}

void addFolder(const fs::path& folder, const std::string& subfolder, bool recursive,
               std::vector<InputFile>& files) {
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    if (error) {
        files.push_back({folder.string(), subfolder, "cannot read the folder: " + error.message()});
        return;
    }
    std::sort(entries.begin(), entries.end());
    std::vector<fs::path> subfolders;
    for (const fs::path& entry : entries) {
        if (!isVisible(entry)) continue;
        std::error_code ignored;
        if (fs::is_directory(entry, ignored)) {
            if (recursive && !fs::is_symlink(entry, ignored)) subfolders.push_back(entry);
        } else if (isImageFile(entry)) {
            files.push_back({entry.string(), subfolder, {}, true});
        }
    }
    for (const fs::path& sub : subfolders)
        addFolder(sub, subfolder + sub.filename().string() + "/", true, files);
}

}  // namespace

bool isInputFolder(const std::string& input) {
    std::error_code ignored;
    return fs::is_directory(input, ignored);
}

InputList listInputFiles(const std::vector<std::string>& inputs, bool recursive) {
    InputList list;
    for (const std::string& input : inputs) {
        if (!isInputFolder(input)) {
            list.files.push_back({input, {}, {}, false});
            continue;
        }
        const size_t before = list.files.size();
        addFolder(input, {}, recursive, list.files);
        if (!recursive && list.files.size() == before && subfoldersHoldImages(input))
            list.notes.push_back(input +
                                 " has no images of its own, but its subfolders hold some: "
                                 "add -r to take them");
    }
    return list;
}

}  // namespace loom::cli
