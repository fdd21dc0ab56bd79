// GifIndexedFrame: a picture as GIF holds it, at most 256 colours as palette indices, all fully
// transparent pixels one transparent colour. Rows arrive as 8-bit RGB or RGBA and are indexed as
// they come, so a picture GIF cannot hold is refused, with the reason, before anything is encoded.
// Given the source's colour table, the palette is that table, in its order, while it holds every
// colour; the first colour it lacks renumbers what was indexed by the colours used.
#pragma once

#include <vector>

#include "io/ImageSource.h"
#include "io/ImageTarget.h"
#include "io/codec/ColorPalette.h"

namespace loom {

class GifIndexedFrame : public ImageTarget {
public:
    // Takes source's size, and its rows as RGBA when it has alpha, as RGB otherwise.
    explicit GifIndexedFrame(const ImageSource& source, const Palette& table = {});

    // The row handed out before is indexed first; ImageIoFailedLoadExc when GIF cannot hold it.
    void* getRowPointer(int32_t row) override;
    // Indexes the last row handed out, with the same refusal.
    void finalize() override;

    const ColorPalette& getPalette() const { return palette_; }
    // The palette index of the transparent pixels, -1 when there are none.
    int getTransparentIndex() const;
    // Row `row` of indices. Writable because giflib's writer takes rows that way.
    uint8_t* getIndexRow(int32_t row) { return indices_.data() + size_t(row) * size_t(getWidth()); }

private:
    void indexStagedRow();
    // Renumbers the rows indexed so far by the colours they use, in order of appearance.
    void dropTable();

    ColorPalette palette_;
    int tableSize_ = 0;              // entries of the source's table while it is kept
    uint8_t hidden_[3] = {0, 0, 0};  // the colour transparent pixels take
    std::vector<bool> indexed_;      // the rows indexed so far
    std::vector<uint8_t> indices_;   // one byte a pixel; rows never delivered stay 0
    std::vector<uint8_t> staged_;    // the row being written
    int32_t stagedRow_ = -1;
};

}  // namespace loom
