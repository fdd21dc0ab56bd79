// Path helpers on '/'-separated UTF-8 paths.
#pragma once

#include <cstddef>
#include <string>

namespace loom {

// True when path is empty or the directory chain was created; false when it already existed or
// could not be made.
bool createDirectories(const std::string& path);
// The part up to and including the last '/', or "" when there is none.
std::string getPathDirectory(const std::string& path);
// The part after the last dot of the last path element, or "" when that element has no dot.
std::string getPathExtension(const std::string& path);
// Where the file name's extension starts (its dot), or path.size() when it has none. Only the last
// element's last dot counts, and a leading dot marks a hidden file ("/home/me/.sprite"), not an
// extension.
size_t findExtensionDot(const std::string& path);
// path with text inserted before its file name's extension, or appended when there is none:
// "/pics/hero.png" and "Scale2x" give "/pics/heroScale2x.png", "/my.dir/picture" gives
// "/my.dir/pictureScale2x".
std::string insertBeforeExtension(const std::string& path, const std::string& text);
// The path with its "." and ".." elements resolved lexically (the file system is not asked).
std::string getCanonicalPath(const std::string& path);
// Deletes the file; a failure is not reported.
void deleteFile(const std::string& path);

}  // namespace loom
