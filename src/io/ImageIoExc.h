// The image I/O failures. Each carries a message that tells the user what went wrong ("not a
// PNG file", "truncated data", "image too large: 200000 x 3 pixels").
#pragma once

#include <string>

#include "base/Exception.h"

namespace loom {

class ImageIoException : public Exception {
public:
    explicit ImageIoException(std::string message) : Exception(std::move(message)) {}
};

// A data type other than UINT8, UINT16 or FLOAT32.
class ImageIoExceptionIllegalDataType : public ImageIoException {
public:
    explicit ImageIoExceptionIllegalDataType(std::string message = "unsupported sample type")
        : ImageIoException(std::move(message)) {}
};

// A colour model other than RGB or GRAY.
class ImageIoExceptionIllegalColorModel : public ImageIoException {
public:
    explicit ImageIoExceptionIllegalColorModel(std::string message = "unsupported colour model")
        : ImageIoException(std::move(message)) {}
};

// A channel order that does not fit the colour model.
class ImageIoExceptionIllegalChannelOrder : public ImageIoException {
public:
    explicit ImageIoExceptionIllegalChannelOrder(std::string message = "unsupported channel order")
        : ImageIoException(std::move(message)) {}
};

// Nothing could read the data, or a codec failed while reading or writing.
class ImageIoExceptionFailedLoad : public ImageIoException {
public:
    explicit ImageIoExceptionFailedLoad(std::string message = "cannot read the image")
        : ImageIoException(std::move(message)) {}
};

// A decoder's answer that the data is not in its format at all (wrong signature), so that the
// registrar can tell a foreign file from a broken one of a known format.
class ImageIoExceptionNotThisFormat : public ImageIoExceptionFailedLoad {
public:
    explicit ImageIoExceptionNotThisFormat(std::string message)
        : ImageIoExceptionFailedLoad(std::move(message)) {}
};

// No writer is registered for the extension.
class ImageIoExceptionUnknownExtension : public ImageIoException {
public:
    explicit ImageIoExceptionUnknownExtension(std::string message = "unknown file extension")
        : ImageIoException(std::move(message)) {}
};

}  // namespace loom
