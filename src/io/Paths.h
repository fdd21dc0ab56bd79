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
// The path with its "." and ".." elements resolved lexically (the file system is not asked).
std::string getCanonicalPath(const std::string& path);
// Where writing to path lands: symbolic links at its last element are followed, relative ones from
// the link's directory, to the path the chain ends at (which need not exist). path itself when it
// is not a link; "" when the chain loops or is too long to follow.
std::string resolveSymlinks(const std::string& path);
// Deletes the file; a failure is not reported.
void deleteFile(const std::string& path);

}  // namespace loom
