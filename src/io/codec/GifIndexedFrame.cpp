#include "io/codec/GifIndexedFrame.h"

#include <algorithm>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"

namespace loom {

GifIndexedFrame::GifIndexedFrame(const ImageSource& source, const Palette& table)
    : palette_(table), tableSize_(palette_.size()) {
    if (!withinImageLimits(source.getWidth(), source.getHeight()))
        throw ImageIoFailedLoadExc(ImageTooLargeExc(source.getWidth(), source.getHeight()).what());
    setSize(source.getWidth(), source.getHeight());
    setColorModel(RGB);
    setDataType(UINT8);
    setSampleOrder(source.hasAlpha() ? RGBA : RGB_ORDER);
    indices_.assign(size_t(getWidth()) * size_t(getHeight()), 0);
    staged_.resize(size_t(getWidth()) * size_t(channelsOf(getSampleOrder())));
    indexed_.assign(size_t(getHeight()), false);
    // Transparent pixels take the table's transparent colour, so that they find it.
    for (const auto& entry : table)
        if (entry[3] == 0) {
            std::copy(entry.begin(), entry.begin() + 3, hidden_);
            break;
        }
}

void* GifIndexedFrame::getRowPointer(int32_t row) {
    indexStagedRow();
    stagedRow_ = row;
    return staged_.data();
}

void GifIndexedFrame::finalize() { indexStagedRow(); }

void GifIndexedFrame::indexStagedRow() {
    if (stagedRow_ < 0) return;
    const int channels = channelsOf(getSampleOrder());
    if (channels == 4)
        for (size_t i = 0; i < staged_.size(); i += 4) {
            uint8_t* pixel = &staged_[i];
            if (pixel[3] == 0)
                std::copy(hidden_, hidden_ + 3, pixel);  // one transparent colour, whatever it hid
            else if (pixel[3] != 255)
                throw ImageIoFailedLoadExc(
                    "GIF cannot hold partly transparent pixels (alpha between 0 and 255); save as "
                    "PNG instead");
        }
    uint8_t* indices = getIndexRow(stagedRow_);
    bool fits = palette_.addRow(staged_.data(), getWidth(), channels, indices);
    if (tableSize_ > 0 && (!fits || palette_.size() > tableSize_)) {
        indexed_[size_t(stagedRow_)] = fits;  // renumbered with the others when it was indexed
        dropTable();
        fits = fits || palette_.addRow(staged_.data(), getWidth(), channels, indices);
    }
    if (!fits)
        throw ImageIoFailedLoadExc(
            "GIF cannot hold more than 256 colours and the image has more; save as PNG instead");
    indexed_[size_t(stagedRow_)] = true;
    stagedRow_ = -1;
}

void GifIndexedFrame::dropTable() {
    ColorPalette used;
    std::vector<uint8_t> colours(size_t(getWidth()) * 4);
    for (int32_t y = 0; y < getHeight(); ++y) {
        if (!indexed_[size_t(y)]) continue;
        uint8_t* indices = getIndexRow(y);
        for (int32_t x = 0; x < getWidth(); ++x) {
            const auto c = palette_.color(indices[x]);
            std::copy(c.begin(), c.end(), colours.begin() + 4 * x);
        }
        if (!used.addRow(colours.data(), getWidth(), 4, indices))
            throw ImageIoFailedLoadExc(
                "GIF cannot hold more than 256 colours and the image has more; save as PNG instead");
    }
    palette_ = used;
    tableSize_ = 0;
}

int GifIndexedFrame::getTransparentIndex() const {
    for (int i = 0; i < palette_.size(); ++i)
        if (palette_.color(i)[3] == 0) return i;
    return -1;
}

}  // namespace loom
