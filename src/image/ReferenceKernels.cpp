// The kernel loop: a 3 x 3 input window around each source pixel E and a k x k output window on
// the block E produces, both moving in raster order. Neighbours are named
//   A B C
//   D E F
//   G H I
#include "image/PixelWindow.h"
#include "image/UpscaleReference.h"

namespace loom {

namespace {

template <class Kernel>
void runKernelLoop(const Surface& source, const Surface& output, int factor, Kernel kernel) {
    PixelWindow in(source, 3, 3, 1, 1);
    PixelWindow out(output, factor, factor, 0, 0);
    if (!in.isValid()) return;  // an empty source: nothing is read or written
    do {
        in.load(1);
        kernel(in, out);
    } while (out.store(factor));
}

struct Neighbours {
    uint32_t a, b, c, d, e, f, g, h, i;
    explicit Neighbours(PixelWindow& w)
        : a(w.cell(0, 0)), b(w.cell(1, 0)), c(w.cell(2, 0)), d(w.cell(0, 1)), e(w.cell(1, 1)),
          f(w.cell(2, 1)), g(w.cell(0, 2)), h(w.cell(1, 2)), i(w.cell(2, 2)) {}
};

}  // namespace

void scale2xReference(const Surface& source, const Surface& output) {
    runKernelLoop(source, output, 2, [](PixelWindow& in, PixelWindow& out) {
        const Neighbours n(in);
        const bool active = n.b != n.h && n.d != n.f;
        out.cell(0, 0) = active && n.d == n.b ? n.d : n.e;
        out.cell(1, 0) = active && n.b == n.f ? n.f : n.e;
        out.cell(0, 1) = active && n.d == n.h ? n.d : n.e;
        out.cell(1, 1) = active && n.h == n.f ? n.f : n.e;
    });
}

void scale3xReference(const Surface& source, const Surface& output) {
    runKernelLoop(source, output, 3, [](PixelWindow& in, PixelWindow& out) {
        const Neighbours n(in);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) out.cell(i, j) = n.e;
        if (n.b == n.h || n.d == n.f) return;
        const bool db = n.d == n.b, bf = n.b == n.f, dh = n.d == n.h, hf = n.h == n.f;
        if (db) out.cell(0, 0) = n.d;
        if ((db && n.e != n.c) || (bf && n.e != n.a)) out.cell(1, 0) = n.b;
        if (bf) out.cell(2, 0) = n.f;
        if ((db && n.e != n.g) || (dh && n.e != n.a)) out.cell(0, 1) = n.d;
        if ((bf && n.e != n.i) || (hf && n.e != n.c)) out.cell(2, 1) = n.f;
        if (dh) out.cell(0, 2) = n.d;
        if ((dh && n.e != n.i) || (hf && n.e != n.g)) out.cell(1, 2) = n.h;
        if (hf) out.cell(2, 2) = n.f;
    });
}

void eagle2xReference(const Surface& source, const Surface& output) {
    runKernelLoop(source, output, 2, [](PixelWindow& in, PixelWindow& out) {
        const Neighbours n(in);
        out.cell(0, 0) = n.d == n.a && n.a == n.b ? n.a : n.e;
        out.cell(1, 0) = n.b == n.c && n.f == n.c ? n.c : n.e;
        out.cell(0, 1) = n.d == n.g && n.h == n.g ? n.g : n.e;
        out.cell(1, 1) = n.f == n.i && n.h == n.i ? n.i : n.e;
    });
}

void carryAlphaReference(const Surface& source, const Surface& output, int factor) {
    if (!output.hasAlpha()) return;
    SurfaceIter it = output.getIter();
    while (it.line()) {
        while (it.pixel()) {
            it.a() = source.hasAlpha()
                         ? source.getData(it.x() / factor, it.y() / factor)[source.getChannelOrder().alpha]
                         : 255;
        }
    }
}

}  // namespace loom
