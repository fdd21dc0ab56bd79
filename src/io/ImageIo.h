// ImageIo: what both sides of a pixel transfer describe about their pixels: size, colour model,
// sample type and sample order. For samples wider than a byte the channel offsets count samples.
#pragma once

#include <cstdint>

namespace loom {

class ImageIo {
public:
    enum ColorModel : int { RGB = 0, GRAY = 1, CM_UNKNOWN = 2 };
    enum DataType : int { UINT8 = 0, UINT16 = 1, FLOAT32 = 2, DT_UNKNOWN = 3 };
    // The order of a pixel's samples. Codes 0 to 9 are the surface channel orders
    // (image/ChannelOrder.h); Y and YA are gray without and with alpha.
    enum SampleOrder : int {
        RGBA = 0,
        BGRA = 1,
        ARGB = 2,
        ABGR = 3,
        RGBX = 4,
        BGRX = 5,
        XRGB = 6,
        XBGR = 7,
        RGB_ORDER = 8,
        BGR = 9,  // RGB_ORDER: "RGB" is taken by the colour model above
        Y = 10,
        YA = 11,
        SO_UNKNOWN = 12
    };

    virtual ~ImageIo() = default;
    // True for RGBA, BGRA, ARGB, ABGR and YA.
    virtual bool hasAlpha() const;

    int32_t getWidth() const { return width_; }
    int32_t getHeight() const { return height_; }
    ColorModel getColorModel() const { return colorModel_; }
    DataType getDataType() const { return dataType_; }
    SampleOrder getSampleOrder() const { return sampleOrder_; }

    // Samples per pixel of an order (4, 3, 1 or 2); 0 for SO_UNKNOWN.
    static int channelsOf(SampleOrder order);
    // Bytes per sample of a type (1, 2 or 4); 0 for DT_UNKNOWN.
    static int bytesPerSampleOf(DataType type);

protected:
    void setSize(int32_t width, int32_t height) { width_ = width, height_ = height; }
    void setColorModel(ColorModel model) { colorModel_ = model; }
    void setDataType(DataType type) { dataType_ = type; }
    void setSampleOrder(SampleOrder order) { sampleOrder_ = order; }

    int32_t width_ = 0;
    int32_t height_ = 0;
    ColorModel colorModel_ = CM_UNKNOWN;
    DataType dataType_ = DT_UNKNOWN;
    SampleOrder sampleOrder_ = SO_UNKNOWN;
};

}  // namespace loom
