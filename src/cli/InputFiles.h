// The files a run converts, found from the inputs named on the command line.
#pragma once

#include <string>
#include <vector>

namespace loom::cli {

struct InputFile {
    std::string path;
    // The folder below the named input folder it was found in ("chars/"), so that a batch keeps
    // the layout under its output folder; "" for a file named itself.
    std::string subfolder;
    // Set when the entry is a folder that could not be read: the reason.
    std::string error;
    // Found in a named folder rather than named itself.
    bool inFolder = false;
};

struct InputList {
    std::vector<InputFile> files;
    // What the user should know about the folders: one without images of its own whose
    // subfolders hold some, when subfolders are not taken.
    std::vector<std::string> notes;
};

// Each input that is not a folder as it is (a missing file fails later, when it is read). For a
// folder, its images: regular files whose extension is a readable format's, in name order; with
// recursive, those of its subfolders too, after the folder's own. Hidden entries are passed over,
// and so are linked subfolders, which could lead back up the tree.
InputList listInputFiles(const std::vector<std::string>& inputs, bool recursive);

// Whether the input names a folder.
bool isInputFolder(const std::string& input);

}  // namespace loom::cli
