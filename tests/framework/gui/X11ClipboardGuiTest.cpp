// The X clipboard against other clients on the display: a second clipboard pastes what the first
// copied, a picture larger than one request in pieces; and on closing, what was copied goes to a
// clipboard manager (a fake one of the test's own, asking as real managers do).
// gtest first: Xlib defines None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <optional>
#include <string>
#include <thread>

#include "framework/desktop/X11Clipboard.h"
#include "tools/WaitUntil.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

using loom::framework::Pasted;
using loom::framework::desktop::X11Clipboard;
using loom::testtools::waitUntil;

namespace {

// Owns CLIPBOARD_MANAGER; asked to SAVE_TARGETS, it asks the clipboard's owner for image/png,
// keeps what comes, and answers the request.
class FakeManager {
public:
    FakeManager() : display_(XOpenDisplay(nullptr)) {
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(display_, atom("CLIPBOARD_MANAGER"), window_, CurrentTime);
        XSync(display_, False);
        thread_ = std::thread([this] { run(); });
    }
    ~FakeManager() {
        stop_ = true;
        thread_.join();
        XCloseDisplay(display_);
    }
    bool owns() { return XGetSelectionOwner(display_, atom("CLIPBOARD_MANAGER")) == window_; }
    const std::optional<std::string>& saved() const { return saved_; }  // after done()
    bool done() const { return done_; }

private:
    Atom atom(const char* name) { return XInternAtom(display_, name, False); }

    void run() {
        XSelectionRequestEvent asked{};
        while (!stop_ && !done_) {
            if (XPending(display_) == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == SelectionRequest &&
                event.xselectionrequest.target == atom("SAVE_TARGETS")) {
                asked = event.xselectionrequest;
                XConvertSelection(display_, atom("CLIPBOARD"), atom("image/png"), atom("SAVED"), window_,
                                  CurrentTime);
                XFlush(display_);
            } else if (event.type == SelectionNotify &&
                       event.xselection.selection == atom("CLIPBOARD")) {
                saved_ = readSaved(event.xselection.property);
                XSelectionEvent reply{};
                reply.type = SelectionNotify;
                reply.requestor = asked.requestor;
                reply.selection = asked.selection;
                reply.target = asked.target;
                reply.property = asked.property;
                reply.time = asked.time;
                XSendEvent(display_, asked.requestor, False, NoEventMask,
                           reinterpret_cast<XEvent*>(&reply));
                XFlush(display_);
                done_ = true;
            }
        }
    }
    std::optional<std::string> readSaved(Atom property) {
        if (property == None) return std::nullopt;
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display_, window_, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type,
                           &format, &items, &after, &data);
        std::string bytes(reinterpret_cast<const char*>(data), items);
        XFree(data);
        return bytes;
    }

    Display* display_;
    Window window_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::optional<std::string> saved_;
};

// Serves both until the second's paste has come.
Pasted pasteBetween(X11Clipboard& from, X11Clipboard& to) {
    std::optional<Pasted> pasted;
    waitUntil([&] {
        from.serve();
        to.serve();
        return bool(pasted = to.takePaste());
    });
    return pasted.value_or(Pasted{"", "", "nothing came"});
}

}  // namespace

TEST(X11Clipboard, APicturePastesWholeInOnePieceOrInManyAndOnlyOfATypeOffered) {
    std::unique_ptr<X11Clipboard> from = X11Clipboard::open(), to = X11Clipboard::open();
    ASSERT_TRUE(from && to) << "no display";
    // A piece is 1 MiB on a server with big requests: exactly one, one byte past (in pieces), an
    // exact multiple (the empty last piece alone ends it), and far beyond.
    constexpr size_t MiB = size_t(1) << 20;
    for (const size_t size : {size_t(100), MiB, MiB + 1, 2 * MiB, 6 * MiB}) {
        std::string picture(size, '\0');
        for (size_t i = 0; i < size; ++i) picture[i] = char(i * 7 + i / 4093);
        from->copy({{"image/bmp", [] { return std::string("bmp"); }},
                    {"image/png", [picture] { return picture; }}});
        to->paste({"image/webp", "image/png", "image/bmp"});
        const Pasted pasted = pasteBetween(*from, *to);
        EXPECT_EQ(pasted.error, "");
        EXPECT_EQ(pasted.type, "image/png") << "not the first type wanted that is offered";
        EXPECT_TRUE(pasted.bytes == picture) << size << " bytes came as " << pasted.bytes.size();
    }
    to->paste({"image/gif"});
    EXPECT_EQ(pasteBetween(*from, *to).error, "the clipboard holds no picture");
}

TEST(X11Clipboard, ClosingHandsWhatWasCopiedToAClipboardManager) {
    std::unique_ptr<X11Clipboard> clipboard = X11Clipboard::open();
    ASSERT_TRUE(clipboard) << "no display";
    FakeManager manager;
    ASSERT_TRUE(manager.owns());
    clipboard->copy({{"image/png", [] { return std::string("the picture"); }}});
    clipboard.reset();
    ASSERT_TRUE(waitUntil([&] { return manager.done(); })) << "the manager was never asked";
    EXPECT_EQ(manager.saved(), std::optional<std::string>("the picture"));
}
