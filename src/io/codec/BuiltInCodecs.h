// The codecs this build carries and the process-wide registrar that holds them. The registrar
// itself knows no codec; loading and writing files ask this one.
#pragma once

#include <string>
#include <vector>

#include "io/ImageIoRegistrar.h"

namespace loom {

// The process-wide registrations, made on first use with every built-in codec.
ImageIoRegistrar::Inst& builtInCodecs();
// The names of the formats the built-in decoders read, for listings.
std::vector<std::string> builtInReadableFormats();

}  // namespace loom
