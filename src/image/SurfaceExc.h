// Exceptions for consumers that need a surface of a particular shape. The surface itself raises
// neither.
#pragma once

#include "base/Exception.h"

namespace loom {

class SurfaceExc : public Exception {
public:
    const char* what() const noexcept override { return "Surface exception"; }
};

class SurfaceConstraintsExc : public SurfaceExc {
public:
    const char* what() const noexcept override {
        return "Surface exception: does not conform to expected SurfaceConstraints";
    }
};

}  // namespace loom
