// MMPX 2x, the reference: the rule list followed line by line on a 7 x 7 window around each source
// pixel E (ReferenceKernelLoop.h), every rule in its order, each condition as written. Names:
//                P
//           A    B    C
//      Q    D    E    F    R
//           G    H    I
//                S
// at(dx, dy) reads any other pixel of the window; the output block is
//   J K
//   L M
// "Same colour" is the match's equality and the brightness key MmpxBrightness.h.
#include <initializer_list>

#include "image/MmpxBrightness.h"
#include "image/ReferenceKernelLoop.h"
#include "image/UpscaleReference.h"

namespace loom {

void mmpx2xReference(const Surface& source, const Surface& output, PixelMatch match) {
    const PixelEquals same(match);
    runKernelLoop(source, output, 2, 3, [same](PixelWindow& in, PixelWindow& out) {
        const auto at = [&](int dx, int dy) { return in.cell(3 + dx, 3 + dy); };
        const uint32_t P = at(0, -2), A = at(-1, -1), B = at(0, -1), C = at(1, -1), Q = at(-2, 0);
        const uint32_t D = at(-1, 0), E = at(0, 0), F = at(1, 0), R = at(2, 0), G = at(-1, 1);
        const uint32_t H = at(0, 1), I = at(1, 1), S = at(0, 2);
        const auto lum = [same](uint32_t p) { return mmpxBrightness(p, same); };
        const uint32_t lB = lum(B), lD = lum(D), lE = lum(E), lF = lum(F), lH = lum(H);
        const auto eq = [same](uint32_t x, uint32_t y) { return same(x, y); };
        const auto ne = [same](uint32_t x, uint32_t y) { return !same(x, y); };
        const auto all = [same](uint32_t x, std::initializer_list<uint32_t> others) {
            for (uint32_t o : others)
                if (!same(x, o)) return false;
            return true;
        };
        const auto anyOf = [same](uint32_t x, std::initializer_list<uint32_t> others) {
            for (uint32_t o : others)
                if (same(x, o)) return true;
            return false;
        };

        uint32_t J = E, K = E, L = E, M = E;

        // Stage 1: corners on 1:1 diagonals.
        if (eq(D, B) && ne(D, H) && ne(D, F) && (lE >= lD || eq(E, A)) && anyOf(E, {A, C, G}) &&
            (lE < lD || ne(A, D) || ne(P, E) || ne(Q, E)))
            J = D;
        if (eq(B, F) && ne(B, D) && ne(B, H) && (lE >= lB || eq(E, C)) && anyOf(E, {A, C, I}) &&
            (lE < lB || ne(C, B) || ne(P, E) || ne(R, E)))
            K = B;
        if (eq(H, D) && ne(H, F) && ne(H, B) && (lE >= lH || eq(E, G)) && anyOf(E, {A, G, I}) &&
            (lE < lH || ne(G, H) || ne(S, E) || ne(Q, E)))
            L = H;
        if (eq(F, H) && ne(F, B) && ne(F, D) && (lE >= lF || eq(E, I)) && anyOf(E, {C, G, I}) &&
            (lE < lF || ne(I, H) || ne(R, E) || ne(S, E)))
            M = F;

        // Stage 2: intersections and line tips.
        if (ne(E, F) && all(E, {C, I, D, Q}) && all(B, {H, F}) && ne(at(3, 0), F)) K = M = F;
        if (ne(E, D) && all(E, {A, G, F, R}) && all(B, {H, D}) && ne(at(-3, 0), D)) J = L = D;
        if (ne(E, H) && all(E, {G, I, B, P}) && all(D, {F, H}) && ne(at(0, 3), H)) L = M = H;
        if (ne(E, B) && all(E, {A, C, H, S}) && all(D, {F, B}) && ne(at(0, -3), B)) J = K = B;
        if (lB < lE && all(E, {G, H, I, S}) && !anyOf(E, {A, C, D, F})) J = K = B;
        if (lH < lE && all(E, {A, B, C, P}) && !anyOf(E, {D, F, G, I})) L = M = H;
        if (lF < lE && all(E, {A, D, G, Q}) && !anyOf(E, {B, C, H, I})) K = M = F;
        if (lD < lE && all(E, {C, F, I, R}) && !anyOf(E, {A, B, G, H})) J = L = D;

        // Stage 3: 2:1 slopes, each copying the current value of another pixel of the block.
        if (ne(H, B)) {
            if (!anyOf(H, {A, E, C})) {
                if (all(H, {G, F, R}) && !anyOf(H, {D, at(2, -1)})) L = M;
                if (all(H, {I, D, Q}) && !anyOf(H, {F, at(-2, -1)})) M = L;
            }
            if (!anyOf(B, {G, E, I})) {
                if (all(B, {A, F, R}) && !anyOf(B, {D, at(2, 1)})) J = K;
                if (all(B, {C, D, Q}) && !anyOf(B, {F, at(-2, 1)})) K = J;
            }
        }
        if (ne(F, D)) {
            if (!anyOf(D, {C, E, I})) {
                if (all(D, {A, H, S}) && !anyOf(D, {B, at(1, 2)})) J = L;
                if (all(D, {G, B, P}) && !anyOf(D, {H, at(1, -2)})) L = J;
            }
            if (!anyOf(F, {A, E, G})) {
                if (all(F, {C, H, S}) && !anyOf(F, {B, at(-1, 2)})) K = M;
                if (all(F, {I, B, P}) && !anyOf(F, {H, at(-1, -2)})) M = K;
            }
        }

        out.cell(0, 0) = J, out.cell(1, 0) = K, out.cell(0, 1) = L, out.cell(1, 1) = M;
    });
}

}  // namespace loom
