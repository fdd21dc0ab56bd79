#include "io/codec/GifIndexedFrame.h"

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"

namespace loom {

GifIndexedFrame::GifIndexedFrame(const ImageSource& source) {
    if (!withinImageLimits(source.getWidth(), source.getHeight()))
        throw ImageIoFailedLoadExc(ImageTooLargeExc(source.getWidth(), source.getHeight()).what());
    setSize(source.getWidth(), source.getHeight());
    setColorModel(RGB);
    setDataType(UINT8);
    setSampleOrder(source.hasAlpha() ? RGBA : RGB_ORDER);
    indices_.assign(size_t(getWidth()) * size_t(getHeight()), 0);
    staged_.resize(size_t(getWidth()) * size_t(channelsOf(getSampleOrder())));
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
                pixel[0] = pixel[1] = pixel[2] = 0;  // one transparent colour, whatever it hid
            else if (pixel[3] != 255)
                throw ImageIoFailedLoadExc(
                    "GIF cannot hold partly transparent pixels (alpha between 0 and 255); save as "
                    "PNG instead");
        }
    if (!palette_.addRow(staged_.data(), getWidth(), channels, getIndexRow(stagedRow_)))
        throw ImageIoFailedLoadExc(
            "GIF cannot hold more than 256 colours and the image has more; save as PNG instead");
    stagedRow_ = -1;
}

int GifIndexedFrame::getTransparentIndex() const {
    for (int i = 0; i < palette_.size(); ++i)
        if (palette_.color(i)[3] == 0) return i;
    return -1;
}

}  // namespace loom
