// The name the save dialog proposes: the source file's name with the upscaler's name inserted
// before the file name's extension, so "hero.png" saved after Scale2x proposes "heroScale2x.png".
#pragma once

#include <string>

namespace loom {
namespace app {

// Only the last path element's last dot counts: a dot in a folder name ("/my.dir/picture") is not
// an extension, and a name without an extension gets the upscaler's name at its end.
std::string defaultSaveName(const std::string& sourcePath, const std::string& upscalerName);

}  // namespace app
}  // namespace loom
