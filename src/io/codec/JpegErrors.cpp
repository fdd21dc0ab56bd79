#include "io/codec/JpegErrors.h"

#include <jerror.h>

namespace loom {

namespace {

void exitWithError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    cinfo->err->format_message(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (stray bytes, a damaged tail) do not stop the decode, except the data ending early:
// libjpeg would fill the rest with gray, and a user should hear that the file is cut short.
// Stopping at once also spares filling a large image with gray first.
void noteMessage(j_common_ptr cinfo, int level) {
    if (level == -1 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
        manager->truncated = true;
        std::snprintf(manager->message, sizeof(manager->message), "truncated data");
        std::longjmp(manager->jump, 1);
    }
}

}  // namespace

jpeg_error_mgr* installJpegErrors(JpegErrorManager& manager) {
    jpeg_error_mgr* err = jpeg_std_error(&manager.pub);
    err->error_exit = exitWithError;
    err->emit_message = noteMessage;
    manager.message[0] = '\0';
    manager.truncated = false;
    return err;
}

}  // namespace loom
