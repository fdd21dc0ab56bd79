#include "io/codec/TiffMemoryFile.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace loom {

namespace {
// libtiff's own cap on one allocation; a header asking for more is refused before allocating.
constexpr tmsize_t MAX_SINGLE_ALLOCATION = tmsize_t(1) << 30;
}  // namespace

TiffMemoryFile::TiffMemoryFile(const uint8_t* data, size_t size) : data_(data), size_(size) {
    open("rm");
}

TiffMemoryFile::TiffMemoryFile() : writing_(true) { open("wm"); }

TiffMemoryFile::~TiffMemoryFile() { close(); }

void TiffMemoryFile::open(const char* mode) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, MAX_SINGLE_ALLOCATION);
    TIFFOpenOptionsSetErrorHandlerExtR(options, onError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, this);
    tiff_ =
        TIFFClientOpenExt("memory", mode, this, read, write, seek, closeProc, size, map, unmap, options);
    TIFFOpenOptionsFree(options);
}

void TiffMemoryFile::close() {
    if (tiff_) TIFFClose(tiff_);
    tiff_ = nullptr;
}

tmsize_t TiffMemoryFile::read(thandle_t handle, void* out, tmsize_t count) {
    auto* file = static_cast<TiffMemoryFile*>(handle);
    if (file->writing_ || count < 0 || file->position_ >= file->size_) return 0;
    const size_t n = std::min(size_t(count), size_t(file->size_ - file->position_));
    std::memcpy(out, file->data_ + file->position_, n);
    file->position_ += n;
    return tmsize_t(n);
}

tmsize_t TiffMemoryFile::write(thandle_t handle, void* in, tmsize_t count) {
    auto* file = static_cast<TiffMemoryFile*>(handle);
    if (!file->writing_ || count < 0) return -1;
    const uint64_t end = file->position_ + uint64_t(count);
    if (end > file->written_.size()) file->written_.resize(size_t(end));
    std::memcpy(file->written_.data() + file->position_, in, size_t(count));
    file->position_ = end;
    return count;
}

toff_t TiffMemoryFile::seek(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<TiffMemoryFile*>(handle);
    const uint64_t end = file->writing_ ? file->written_.size() : file->size_;
    uint64_t target = uint64_t(offset);
    if (whence == SEEK_CUR) target = file->position_ + offset;
    if (whence == SEEK_END) target = end + offset;
    // Reading cannot pass the end; writing may (the gap is filled on the next write).
    if (!file->writing_ && target > end) return toff_t(-1);
    if (file->writing_ && target > (uint64_t(1) << 32)) return toff_t(-1);
    file->position_ = target;
    return target;
}

int TiffMemoryFile::closeProc(thandle_t) { return 0; }

toff_t TiffMemoryFile::size(thandle_t handle) {
    auto* file = static_cast<TiffMemoryFile*>(handle);
    return file->writing_ ? file->written_.size() : file->size_;
}

int TiffMemoryFile::map(thandle_t, void**, toff_t*) { return 0; }
void TiffMemoryFile::unmap(thandle_t, void*, toff_t) {}

int TiffMemoryFile::onError(TIFF*, void* user, const char*, const char* format, va_list args) {
    char message[512];
    std::vsnprintf(message, sizeof(message), format, args);
    auto* file = static_cast<TiffMemoryFile*>(user);
    if (file->error_.empty()) file->error_ = message;  // the first error names the cause
    return 1;
}

int TiffMemoryFile::onWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

}  // namespace loom
