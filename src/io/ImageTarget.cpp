#include "io/ImageTarget.h"

#include "io/ImageIoExc.h"

namespace loom {

void ImageTarget::setRow(int32_t, const void*) {
    throw ImageIoExc("this image target takes rows only through getRowPointer");
}

}  // namespace loom
