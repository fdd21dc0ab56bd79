// libjpeg's error handling made safe for C++: errors long-jump back to the decoding or encoding
// function (which holds no C++ objects across the jump) with the library's message kept.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <string>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace loom {

struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;  // the data ended before the image did (message says so)
};

// Installs the manager on cinfo's error field.
jpeg_error_mgr* installJpegErrors(JpegErrorManager& manager);

}  // namespace loom
