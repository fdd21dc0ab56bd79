// Every implementation of each in-place pass, so that tests can run one example through all.
#pragma once

#include <vector>

#include "image/KernelPath.h"
#include "image/RefinePasses.h"
#include "image/RowPlane.h"
#include "image/Surface.h"
#include "image/UpscaleReference.h"

namespace loom::test {

enum class PassKind { IsolatedPixel, Diagonal2x, Corner3x, Diagonal3x };
constexpr PassKind ALL_PASSES[] = {PassKind::IsolatedPixel, PassKind::Diagonal2x, PassKind::Corner3x,
                                   PassKind::Diagonal3x};

struct PassImpl {
    const char* name;
    void (*run)(const Surface& rgba, PixelMatch match);
};

inline void (*referencePass(PassKind pass))(const Surface&, PixelMatch) {
    switch (pass) {
        case PassKind::IsolatedPixel: return isolatedPixelPassReference;
        case PassKind::Diagonal2x: return diagonal2xPassReference;
        case PassKind::Corner3x: return corner3xPassReference;
        default: return diagonal3xPassReference;
    }
}

template <RefinePass PASS, KernelPath PATH>
void fastPass(const Surface& rgba, PixelMatch match) {
    refinePlane(PASS, planeOf(rgba), PATH, PixelEquals(match));
}

template <RefinePass PASS>
void addFast(std::vector<PassImpl>& impls) {
    for (KernelPath path : availableKernelPaths()) {
        if (path == KernelPath::Scalar) impls.push_back({"scalar", fastPass<PASS, KernelPath::Scalar>});
        if (path == KernelPath::Avx2) impls.push_back({"avx2", fastPass<PASS, KernelPath::Avx2>});
    }
}

// The reference first, then every fast path this processor runs.
inline std::vector<PassImpl> passImpls(PassKind pass) {
    std::vector<PassImpl> impls = {{"reference", referencePass(pass)}};
    switch (pass) {
        case PassKind::IsolatedPixel: addFast<RefinePass::IsolatedPixel>(impls); break;
        case PassKind::Diagonal2x: addFast<RefinePass::Diagonal2x>(impls); break;
        case PassKind::Corner3x: addFast<RefinePass::Corner3x>(impls); break;
        case PassKind::Diagonal3x: addFast<RefinePass::Diagonal3x>(impls); break;
    }
    return impls;
}

}  // namespace loom::test
