#include "cli/InputFiles.h"

#include <algorithm>
#include <filesystem>

#include "io/Paths.h"
#include "io/codec/BuiltInCodecs.h"

namespace loom::cli {

namespace {

namespace fs = std::filesystem;

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
        const std::string name = entry.filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code ignored;
        if (fs::is_directory(entry, ignored)) {
            if (recursive && !fs::is_symlink(entry, ignored)) subfolders.push_back(entry);
        } else if (fs::is_regular_file(entry, ignored) &&
                   isBuiltInReadExtension(getPathExtension(name))) {
            files.push_back({entry.string(), subfolder, {}});
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

std::vector<InputFile> listInputFiles(const std::vector<std::string>& inputs, bool recursive) {
    std::vector<InputFile> files;
    for (const std::string& input : inputs) {
        if (isInputFolder(input))
            addFolder(input, {}, recursive, files);
        else
            files.push_back({input, {}, {}});
    }
    return files;
}

}  // namespace loom::cli
