#include "io/codec/ImageTargetFileJxr.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "io/ImageIoExc.h"

// jxrlib last: its headers define min and max.
#include <JXRGlue.h>
#undef min
#undef max

namespace loom {

namespace {

// A jxrlib stream over a growing byte vector; the encoder seeks back to patch its headers.
struct VectorStream {
    WMPStream stream;  // first, so a WMPStream* is a VectorStream*
    std::vector<uint8_t> bytes;
    size_t position = 0;

    VectorStream() {
        std::memset(&stream, 0, sizeof(stream));
        stream.Close = [](WMPStream** me) -> ERR {
            *me = nullptr;
            return WMP_errSuccess;
        };
        stream.EOS = [](WMPStream* me) -> Bool { return self(me).position >= self(me).bytes.size(); };
        stream.Read = [](WMPStream* me, void* out, size_t count) -> ERR {
            VectorStream& s = self(me);
            if (count > s.bytes.size() - std::min(s.position, s.bytes.size())) return WMP_errFileIO;
            std::memcpy(out, s.bytes.data() + s.position, count);
            s.position += count;
            return WMP_errSuccess;
        };
        stream.Write = [](WMPStream* me, const void* in, size_t count) -> ERR {
            VectorStream& s = self(me);
            if (s.position + count > s.bytes.size()) s.bytes.resize(s.position + count);
            std::memcpy(s.bytes.data() + s.position, in, count);
            s.position += count;
            return WMP_errSuccess;
        };
        stream.SetPos = [](WMPStream* me, size_t position) -> ERR {
            self(me).position = position;
            return WMP_errSuccess;
        };
        stream.GetPos = [](WMPStream* me, size_t* position) -> ERR {
            *position = self(me).position;
            return WMP_errSuccess;
        };
    }
    static VectorStream& self(WMPStream* me) { return *reinterpret_cast<VectorStream*>(me); }
};

struct EncoderGuard {
    PKImageEncode* encoder = nullptr;
    ~EncoderGuard() {
        if (encoder) encoder->Release(&encoder);
    }
};

}  // namespace

ImageTargetFileJxr::ImageTargetFileJxr(DataTargetRef dataTarget, const ImageSourceRef& source,
                                       const Options& options)
    : ImageTargetEncoded(std::move(dataTarget), source, options) {
    const Request& r = getRequest();
    const bool wide = r.type != UINT8;
    if (r.alpha)
        accept(RGB, wide ? UINT16 : UINT8, wide ? RGBA : BGRA);
    else if (r.gray)
        accept(GRAY, wide ? UINT16 : UINT8, Y);
    else
        accept(RGB, wide ? UINT16 : UINT8, wide ? RGB_ORDER : BGR);
}

void ImageTargetFileJxr::encode(OStream& out) {
    const bool wide = getDataType() == UINT16;
    const PKPixelFormatGUID* format = nullptr;
    switch (getSampleOrder()) {
        case BGRA: format = &GUID_PKPixelFormat32bppBGRA; break;
        case RGBA: format = &GUID_PKPixelFormat64bppRGBA; break;
        case Y: format = wide ? &GUID_PKPixelFormat16bppGray : &GUID_PKPixelFormat8bppGray; break;
        case BGR: format = &GUID_PKPixelFormat24bppBGR; break;
        default: format = &GUID_PKPixelFormat48bppRGB; break;
    }
    const float quality = std::max(0.0f, std::min(1.0f, getOptions().quality));
    const U8 quantiser = quality >= 1.0f ? 1 : U8(std::lround(2 + (1.0f - quality) * 100.0f));

    CWMIStrCodecParam params;
    std::memset(&params, 0, sizeof(params));
    params.bVerbose = FALSE;
    params.cfColorFormat = getColorModel() == GRAY ? Y_ONLY : YUV_444;
    params.bdBitDepth = BD_LONG;
    params.bfBitstreamFormat = FREQUENCY;
    params.bProgressiveMode = TRUE;
    params.olOverlap = quantiser == 1 ? OL_NONE : OL_ONE;
    params.sbSubband = SB_ALL;
    params.uAlphaMode = hasAlpha() ? 2 : 0;
    params.uiDefaultQPIndex = quantiser;
    params.uiDefaultQPIndexAlpha = quantiser;

    VectorStream stream;
    EncoderGuard guard;
    if (PKImageEncode_Create_WMP(&guard.encoder) < 0)
        throw ImageIoFailedLoadExc("JPEG XR: out of memory");
    if (guard.encoder->Initialize(guard.encoder, &stream.stream, &params, sizeof(params)) < 0 ||
        guard.encoder->SetPixelFormat(guard.encoder, *format) < 0 ||
        guard.encoder->SetSize(guard.encoder, getWidth(), getHeight()) < 0 ||
        guard.encoder->SetResolution(guard.encoder, 96.0f, 96.0f) < 0)
        throw ImageIoFailedLoadExc("JPEG XR: the encoder refused the image");
    if (guard.encoder->WritePixels(guard.encoder, U32(getHeight()), const_cast<U8*>(rowsInPlace().data),
                                   U32(getRowBytes())) < 0)
        throw ImageIoFailedLoadExc("JPEG XR: encoding failed");
    guard.encoder->Release(&guard.encoder);  // finishes the file
    out.writeData(stream.bytes.data(), stream.bytes.size());
}

ImageTargetRef ImageTargetFileJxr::create(DataTargetRef dataTarget, ImageSourceRef source,
                                          Options options, const std::string&) {
    return std::make_shared<ImageTargetFileJxr>(std::move(dataTarget), source, options);
}

}  // namespace loom
