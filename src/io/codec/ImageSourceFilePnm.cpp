#include "io/codec/ImageSourceFilePnm.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"
#include "io/codec/ByteReader.h"
#include "io/codec/SampleScale.h"

namespace loom {

namespace {

constexpr uint32_t WIDE_MAXVAL = 65535;

struct PnmLayout {
    char kind = 0;  // the digit after 'P'
    int64_t width = 0, height = 0;
    uint32_t maxval = 1;
    int channels = 1;

    bool plain() const { return kind <= '3'; }
    bool bitmap() const { return kind == '1' || kind == '4'; }
};

bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }

// Steps past the rest of the line and its end.
void skipLine(ByteReader& in) {
    while (in.u8() != '\n') {
    }
}

void skipSpaceAndComments(ByteReader& in) {
    for (int c = in.peek(); c == '#' || isSpace(c); c = in.peek()) {
        if (c == '#')
            skipLine(in);
        else
            in.skip(1);
    }
}

// A decimal number after whitespace and comments; what names it in the message when it is missing.
uint32_t readNumber(ByteReader& in, const char* what) {
    skipSpaceAndComments(in);
    if (in.atEnd()) in.failTruncated();
    if (!isDigit(in.peek())) in.fail(std::string("bad ") + what);
    uint64_t value = 0;
    while (isDigit(in.peek())) {
        value = value * 10 + uint32_t(in.u8() - '0');
        if (value > UINT32_MAX) in.fail(std::string(what) + " out of range");
    }
    return uint32_t(value);
}

std::string readWord(ByteReader& in) {
    std::string word;
    while (!in.atEnd() && !isSpace(in.peek())) word += char(in.u8());
    return word;
}

std::string readRestOfLine(ByteReader& in) {
    std::string line;
    for (char c = char(in.u8()); c != '\n'; c = char(in.u8())) line += c;
    const size_t first = line.find_first_not_of(" \t\r");
    return first == std::string::npos ? ""
                                      : line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
}

void checkMaxval(const ByteReader& in, uint32_t maxval) {
    if (maxval < 1 || maxval > WIDE_MAXVAL) in.fail("bad maxval " + std::to_string(maxval));
}

// P1 to P6: width, height and (but for bitmaps) maxval, with whitespace and comments between. Raw
// pixels follow one whitespace character after the last number.
PnmLayout readClassicHeader(ByteReader& in, char kind) {
    PnmLayout l;
    l.kind = kind;
    l.width = readNumber(in, "width");
    l.height = readNumber(in, "height");
    if (!l.bitmap()) l.maxval = readNumber(in, "maxval");
    checkMaxval(in, l.maxval);
    l.channels = kind == '3' || kind == '6' ? 3 : 1;
    if (!l.plain()) {
        const uint8_t end = in.u8();
        if (end == '#')
            skipLine(in);
        else if (!isSpace(end))
            in.fail("bad header");
    }
    return l;
}

struct TupleType {
    const char* name;
    int depth;
};

// P7: lines of a keyword and its value up to ENDHDR; the tuple type tells what the samples are.
// Without one, the depth alone decides (gray, gray and alpha, RGB, RGBA).
PnmLayout readPamHeader(ByteReader& in) {
    int64_t width = -1, height = -1, depth = -1, maxval = -1;
    std::string tupleType;
    for (;;) {
        skipSpaceAndComments(in);
        const std::string key = readWord(in);
        if (key == "ENDHDR") break;
        if (key == "WIDTH") {
            width = readNumber(in, "width");
        } else if (key == "HEIGHT") {
            height = readNumber(in, "height");
        } else if (key == "DEPTH") {
            depth = readNumber(in, "depth");
        } else if (key == "MAXVAL") {
            maxval = readNumber(in, "maxval");
        } else if (key == "TUPLTYPE") {
            const std::string part = readRestOfLine(in);  // repeated lines add words
            tupleType += (tupleType.empty() || part.empty() ? "" : " ") + part;
        } else if (key.empty()) {
            in.failTruncated();
        } else {
            skipLine(in);  // a keyword of a later version
        }
    }
    skipLine(in);
    if (width < 0 || height < 0 || depth < 0 || maxval < 0)
        in.fail("PAM header without WIDTH, HEIGHT, DEPTH or MAXVAL");
    static const TupleType types[] = {
        {"BLACKANDWHITE", 1},       {"GRAYSCALE", 1},       {"RGB", 3},
        {"BLACKANDWHITE_ALPHA", 2}, {"GRAYSCALE_ALPHA", 2}, {"RGB_ALPHA", 4}};
    if (!tupleType.empty()) {
        const TupleType* type = nullptr;
        for (const TupleType& t : types)
            if (tupleType == t.name) type = &t;
        if (!type) in.fail("unsupported tuple type " + tupleType);
        if (depth != type->depth)
            in.fail("depth " + std::to_string(depth) + " does not fit tuple type " + tupleType);
    } else if (depth < 1 || depth > 4) {
        in.fail("unsupported depth " + std::to_string(depth));
    }
    checkMaxval(in, uint32_t(maxval));
    PnmLayout l;
    l.kind = '7', l.width = width, l.height = height, l.maxval = uint32_t(maxval),
    l.channels = int(depth);
    return l;
}

// Stores samples of 0..maxval into the pixel block: scaled to 8 bits, or as they are (in the
// machine's byte order) for maxval 65535.
class SampleStore {
public:
    SampleStore(uint8_t* pixels, uint32_t maxval, const ByteReader& in)
        : pixels_(pixels), maxval_(maxval), in_(in) {
        if (maxval_ != WIDE_MAXVAL) table_ = byteScaleTable(maxval_);
    }
    void put(size_t i, uint32_t v) {
        if (v > maxval_)
            in_.fail("sample " + std::to_string(v) + " above maxval " + std::to_string(maxval_));
        if (table_.empty()) {
            const uint16_t wide = uint16_t(v);
            std::memcpy(pixels_ + 2 * i, &wide, 2);
        } else {
            pixels_[i] = table_[v];
        }
    }

private:
    uint8_t* pixels_;
    uint32_t maxval_;
    const ByteReader& in_;
    std::vector<uint8_t> table_;
};

// A header may declare far more pixels than the file holds; refused before allocating. Plain
// samples take at least a character each.
void refuseUnfillable(const ByteReader& in, const PnmLayout& l) {
    const int64_t samples = l.width * l.height * l.channels;
    int64_t needed = samples;
    if (l.kind == '4')
        needed = (l.width + 7) / 8 * l.height;
    else if (!l.plain())
        needed = samples * (l.maxval > 255 ? 2 : 1);
    if (needed > int64_t(in.remaining())) in.failTruncated();
}

void readSamples(ByteReader& in, const PnmLayout& l, SampleStore& store) {
    const size_t samples = size_t(l.width * l.height * l.channels);
    switch (l.kind) {
        case '1':  // '1' is black: the lower value
            for (size_t i = 0; i < samples; ++i) {
                skipSpaceAndComments(in);
                const uint8_t c = in.u8();
                if (c != '0' && c != '1') in.fail("bad bit");
                store.put(i, c == '0');
            }
            return;
        case '2':
        case '3':
            for (size_t i = 0; i < samples; ++i) store.put(i, readNumber(in, "sample"));
            return;
        case '4':  // rows of whole bytes, the first pixel in the high bit, 1 being black
            for (int64_t y = 0, i = 0; y < l.height; ++y) {
                const uint8_t* row = in.take(size_t(l.width + 7) / 8);
                for (int64_t x = 0; x < l.width; ++x, ++i)
                    store.put(size_t(i), !(row[x >> 3] >> (7 - (x & 7)) & 1));
            }
            return;
        default: {  // big-endian samples of one or two bytes
            const size_t sampleBytes = l.maxval > 255 ? 2 : 1;
            const uint8_t* raw = in.take(samples * sampleBytes);
            for (size_t i = 0; i < samples; ++i)
                store.put(i, sampleBytes == 2 ? uint32_t(raw[2 * i] << 8 | raw[2 * i + 1]) : raw[i]);
        }
    }
}

}  // namespace

ImageSourceFilePnm::ImageSourceFilePnm(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = dataSource->getBuffer();
    ByteReader in(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()), "PNM");
    const uint8_t* magic = in.size() >= 3 ? in.take(3) : nullptr;
    if (!magic || magic[0] != 'P' || magic[1] < '1' || magic[1] > '7' ||
        !(isSpace(magic[2]) || magic[2] == '#'))
        throw ImageIoNotThisFormatExc("not a PNM file");
    in.seek(2);
    const PnmLayout layout = magic[1] == '7' ? readPamHeader(in) : readClassicHeader(in, char(magic[1]));
    if (!withinImageLimits(layout.width, layout.height))
        in.fail(ImageTooLargeExc(layout.width, layout.height).what());
    refuseUnfillable(in, layout);
    static const SampleOrder orders[5] = {SO_UNKNOWN, Y, YA, RGB_ORDER, RGBA};
    const bool wide = layout.maxval == WIDE_MAXVAL;
    allocatePixels(layout.width, layout.height, layout.channels >= 3 ? RGB : GRAY, wide ? UINT16 : UINT8,
                   orders[layout.channels]);
    SampleStore store(getPixels(), layout.maxval, in);
    readSamples(in, layout, store);
}

ImageSourceRef ImageSourceFilePnm::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFilePnm>(std::move(dataSource), options);
}

}  // namespace loom
