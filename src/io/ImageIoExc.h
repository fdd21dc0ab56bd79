// The image I/O failures. Each carries a message that tells the user what went wrong ("not a
// PNG file", "truncated data", "image too large: 200000 x 3 pixels").
#pragma once

#include <string>

#include "base/Exception.h"

namespace loom {

class ImageIoExc : public Exception {
public:
    explicit ImageIoExc(std::string message) : Exception(std::move(message)) {}
};

// A data type other than UINT8, UINT16 or FLOAT32.
class ImageIoIllegalDataTypeExc : public ImageIoExc {
public:
    explicit ImageIoIllegalDataTypeExc(std::string message = "unsupported sample type")
        : ImageIoExc(std::move(message)) {}
};

// A colour model other than RGB or GRAY.
class ImageIoIllegalColorModelExc : public ImageIoExc {
public:
    explicit ImageIoIllegalColorModelExc(std::string message = "unsupported colour model")
        : ImageIoExc(std::move(message)) {}
};

// A channel order that does not fit the colour model.
class ImageIoIllegalSampleOrderExc : public ImageIoExc {
public:
    explicit ImageIoIllegalSampleOrderExc(std::string message = "unsupported channel order")
        : ImageIoExc(std::move(message)) {}
};

// Nothing could read the data, or a codec failed while reading or writing.
class ImageIoFailedLoadExc : public ImageIoExc {
public:
    explicit ImageIoFailedLoadExc(std::string message = "cannot read the image")
        : ImageIoExc(std::move(message)) {}
};

// A decoder's answer that the data is not in its format at all (wrong signature), so that the
// registrar can tell a foreign file from a broken one of a known format.
class ImageIoNotThisFormatExc : public ImageIoFailedLoadExc {
public:
    explicit ImageIoNotThisFormatExc(std::string message) : ImageIoFailedLoadExc(std::move(message)) {}
};

// No writer is registered for the extension.
class ImageIoUnknownExtensionExc : public ImageIoExc {
public:
    explicit ImageIoUnknownExtensionExc(std::string message = "unknown file extension")
        : ImageIoExc(std::move(message)) {}
};

}  // namespace loom
