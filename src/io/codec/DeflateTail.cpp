#include "io/codec/DeflateTail.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

namespace loom {

namespace {

[[noreturn]] void malformed() { throw std::runtime_error("malformed deflate stream"); }

// Bits of a deflate stream, least significant first. Reads a little past the end see zeros (the
// caller compares position() with the size); reading on beyond that means the stream is broken.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint32_t peek(int n) {
        if (count_ < n) refill();
        return uint32_t(bits_ & ((uint64_t(1) << n) - 1));
    }
    void skip(int n) {
        if (count_ < n) refill();
        bits_ >>= n;
        count_ -= n;
    }
    uint32_t read(int n) {
        const uint32_t v = peek(n);
        skip(n);
        return v;
    }
    size_t position() const { return next_ * 8 - size_t(count_); }
    // Moves to a byte position (stored blocks hold whole bytes).
    void seekByte(size_t byte) {
        next_ = byte;
        bits_ = 0;
        count_ = 0;
    }

private:
    void refill() {
        while (count_ <= 56) {
            if (next_ > size_ + 8) malformed();
            const uint64_t byte = next_ < size_ ? data_[next_] : 0;
            bits_ |= byte << count_;
            count_ += 8;
            ++next_;
        }
    }

    const uint8_t* data_;
    size_t size_;
    size_t next_ = 0;
    uint64_t bits_ = 0;
    int count_ = 0;
};

// A canonical Huffman code as a table indexed by the next maxBits bits of the stream.
class HuffmanCode {
public:
    HuffmanCode(const uint8_t* lengths, int count) {
        std::array<int, 16> perLength{};
        for (int s = 0; s < count; ++s) {
            ++perLength[lengths[s]];
            maxBits_ = std::max(maxBits_, int(lengths[s]));
        }
        if (maxBits_ == 0) return;  // no codes: a block may have no distances
        std::array<uint32_t, 16> next{};
        uint32_t code = 0;
        perLength[0] = 0;
        for (int len = 1; len <= 15; ++len) {
            code = (code + uint32_t(perLength[size_t(len - 1)])) << 1;
            next[size_t(len)] = code;
        }
        table_.assign(size_t(1) << maxBits_, 0);
        for (int s = 0; s < count; ++s) {
            const int len = lengths[s];
            if (len == 0) continue;
            const uint32_t reversed = reverse(next[size_t(len)]++, len);
            if (reversed >= table_.size()) malformed();  // oversubscribed
            for (size_t i = reversed; i < table_.size(); i += size_t(1) << len)
                table_[i] = uint16_t(s << 4 | len);
        }
    }

    int decode(BitReader& bits) const {
        if (maxBits_ == 0) malformed();
        const uint16_t entry = table_[bits.peek(maxBits_)];
        if ((entry & 15) == 0) malformed();  // a hole in an incomplete code
        bits.skip(entry & 15);
        return entry >> 4;
    }

private:
    static uint32_t reverse(uint32_t code, int len) {
        uint32_t r = 0;
        for (int i = 0; i < len; ++i, code >>= 1) r = r << 1 | (code & 1);
        return r;
    }

    std::vector<uint16_t> table_;
    int maxBits_ = 0;
};

constexpr int END_OF_BLOCK = 256;
constexpr std::array<uint8_t, 29> LENGTH_EXTRA = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint8_t, 30> DISTANCE_EXTRA = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void skipSymbols(BitReader& bits, const HuffmanCode& literals, const HuffmanCode& distances) {
    for (;;) {
        const int symbol = literals.decode(bits);
        if (symbol < END_OF_BLOCK) continue;
        if (symbol == END_OF_BLOCK) return;
        if (symbol > 285) malformed();
        bits.skip(LENGTH_EXTRA[size_t(symbol - 257)]);
        const int distance = distances.decode(bits);
        if (distance >= 30) malformed();
        bits.skip(DISTANCE_EXTRA[size_t(distance)]);
    }
}

void skipFixedBlock(BitReader& bits) {
    static const auto codes = [] {
        std::array<uint8_t, 288 + 30> lengths{};
        for (int s = 0; s < 288; ++s) lengths[size_t(s)] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
        for (int s = 288; s < 288 + 30; ++s) lengths[size_t(s)] = 5;
        return std::make_pair(HuffmanCode(lengths.data(), 288), HuffmanCode(lengths.data() + 288, 30));
    }();
    skipSymbols(bits, codes.first, codes.second);
}

void skipDynamicBlock(BitReader& bits) {
    static constexpr std::array<uint8_t, 19> ORDER = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                      11, 4,  12, 3, 13, 2, 14, 1, 15};
    const int literalCount = int(bits.read(5)) + 257;
    const int distanceCount = int(bits.read(5)) + 1;
    const int lengthCodeCount = int(bits.read(4)) + 4;
    std::array<uint8_t, 19> lengthCodeLengths{};
    for (int i = 0; i < lengthCodeCount; ++i)
        lengthCodeLengths[ORDER[size_t(i)]] = uint8_t(bits.read(3));
    const HuffmanCode lengthCode(lengthCodeLengths.data(), 19);

    std::array<uint8_t, 286 + 30> lengths{};
    const int total = literalCount + distanceCount;
    if (literalCount > 286 || distanceCount > 30) malformed();
    for (int i = 0; i < total;) {
        const int symbol = lengthCode.decode(bits);
        if (symbol < 16) {
            lengths[size_t(i++)] = uint8_t(symbol);
            continue;
        }
        int repeat;
        uint8_t value = 0;
        if (symbol == 16) {
            if (i == 0) malformed();
            value = lengths[size_t(i - 1)];
            repeat = 3 + int(bits.read(2));
        } else {
            repeat = symbol == 17 ? 3 + int(bits.read(3)) : 11 + int(bits.read(7));
        }
        if (i + repeat > total) malformed();
        while (repeat-- > 0) lengths[size_t(i++)] = value;
    }
    skipSymbols(bits, HuffmanCode(lengths.data(), literalCount),
                HuffmanCode(lengths.data() + literalCount, distanceCount));
}

}  // namespace

DeflateTail findDeflateTail(const uint8_t* data, size_t size) {
    BitReader bits(data, size);
    for (;;) {
        const size_t header = bits.position();
        const bool final = bits.read(1) != 0;
        switch (bits.read(2)) {
            case 0: {
                const size_t start = (bits.position() + 7) / 8;
                if (start + 4 > size) malformed();
                const size_t length = data[start] | size_t(data[start + 1]) << 8;
                if ((length ^ (data[start + 2] | size_t(data[start + 3]) << 8)) != 0xFFFF) malformed();
                bits.seekByte(start + 4 + length);
                break;
            }
            case 1: skipFixedBlock(bits); break;
            case 2: skipDynamicBlock(bits); break;
            default: malformed();
        }
        if (bits.position() > size * 8) malformed();
        if (final) return {header, bits.position()};
    }
}

}  // namespace loom
