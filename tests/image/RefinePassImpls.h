// Every implementation of each in-place pass, so that tests can run one example through all.
#pragma once

#include <vector>

#include "image/Surface.h"
#include "image/UpscaleReference.h"

namespace loom::test {

enum class PassKind { IsolatedPixel, Diagonal2x, Corner3x, Diagonal3x };
constexpr PassKind ALL_PASSES[] = {PassKind::IsolatedPixel, PassKind::Diagonal2x,
                                   PassKind::Corner3x, PassKind::Diagonal3x};

struct PassImpl {
    const char* name;
    void (*run)(const Surface& rgba);
};

inline void (*referencePass(PassKind pass))(const Surface&) {
    switch (pass) {
    case PassKind::IsolatedPixel: return isolatedPixelPassReference;
    case PassKind::Diagonal2x: return diagonal2xPassReference;
    case PassKind::Corner3x: return corner3xPassReference;
    default: return diagonal3xPassReference;
    }
}

inline std::vector<PassImpl> passImpls(PassKind pass) {
    return {{"reference", referencePass(pass)}};
}

}  // namespace loom::test
