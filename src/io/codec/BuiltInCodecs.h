// The codecs this build carries and the process-wide registrar that holds them. The registrar
// itself knows no codec; loading and writing files ask this one.
#pragma once

#include <string>
#include <vector>

#include "io/ImageIoRegistrar.h"

namespace loom {

// The process-wide registrations, made on first use with every built-in codec.
ImageIoRegistrar::Inst& builtInCodecs();
// The usual extensions of the files the built-in decoders read (lower case, no dot), for an open
// dialog's filter; loading itself goes by the content, never by the name.
std::vector<std::string> builtInReadExtensions();
// The names of the formats the built-in decoders read, for listings.
std::vector<std::string> builtInReadableFormats();
// Whether a file name's extension (any case, without the dot) is one the readable formats go by:
// how a folder's images are told from its other files without opening each.
bool isBuiltInReadExtension(const std::string& extension);

}  // namespace loom
