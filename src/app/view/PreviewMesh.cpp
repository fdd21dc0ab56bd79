#include "app/view/PreviewMesh.h"

#include <cmath>

#include "warp/SquareToQuad.h"
#include "warp/TransformCatalogue.h"
#include "warp/WarpQuad.h"

namespace loom::app {

namespace {

// Where (s, t) of the unit square lies on the bilinear patch of the corners.
Vec2f patchPoint(const std::array<Vec2f, 4>& c, float s, float t) {
    return (c[0] * (1.0f - s) + c[1] * s) * (1.0f - t) + (c[3] * (1.0f - s) + c[2] * s) * t;
}

gl::MeshVertex vertex(Vec2f position, float s, float t, float q = 1.0f) {
    return {position, {s * q, t * q, 0.0f, q}};
}

std::vector<gl::MeshVertex> projectiveMesh(const std::array<Vec2f, 4>& corners) {
    // The square's corner i lands on the quad's corner i with weight W_i; texture coordinates
    // (s, t, 1) / W_i interpolate linearly across the window, and their ratio is the inverse map.
    const Homography h = squareToQuadPrecise(makeWarpQuad(corners));
    static constexpr float square[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    gl::MeshVertex v[4];
    for (int i = 0; i < 4; ++i) {
        const double w = h.applyW(square[i][0], square[i][1]);
        // A weight of zero or of another sign sends part of the square to infinity.
        if (!(w > 0.0) || !std::isfinite(w)) return {};
        v[i] = vertex(corners[size_t(i)], square[i][0], square[i][1], float(1.0 / w));
    }
    return {v[0], v[1], v[2], v[0], v[2], v[3]};
}

std::vector<gl::MeshVertex> bilinearMesh(const std::array<Vec2f, 4>& corners) {
    const int n = BILINEAR_PREVIEW_CELLS;
    std::vector<gl::MeshVertex> triangles;
    triangles.reserve(size_t(n * n * 6));
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const float s0 = float(i) / float(n), s1 = float(i + 1) / float(n);
            const float t0 = float(j) / float(n), t1 = float(j + 1) / float(n);
            const gl::MeshVertex a = vertex(patchPoint(corners, s0, t0), s0, t0);
            const gl::MeshVertex b = vertex(patchPoint(corners, s1, t0), s1, t0);
            const gl::MeshVertex c = vertex(patchPoint(corners, s1, t1), s1, t1);
            const gl::MeshVertex d = vertex(patchPoint(corners, s0, t1), s0, t1);
            triangles.insert(triangles.end(), {a, b, c, a, c, d});
        }
    }
    return triangles;
}

}  // namespace

std::vector<gl::MeshVertex> previewMesh(int transformId, const std::array<Vec2f, 4>& corners) {
    switch (transformId) {
        case TRANSFORM_PROJECTIVE: return projectiveMesh(corners);
        case TRANSFORM_BILINEAR: return bilinearMesh(corners);
        default: return {};
    }
}

}  // namespace loom::app
