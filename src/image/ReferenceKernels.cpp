// The classic kernels on a 3 x 3 input window around each source pixel E (ReferenceKernelLoop.h).
// Neighbours are named
//   A B C
//   D E F
//   G H I
#include "image/PackedPixel.h"
#include "image/PixelWindow.h"
#include "image/ReferenceKernelLoop.h"
#include "image/UpscaleReference.h"

namespace loom {

namespace {

struct Neighbours {
    uint32_t a, b, c, d, e, f, g, h, i;
    explicit Neighbours(PixelWindow& w)
        : a(w.cell(0, 0)),
          b(w.cell(1, 0)),
          c(w.cell(2, 0)),
          d(w.cell(0, 1)),
          e(w.cell(1, 1)),
          f(w.cell(2, 1)),
          g(w.cell(0, 2)),
          h(w.cell(1, 2)),
          i(w.cell(2, 2)) {}
};

}  // namespace

void scale2xReference(const Surface& source, const Surface& output, PixelMatch match) {
    runKernelLoop(source, output, 2, 1, [same = PixelEquals(match)](PixelWindow& in, PixelWindow& out) {
        const Neighbours n(in);
        const bool active = !same(n.b, n.h) && !same(n.d, n.f);
        out.cell(0, 0) = active && same(n.d, n.b) ? n.d : n.e;
        out.cell(1, 0) = active && same(n.b, n.f) ? n.f : n.e;
        out.cell(0, 1) = active && same(n.d, n.h) ? n.d : n.e;
        out.cell(1, 1) = active && same(n.h, n.f) ? n.f : n.e;
    });
}

void scale3xReference(const Surface& source, const Surface& output, PixelMatch match) {
    runKernelLoop(source, output, 3, 1, [same = PixelEquals(match)](PixelWindow& in, PixelWindow& out) {
        const Neighbours n(in);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) out.cell(i, j) = n.e;
        if (same(n.b, n.h) || same(n.d, n.f)) return;
        const bool db = same(n.d, n.b), bf = same(n.b, n.f), dh = same(n.d, n.h), hf = same(n.h, n.f);
        if (db) out.cell(0, 0) = n.d;
        if ((db && !same(n.e, n.c)) || (bf && !same(n.e, n.a))) out.cell(1, 0) = n.b;
        if (bf) out.cell(2, 0) = n.f;
        if ((db && !same(n.e, n.g)) || (dh && !same(n.e, n.a))) out.cell(0, 1) = n.d;
        if ((bf && !same(n.e, n.i)) || (hf && !same(n.e, n.c))) out.cell(2, 1) = n.f;
        if (dh) out.cell(0, 2) = n.d;
        if ((dh && !same(n.e, n.i)) || (hf && !same(n.e, n.g))) out.cell(1, 2) = n.h;
        if (hf) out.cell(2, 2) = n.f;
    });
}

void eagle2xReference(const Surface& source, const Surface& output, PixelMatch match) {
    runKernelLoop(source, output, 2, 1, [same = PixelEquals(match)](PixelWindow& in, PixelWindow& out) {
        const Neighbours n(in);
        out.cell(0, 0) = same(n.d, n.a) && same(n.a, n.b) ? n.a : n.e;
        out.cell(1, 0) = same(n.b, n.c) && same(n.f, n.c) ? n.c : n.e;
        out.cell(0, 1) = same(n.d, n.g) && same(n.h, n.g) ? n.g : n.e;
        out.cell(1, 1) = same(n.f, n.i) && same(n.h, n.i) ? n.i : n.e;
    });
}

}  // namespace loom
