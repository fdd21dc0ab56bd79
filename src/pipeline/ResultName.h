// resultNameFor(): the name of a result beside its source, as the tool writes it and the
// application proposes it when saving.
#pragma once

#include <string>

namespace loom {

// The source's name with the upscaler's name inserted before its extension (hero.png with Scale2x
// gives heroScale2x.png). Only the file name's last dot starts an extension, and a leading dot
// marks a hidden file. When no writer takes the extension (or there is none) the result is a PNG:
// hero.psd gives heroScale2x.png.
std::string resultNameFor(const std::string& sourcePath, const std::string& upscalerName);

}  // namespace loom
