// InflateStream: one zlib stream inflated a piece at a time. A reader takes only the bytes it
// needs of a picture the file declares, however large, and holds no more than it keeps: rows above
// what is shown are stepped over, and nothing past the last row used is inflated at all.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace loom {

class InflateStream {
public:
    // The bytes must outlive the stream. failure is the message of the ImageIoFailedLoadExc raised
    // when the data is not zlib's or ends before the bytes asked for.
    InflateStream(const uint8_t* data, size_t size, std::string failure);

    // Fills out with the next count bytes.
    void read(uint8_t* out, size_t count);
    // Steps over the next count bytes, with the same checks.
    void skip(size_t count);

private:
    struct EndInflate {
        void operator()(z_stream* stream) const;
    };
    [[noreturn]] void fail() const;

    std::unique_ptr<z_stream, EndInflate> stream_;
    std::string failure_;
};

}  // namespace loom
