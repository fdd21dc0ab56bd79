#include "io/codec/ImageSourceFileJxr.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <memory>
#include <new>
#include <string>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"

// jxrlib last: its headers define min and max.
#include <JXRGlue.h>
#undef min
#undef max

namespace loom {

// jxrlib checks much of a file with assert(), which ends the whole process on broken data, and
// leaks its state when decoding fails. So it only ever reads a file in a child process: the
// header first, then, once the size has passed our limits, the pixels into memory shared with
// this process. A child that dies leaves nothing behind but a "broken data" failure here.

namespace {

struct FormatRow {
    const PKPixelFormatGUID* format;
    ImageIo::ColorModel model;
    ImageIo::DataType type;
    ImageIo::SampleOrder order;
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
constexpr int FORMAT_COUNT = int(sizeof(FORMATS) / sizeof(FORMATS[0]));

// What the header child reports.
struct JxrHeader {
    int32_t width;
    int32_t height;
    int32_t format;  // index into FORMATS, or -1 for a format we do not read
    // Where the container says the image data lies in the file.
    uint32_t imageOffset;
    uint32_t imageBytes;
};

// Anonymous memory shared with the children forked after it is made.
class SharedMemory {
public:
    explicit SharedMemory(size_t size) : size_(size ? size : 1) {
        data_ = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (data_ == MAP_FAILED) throw std::bad_alloc();
    }
    ~SharedMemory() { munmap(data_, size_); }
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;
    void* data() const { return data_; }

private:
    size_t size_;
    void* data_;
};

// A decoder over the bytes, header read. Only ever used inside a child.
struct Decoder {
    PKImageDecode* decoder = nullptr;
    WMPStream* stream = nullptr;
    bool open(const Buffer& bytes) {
        if (CreateWS_Memory(&stream, bytes.getData(), size_t(bytes.getDataSize())) < 0) return false;
        if (PKImageDecode_Create_WMP(&decoder) < 0) return false;
        if (decoder->Initialize(decoder, stream) < 0) return false;
        decoder->WMP.wmiSCP.uAlphaMode = 2;  // without this the alpha plane decodes as zero
        return true;
    }
};

// Working memory the decoder may take beyond the pixels it writes.
constexpr uint64_t DECODER_MEMORY = uint64_t(256) << 20;

// The process's mapped address space in bytes, 0 when unknown.
uint64_t addressSpaceBytes() {
    std::ifstream statm("/proc/self/statm");
    uint64_t pages = 0;
    statm >> pages;
    return pages * uint64_t(sysconf(_SC_PAGESIZE));
}

// Runs work in a child process; true when it ran to the end and answered true. The child may map
// at most `budget` bytes more than this process has: on garbage the library sizes its buffers
// by nonsense, and a 934-byte file spent 13 s faulting in memory before failing.
template <typename Work>
bool runInChild(uint64_t budget, Work work) {
    const uint64_t mapped = addressSpaceBytes();
    const pid_t pid = fork();
    if (pid < 0) throw ImageIoFailedLoadExc("JPEG XR: cannot start the decoder");
    if (pid == 0) {
        // The library's assertion messages are not the user's business; the failure is reported.
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDERR_FILENO);
        // Plain deaths too: handlers inherited from the parent (a crash reporter) are not for this.
        for (int sig : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(sig, SIG_DFL);
        if (mapped > 0) {
            const rlimit limit{rlim_t(mapped + budget), rlim_t(mapped + budget)};
            setrlimit(RLIMIT_AS, &limit);
        }
        bool done = false;
        try {
            done = work();
        } catch (...) {
        }
        _exit(done ? 0 : 1);  // no exit handlers: the child's state is not ours to clean up
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

ImageSourceFileJxr::ImageSourceFileJxr(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    static const uint8_t signature[3] = {'I', 'I', 0xBC};
    const Buffer bytes = requireSignature(dataSource, signature, sizeof(signature), "JPEG XR");

    SharedMemory headerMemory(sizeof(JxrHeader));
    auto* header = static_cast<JxrHeader*>(headerMemory.data());
    const bool headerRead = runInChild(DECODER_MEMORY, [&] {
        Decoder d;
        if (!d.open(bytes)) return false;
        PKPixelFormatGUID format;
        I32 width = 0, height = 0;
        if (d.decoder->GetPixelFormat(d.decoder, &format) < 0 ||
            d.decoder->GetSize(d.decoder, &width, &height) < 0)
            return false;
        header->width = width;
        header->height = height;
        header->format = -1;
        for (int i = 0; i < FORMAT_COUNT; ++i)
            if (std::memcmp(FORMATS[i].format, &format, sizeof(format)) == 0) header->format = i;
        header->imageOffset = d.decoder->WMP.wmiDEMisc.uImageOffset;
        header->imageBytes = d.decoder->WMP.wmiDEMisc.uImageByteCount;
        return true;
    });
    if (!headerRead) throw ImageIoFailedLoadExc("JPEG XR: broken header");
    if (header->format < 0) throw ImageIoFailedLoadExc("JPEG XR: unsupported pixel format");
    // jxrlib decodes whatever size the header names even when the image data is empty or cut off,
    // reading past the end of the file: a few hundred bytes took seconds and gigabytes. Image data
    // that the file does not hold whole is refused before anything is made for it.
    if (header->imageBytes == 0 ||
        uint64_t(header->imageOffset) + header->imageBytes > uint64_t(bytes.getDataSize()))
        throw ImageIoFailedLoadExc("JPEG XR: truncated data");
    const FormatRow& row = FORMATS[header->format];
    allocatePixels(header->width, header->height, row.model, row.type, row.order);

    const size_t size = size_t(getRowBytes()) * size_t(getHeight());
    SharedMemory pixels(size);
    const I32 width = getWidth(), height = getHeight();
    const U32 stride = U32(getRowBytes());
    const bool decoded = runInChild(DECODER_MEMORY + 2 * uint64_t(size), [&] {
        Decoder d;
        if (!d.open(bytes)) return false;
        const PKRect rect = {0, 0, width, height};
        return d.decoder->Copy(d.decoder, &rect, static_cast<U8*>(pixels.data()), stride) >= 0;
    });
    if (!decoded) throw ImageIoFailedLoadExc("JPEG XR: broken or truncated data");
    std::memcpy(getPixels(), pixels.data(), size);
}

ImageSourceRef ImageSourceFileJxr::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileJxr>(std::move(dataSource), options);
}

}  // namespace loom
