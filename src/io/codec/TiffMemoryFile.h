// TiffMemoryFile: libtiff reading from and writing to memory, with the library's messages kept
// per file rather than printed.
#pragma once

#include <tiffio.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace loom {

class TiffMemoryFile {
public:
    // Reading from size bytes at data (borrowed; must outlive the file).
    TiffMemoryFile(const uint8_t* data, size_t size);
    // Writing into bytes().
    TiffMemoryFile();
    ~TiffMemoryFile();
    TiffMemoryFile(const TiffMemoryFile&) = delete;
    TiffMemoryFile& operator=(const TiffMemoryFile&) = delete;

    // The open handle, or null when libtiff refused the data (error() says why).
    TIFF* tiff() const { return tiff_; }
    // The last error libtiff reported, or "".
    const std::string& error() const { return error_; }
    // Closes the handle (flushing a file being written).
    void close();
    const std::vector<uint8_t>& bytes() const { return written_; }

private:
    static tmsize_t read(thandle_t, void*, tmsize_t);
    static tmsize_t write(thandle_t, void*, tmsize_t);
    static toff_t seek(thandle_t, toff_t, int);
    static int closeProc(thandle_t);
    static toff_t size(thandle_t);
    static int map(thandle_t, void**, toff_t*);
    static void unmap(thandle_t, void*, toff_t);
    static int onError(TIFF*, void*, const char*, const char*, va_list);
    static int onWarning(TIFF*, void*, const char*, const char*, va_list);
    void open(const char* mode);

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    std::vector<uint8_t> written_;
    bool writing_ = false;
    uint64_t position_ = 0;
    std::string error_;
    TIFF* tiff_ = nullptr;
};

}  // namespace loom
