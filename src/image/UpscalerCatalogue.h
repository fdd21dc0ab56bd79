// The upscaling modes the tool offers, by id. The names are what the user sees on the panel and
// what a saved file's default name carries; the recipes are what the fast and the reference
// upscalers both run, so a new mode is a new row here (and its kernel or pass, if new).
#pragma once

#include <string>
#include <vector>

#include "image/UpscaleRecipe.h"

namespace loom {

struct UpscalerInfo {
    int id;
    std::string name;
    int factor;  // output side / source side: the product of the recipe's kernel factors
    std::vector<UpscaleStage> recipe;  // run in order; none: every pixel becomes a plain block
};

// The modes the panel offers, ids from 0, in order: a mode's id is its index.
const std::vector<UpscalerInfo>& upscalerCatalogue();

// Plain blocks of any size from 2 to MAX_NEAREST_FACTOR, for the command line: "Nearest2x" to
// "Nearest16x"; those the catalogue holds have its ids, the others ids after its last.
constexpr int MAX_NEAREST_FACTOR = 16;

// The mode with this id (the catalogue's or a plain-block size's); throws std::invalid_argument
// when there is none.
const UpscalerInfo& upscalerById(int id);

// The mode that makes every pixel a plain factor x factor block ("None" for 1).
int plainBlocksUpscaler(int factor);

// The id of the mode with this name (exact match first, then ignoring case), or -1.
int findUpscaler(const std::string& name);

}  // namespace loom
