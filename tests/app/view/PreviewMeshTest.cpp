// The preview's triangles against the warps' own maps: a point of a triangle, found from the
// texture coordinates the GPU would interpolate there, maps back onto itself.
#include <gtest/gtest.h>

#include <array>

#include "app/view/PreviewMesh.h"
#include "warp/InverseBilinear.h"
#include "warp/SquareToQuad.h"
#include "warp/TransformCatalogue.h"
#include "warp/WarpQuad.h"

using loom::Vec2f;
using loom::app::previewMesh;

namespace {

// The texture point (s, t) the GPU shows at the barycentric weights of triangle `first`.
Vec2f texturePointAt(const std::vector<loom::gl::MeshVertex>& mesh, size_t first, const float (&b)[3],
                     Vec2f* position) {
    float s = 0, t = 0, q = 0;
    *position = Vec2f();
    for (size_t k = 0; k < 3; ++k) {
        const loom::gl::MeshVertex& v = mesh[first + k];
        s += b[k] * v.texCoord[0];
        t += b[k] * v.texCoord[1];
        q += b[k] * v.texCoord[3];
        *position += v.position * b[k];
    }
    return Vec2f(s / q, t / q);
}

const std::array<Vec2f, 4> kKite = {Vec2f(-10, -10), Vec2f(40, 2), Vec2f(35, 30), Vec2f(0, 25)};
const float kWeights[][3] = {{0.2f, 0.3f, 0.5f}, {0.6f, 0.2f, 0.2f}, {0.1f, 0.1f, 0.8f}};

}  // namespace

TEST(PreviewMesh, ProjectiveTrianglesShowTheHomographysPointEverywhere) {
    const auto mesh = previewMesh(loom::TRANSFORM_PROJECTIVE, kKite);
    ASSERT_EQ(mesh.size(), 6u);
    const loom::WarpQuad quad = loom::makeWarpQuad(kKite);
    const loom::Homography h = loom::squareToQuadPrecise(quad);
    for (size_t triangle = 0; triangle < mesh.size(); triangle += 3) {
        for (const auto& w : kWeights) {
            Vec2f p;
            const Vec2f st = texturePointAt(mesh, triangle, w, &p);
            const double W = h.applyW(st.x, st.y);
            EXPECT_NEAR(h.applyX(st.x, st.y) / W + quad.bounds.x1, p.x, 1e-3);
            EXPECT_NEAR(h.applyY(st.x, st.y) / W + quad.bounds.y1, p.y, 1e-3);
        }
    }
}

TEST(PreviewMesh, BilinearGridFollowsThePatchClosely) {
    const auto mesh = previewMesh(loom::TRANSFORM_BILINEAR, kKite);
    ASSERT_EQ(mesh.size(),
              size_t(loom::app::BILINEAR_PREVIEW_CELLS * loom::app::BILINEAR_PREVIEW_CELLS * 6));
    const loom::WarpQuad quad = loom::makeWarpQuad(kKite);
    for (size_t triangle = 0; triangle < mesh.size(); triangle += 3 * 97) {
        Vec2f p;
        const Vec2f st = texturePointAt(mesh, triangle, kWeights[0], &p);
        const auto exact = loom::inverseBilinear(quad, p.x - quad.bounds.x1, p.y - quad.bounds.y1);
        // Within a hundredth of a texture: under a pixel of a 64-pixel-wide result.
        EXPECT_NEAR(exact.s, st.x, 0.01);
        EXPECT_NEAR(exact.t, st.y, 0.01);
    }
}

TEST(PreviewMesh, NothingForNoTransformOrAQuadNoProjectiveMapReaches) {
    EXPECT_TRUE(previewMesh(loom::TRANSFORM_NONE, kKite).empty());
    // Corner 3 inside the triangle of the others.
    const std::array<Vec2f, 4> dart = {Vec2f(0, 0), Vec2f(10, 0), Vec2f(10, 10), Vec2f(7, 3)};
    EXPECT_TRUE(previewMesh(loom::TRANSFORM_PROJECTIVE, dart).empty());
}
