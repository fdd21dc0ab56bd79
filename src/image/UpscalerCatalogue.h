// The eight upscaling modes the tool offers, by id. The names are what the user sees on the panel
// and what a saved file's default name carries.
#pragma once

#include <string>
#include <vector>

namespace loom {

struct UpscalerInfo {
    int id;
    const char* name;
    int factor;  // output side / source side
};

// Ids 0 to 7 in order.
const std::vector<UpscalerInfo>& upscalerCatalogue();

// The id of the mode with this name (exact match first, then ignoring case), or -1.
int findUpscaler(const std::string& name);

}  // namespace loom
