// NativeWindow: the platform's window as code outside the platform half sees it. It is never
// defined, only pointed at: the renderer hands such pointers out and only sdl/ knows what they
// point to, so no client header needs the platform's own types.
#pragma once

namespace loom::framework {

struct NativeWindow;

}  // namespace loom::framework
