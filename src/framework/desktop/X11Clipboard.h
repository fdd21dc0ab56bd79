// X11Clipboard: the clipboard on an X display (framework/Clipboard.h), spoken over the selection
// protocol on a connection of its own, since the window library carries text only. It owns the
// CLIPBOARD selection with an unmapped window of its own; a picture larger than one request goes
// in pieces (INCR), and what was copied is handed to a clipboard manager, when one runs, as the
// window closes, so that it can still be pasted afterwards.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Clipboard.h"

namespace loom::framework::desktop {

class X11Clipboard : public Clipboard {
public:
    // How long a paste waits for the clipboard's owner, between pieces too, and how long the
    // hand-over to a clipboard manager may take.
    static constexpr std::chrono::seconds PATIENCE{3};
    // A paste larger than this is refused rather than fill the memory.
    static constexpr size_t MAX_PASTE_BYTES = size_t(512) << 20;

    // On the display DISPLAY names; none when it cannot be opened.
    static std::unique_ptr<X11Clipboard> open();
    // Hands what was copied to a clipboard manager, if one runs.
    ~X11Clipboard() override;

    void copy(std::vector<ClipboardOffer> offers) override;
    void paste(std::vector<std::string> types) override;
    void serve() override;
    std::optional<Pasted> takePaste() override;

private:
    class Session;  // the connection and the protocol's state, kept out of this header (Xlib's
                    // macros would leak into every includer)
    explicit X11Clipboard(std::unique_ptr<Session> session);

    std::unique_ptr<Session> session_;
};

}  // namespace loom::framework::desktop
