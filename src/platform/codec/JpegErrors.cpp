#include "platform/codec/JpegErrors.h"

namespace loom {

namespace {

void exitWithError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    cinfo->err->format_message(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

void ignoreMessage(j_common_ptr, int) {}

}  // namespace

jpeg_error_mgr* installJpegErrors(JpegErrorManager& manager) {
    jpeg_error_mgr* err = jpeg_std_error(&manager.pub);
    err->error_exit = exitWithError;
    err->emit_message = ignoreMessage;  // warnings (a corrupt tail) do not stop the decode
    manager.message[0] = '\0';
    return err;
}

}  // namespace loom
