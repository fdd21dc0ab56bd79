// The 72 row converters: source sample type x target sample type x source colour model x target
// colour model x alpha carried or not, plus a straight copy when both sides lay rows out alike.
#include <cmath>
#include <cstring>

#include "image/ChannelOrder.h"
#include "io/ImageIoExc.h"
#include "io/ImageSource.h"

namespace loom {

namespace {

// Float to integer with the low bits kept, as a cast would; values no integer can hold (NaN,
// infinities, huge numbers from a broken file) become 0 instead of undefined behaviour.
inline int64_t truncateFloat(float v) {
    return std::isfinite(v) && std::fabs(v) < 9.0e18f ? int64_t(v) : 0;
}

template <typename S, typename D>
inline D convertSample(S v);

template <>
inline uint8_t convertSample(uint8_t v) {
    return v;
}
template <>
inline uint16_t convertSample(uint8_t v) {
    return uint16_t(v * 257);
}
template <>
inline float convertSample(uint8_t v) {
    return v / 255.0f;
}
template <>
inline uint8_t convertSample(uint16_t v) {
    return uint8_t(v / 257);
}
template <>
inline uint16_t convertSample(uint16_t v) {
    return v;
}
template <>
inline float convertSample(uint16_t v) {
    return v / 65535.0f;
}
template <>
inline uint8_t convertSample(float v) {
    return uint8_t(truncateFloat(v * 255.0f));
}
template <>
inline uint16_t convertSample(float v) {
    return uint16_t(truncateFloat(v * 65535.0f));
}
template <>
inline float convertSample(float v) {
    return v;
}

// Luma of an RGB sample triple, in the target's type.
template <typename S, typename D>
inline D luma(S r, S g, S b);

template <typename D>
inline D lumaOf8(uint8_t r, uint8_t g, uint8_t b) {
    return convertSample<uint8_t, D>(uint8_t((54 * r + 183 * g + 19 * b) >> 8));
}
template <>
inline uint8_t luma(uint8_t r, uint8_t g, uint8_t b) {
    return lumaOf8<uint8_t>(r, g, b);
}
template <>
inline uint16_t luma(uint8_t r, uint8_t g, uint8_t b) {
    return lumaOf8<uint16_t>(r, g, b);
}
template <>
inline float luma(uint8_t r, uint8_t g, uint8_t b) {
    return lumaOf8<float>(r, g, b);
}

inline uint32_t weighted16(uint16_t r, uint16_t g, uint16_t b) {
    return 6966u * r + 23436u * g + 2366u * b;
}
template <>
inline uint8_t luma(uint16_t r, uint16_t g, uint16_t b) {
    return uint8_t(weighted16(r, g, b) / 8421376u);
}
template <>
inline uint16_t luma(uint16_t r, uint16_t g, uint16_t b) {
    return uint16_t(weighted16(r, g, b) >> 15);
}
template <>
inline float luma(uint16_t r, uint16_t g, uint16_t b) {
    return convertSample<uint16_t, float>(uint16_t(weighted16(r, g, b) >> 15));
}

template <typename D>
inline D lumaOfFloat(float r, float g, float b) {
    return convertSample<float, D>(0.2126f * r + 0.7152f * g + 0.0722f * b);
}
template <>
inline uint8_t luma(float r, float g, float b) {
    return lumaOfFloat<uint8_t>(r, g, b);
}
template <>
inline uint16_t luma(float r, float g, float b) {
    return lumaOfFloat<uint16_t>(r, g, b);
}
template <>
inline float luma(float r, float g, float b) {
    return lumaOfFloat<float>(r, g, b);
}

template <typename S, typename D, ImageIo::ColorModel SM, ImageIo::ColorModel DM, bool ALPHA>
void convertRow(const ImageSource& source, ImageTarget& target, int32_t row, const void* sourceRow) {
    const ImageSource::RowLayout& s = source.getSourceLayout();
    const ImageSource::RowLayout& d = source.getTargetLayout();
    const S* in = static_cast<const S*>(sourceRow);
    D* out = static_cast<D*>(target.getRowPointer(row));
    const int32_t width = source.getWidth();
    for (int32_t x = 0; x < width; ++x, in += s.increment, out += d.increment) {
        if constexpr (SM == ImageIo::RGB && DM == ImageIo::RGB) {
            out[d.red] = convertSample<S, D>(in[s.red]);
            out[d.green] = convertSample<S, D>(in[s.green]);
            out[d.blue] = convertSample<S, D>(in[s.blue]);
        } else if constexpr (SM == ImageIo::GRAY && DM == ImageIo::RGB) {
            const D gray = convertSample<S, D>(in[s.gray]);
            out[d.red] = out[d.green] = out[d.blue] = gray;
        } else if constexpr (SM == ImageIo::RGB && DM == ImageIo::GRAY) {
            out[d.gray] = luma<S, D>(in[s.red], in[s.green], in[s.blue]);
        } else {
            out[d.gray] = convertSample<S, D>(in[s.gray]);
        }
        if constexpr (ALPHA) out[d.alpha] = convertSample<S, D>(in[s.alpha]);
    }
}

template <typename T>
void copyRow(const ImageSource& source, ImageTarget& target, int32_t row, const void* sourceRow) {
    std::memcpy(target.getRowPointer(row), sourceRow,
                size_t(source.getWidth()) * source.getSourceLayout().increment * sizeof(T));
}

template <typename S, typename D, ImageIo::ColorModel SM, ImageIo::ColorModel DM>
ImageSource::RowFunc pickAlpha(bool alpha) {
    return alpha ? convertRow<S, D, SM, DM, true> : convertRow<S, D, SM, DM, false>;
}

template <typename S, typename D>
ImageSource::RowFunc pickModels(ImageIo::ColorModel sm, ImageIo::ColorModel dm, bool alpha) {
    if (sm == ImageIo::RGB)
        return dm == ImageIo::RGB ? pickAlpha<S, D, ImageIo::RGB, ImageIo::RGB>(alpha)
                                  : pickAlpha<S, D, ImageIo::RGB, ImageIo::GRAY>(alpha);
    return dm == ImageIo::RGB ? pickAlpha<S, D, ImageIo::GRAY, ImageIo::RGB>(alpha)
                              : pickAlpha<S, D, ImageIo::GRAY, ImageIo::GRAY>(alpha);
}

template <typename S>
ImageSource::RowFunc pickTargetType(ImageIo::DataType dt, ImageIo::ColorModel sm, ImageIo::ColorModel dm,
                                    bool alpha) {
    switch (dt) {
        case ImageIo::UINT8: return pickModels<S, uint8_t>(sm, dm, alpha);
        case ImageIo::UINT16: return pickModels<S, uint16_t>(sm, dm, alpha);
        default: return pickModels<S, float>(sm, dm, alpha);
    }
}

bool isKnownType(ImageIo::DataType t) {
    return t == ImageIo::UINT8 || t == ImageIo::UINT16 || t == ImageIo::FLOAT32;
}

bool isKnownModel(ImageIo::ColorModel m) { return m == ImageIo::RGB || m == ImageIo::GRAY; }

ImageSource::RowLayout layoutOf(ImageIo::ColorModel model, ImageIo::SampleOrder order) {
    ImageSource::RowLayout layout;
    if (model == ImageIo::RGB) {
        if (order < ImageIo::RGBA || order > ImageIo::BGR)
            throw ImageIoIllegalSampleOrderExc("channel order " + std::to_string(int(order)) +
                                               " does not fit the RGB colour model");
        const loom::ChannelOrder table(static_cast<int>(order));
        layout.red = int8_t(table.red);
        layout.green = int8_t(table.green);
        layout.blue = int8_t(table.blue);
        layout.alpha = table.hasAlpha() ? int8_t(table.alpha) : int8_t(-1);
        layout.increment = table.increment;
    } else {
        if (order != ImageIo::Y && order != ImageIo::YA)
            throw ImageIoIllegalSampleOrderExc("channel order " + std::to_string(int(order)) +
                                               " does not fit the GRAY colour model");
        layout.gray = 0;
        layout.alpha = order == ImageIo::YA ? 1 : -1;
        layout.increment = order == ImageIo::YA ? 2 : 1;
    }
    return layout;
}

bool sameLayout(const ImageSource::RowLayout& a, const ImageSource::RowLayout& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha &&
           a.gray == b.gray && a.increment == b.increment;
}

}  // namespace

void ImageSource::loadRowInPlace(ImageTarget& target, int32_t row) {
    const RowsInPlace rows = getRowsInPlace();
    if (!rows.data) throw ImageIoExc("the image keeps no rows in memory");
    setupRowFunc(target);  // a few comparisons: cheaper than remembering whom it was made for
    processRow(target, row, rows.data + int64_t(row) * rows.rowBytes);
}

void ImageSource::setupRowFunc(ImageTarget& target) {
    const DataType st = getDataType();
    const DataType dt = target.getDataType();
    if (!isKnownType(st)) throw ImageIoIllegalDataTypeExc("unsupported sample type in the image");
    if (!isKnownType(dt)) throw ImageIoIllegalDataTypeExc("unsupported sample type for the writer");
    const ColorModel dm = target.getColorModel();
    const ColorModel sm = getColorModel();
    if (!isKnownModel(dm)) throw ImageIoIllegalColorModelExc("unsupported colour model for the writer");
    if (!isKnownModel(sm)) throw ImageIoIllegalColorModelExc("unsupported colour model in the image");
    sourceLayout_ = layoutOf(sm, getSampleOrder());
    targetLayout_ = layoutOf(dm, target.getSampleOrder());
    const bool alpha = sourceLayout_.alpha >= 0 && targetLayout_.alpha >= 0;

    if (st == dt && sm == dm && sameLayout(sourceLayout_, targetLayout_)) {
        rowFunc_ = st == UINT8 ? copyRow<uint8_t> : st == UINT16 ? copyRow<uint16_t> : copyRow<float>;
        return;
    }
    switch (st) {
        case UINT8: rowFunc_ = pickTargetType<uint8_t>(dt, sm, dm, alpha); break;
        case UINT16: rowFunc_ = pickTargetType<uint16_t>(dt, sm, dm, alpha); break;
        default: rowFunc_ = pickTargetType<float>(dt, sm, dm, alpha); break;
    }
}

}  // namespace loom
