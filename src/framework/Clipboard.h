// The desktop's clipboard, a service of the desktop the window runs on: what the window copies is
// offered to other programs for as long as it owns the clipboard, and what it pastes is asked for
// without waiting. Both move on only in serve(), which the window calls every frame. The desktop's
// own implementation is in desktop/; the tests without one use a clipboard that holds nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace loom::framework {

// One form of what is copied: its type ("image/png") and its bytes, made when a program asks.
struct ClipboardOffer {
    std::string type;
    std::function<std::string()> bytes;
};

// What a paste brought: the type taken and its bytes, or why nothing came.
struct Pasted {
    std::string type;
    std::string bytes;
    std::string error;  // "" when something came
};

class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Takes the clipboard with these offers, in order of preference; throws std::runtime_error,
    // naming why, when it cannot.
    virtual void copy(std::vector<ClipboardOffer> offers) = 0;
    // Asks for the first of these types, in order of preference, the clipboard holds; the answer
    // comes from takePaste(). A paste asked for while one is under way replaces it.
    virtual void paste(std::vector<std::string> types) = 0;
    // Serves the programs asking for what was copied and moves a paste on. Never blocks.
    virtual void serve() = 0;
    // The paste's answer, once, when it has come (or failed, or timed out).
    virtual std::optional<Pasted> takePaste() = 0;
};

}  // namespace loom::framework
