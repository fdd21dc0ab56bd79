#include "framework/desktop/X11Clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <climits>
#include <map>
#include <stdexcept>

namespace loom::framework::desktop {

namespace {

using Clock = std::chrono::steady_clock;

// Xlib's default handler ends the process on any error, and a program asking for the clipboard
// may close its window while we write to it. Errors of our requests are ignored while a trap is
// set; it waits for the server's answer to them before it restores the handler before it.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display), previous_(XSetErrorHandler(ignore)) {}
    ~ErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

private:
    static int ignore(Display*, XErrorEvent*) { return 0; }

    Display* const display_;
    const XErrorHandler previous_;
};

}  // namespace

class X11Clipboard::Session {
public:
    explicit Session(Display* display)
        : display_(display),
          window_(XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)),
          clipboard_(atom("CLIPBOARD")),
          targets_(atom("TARGETS")),
          incr_(atom("INCR")),
          multiple_(atom("MULTIPLE")),
          atomPair_(atom("ATOM_PAIR")),
          manager_(atom("CLIPBOARD_MANAGER")),
          saveTargets_(atom("SAVE_TARGETS")),
          pasteProperty_(atom("LOOM_PASTE")) {
        XSelectInput(display_, window_, PropertyChangeMask);
        // A piece well inside the largest request the server takes, as other clients size them.
        const long requestWords = std::max(XExtendedMaxRequestSize(display_), XMaxRequestSize(display_));
        pieceBytes_ = size_t(std::min<long>(requestWords * 4 - 1024, 1 << 20));
    }

    ~Session() {
        handOver();
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }

    void copy(std::vector<ClipboardOffer> offers) {
        offers_ = std::move(offers);
        made_.clear();
        XSetSelectionOwner(display_, clipboard_, window_, CurrentTime);
        if (XGetSelectionOwner(display_, clipboard_) != window_) {
            offers_.clear();
            throw std::runtime_error("the display did not give the clipboard");
        }
        XFlush(display_);
    }

    void paste(std::vector<std::string> types) {
        pasteTypes_ = std::move(types);
        pasted_.reset();
        pieces_.clear();
        const Window owner = XGetSelectionOwner(display_, clipboard_);
        if (owner == None) return failPaste("the clipboard is empty");
        if (owner == window_) return pasteOwn();
        step_ = Step::TARGETS;
        deadline_ = Clock::now() + PATIENCE;
        XConvertSelection(display_, clipboard_, targets_, pasteProperty_, window_, CurrentTime);
        XFlush(display_);
    }

    void serve() {
        if (XPending(display_) == 0 && step_ == Step::NONE && outgoing_.empty()) return;
        const ErrorTrap trap(display_);
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            handle(event);
        }
        if (step_ != Step::NONE && Clock::now() > deadline_)
            failPaste("the program holding the clipboard did not answer");
        // A program that stopped taking pieces (it closed, say) is not waited for, nor its bytes kept.
        outgoing_.erase(
            std::remove_if(outgoing_.begin(), outgoing_.end(),
                           [](const Outgoing& o) { return Clock::now() - o.lastMove > PATIENCE; }),
            outgoing_.end());
    }

    std::optional<Pasted> takePaste() {
        std::optional<Pasted> pasted = std::move(pasted_);
        pasted_.reset();
        return pasted;
    }

private:
    struct Outgoing {  // a picture sent in pieces
        Window requestor;
        Atom property;
        Atom type;
        std::shared_ptr<const std::string> bytes;
        size_t sent = 0;
        Clock::time_point lastMove = Clock::now();  // when the last piece was asked for
    };
    enum class Step { NONE, TARGETS, DATA, PIECES };

    Atom atom(const std::string& name) const { return XInternAtom(display_, name.c_str(), False); }

    void handle(XEvent& event) {
        switch (event.type) {
            case SelectionRequest: answer(event.xselectionrequest); break;
            case SelectionClear:
                if (event.xselectionclear.selection == clipboard_) {
                    offers_.clear();  // another program copied: its offers are the clipboard's now
                    made_.clear();
                }
                break;
            case SelectionNotify:
                if (event.xselection.selection == manager_)
                    saved_ = true;
                else if (event.xselection.requestor == window_)
                    pasteStep(event.xselection);
                break;
            case PropertyNotify: propertyChanged(event.xproperty); break;
            default: break;
        }
    }

    void answer(const XSelectionRequestEvent& request) {
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.display = request.display;
        reply.requestor = request.requestor;
        reply.selection = request.selection;
        reply.target = request.target;
        reply.time = request.time;
        reply.property = None;
        // Clients from before the property was required give none: the target names one.
        const Atom property = request.property == None ? request.target : request.property;
        if (request.selection == clipboard_ && !offers_.empty()) {
            if (request.target == multiple_) {
                if (request.property != None && answerMultiple(request.requestor, property))
                    reply.property = property;
            } else if (writeTarget(request.requestor, request.target, property)) {
                reply.property = property;
            }
        }
        XSendEvent(display_, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(display_);
    }

    // Several targets at once, as clipboard managers ask: pairs of target and property, each
    // property set to None where that target cannot be given.
    bool answerMultiple(Window requestor, Atom property) {
        Atom type = None;
        int format = 0;
        std::vector<Atom> pairs = readAtoms(requestor, property, &type, &format, false);
        if (format != 32 || pairs.size() % 2 != 0) return false;
        for (size_t i = 0; i < pairs.size(); i += 2)
            if (!writeTarget(requestor, pairs[i], pairs[i + 1])) pairs[i + 1] = None;
        std::vector<long> words(pairs.begin(), pairs.end());
        XChangeProperty(display_, requestor, property, atomPair_, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(words.data()), int(words.size()));
        return true;
    }

    bool writeTarget(Window requestor, Atom target, Atom property) {
        if (target == targets_) {
            std::vector<long> list{long(targets_), long(multiple_)};
            for (const ClipboardOffer& offer : offers_) list.push_back(long(atom(offer.type)));
            XChangeProperty(display_, requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(list.data()), int(list.size()));
            return true;
        }
        for (const ClipboardOffer& offer : offers_) {
            if (atom(offer.type) != target) continue;
            std::shared_ptr<const std::string> bytes;
            try {
                bytes = made(offer);
            } catch (const std::exception&) {
                return false;  // it could not be made: refused like a type not offered
            }
            if (bytes->size() > pieceBytes_) {
                // In pieces: each one written once the requestor deleted the one before.
                XSelectInput(display_, requestor, PropertyChangeMask);
                const long size = long(bytes->size());
                XChangeProperty(display_, requestor, property, incr_, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(&size), 1);
                outgoing_.push_back({requestor, property, target, bytes});
            } else {
                XChangeProperty(display_, requestor, property, target, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(bytes->data()),
                                int(bytes->size()));
            }
            return true;
        }
        return false;
    }

    const std::shared_ptr<const std::string>& made(const ClipboardOffer& offer) {
        std::shared_ptr<const std::string>& bytes = made_[offer.type];
        if (!bytes) bytes = std::make_shared<const std::string>(offer.bytes());
        return bytes;
    }

    void propertyChanged(const XPropertyEvent& event) {
        if (event.state == PropertyDelete) {
            for (auto it = outgoing_.begin(); it != outgoing_.end(); ++it) {
                if (it->requestor != event.window || it->property != event.atom) continue;
                const size_t size = std::min(pieceBytes_, it->bytes->size() - it->sent);
                // The last piece is an empty one.
                XChangeProperty(display_, it->requestor, it->property, it->type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(it->bytes->data() + it->sent),
                                int(size));
                it->sent += size;
                it->lastMove = Clock::now();
                if (size == 0) {
                    XSelectInput(display_, it->requestor, NoEventMask);
                    outgoing_.erase(it);
                }
                XFlush(display_);
                return;
            }
            return;
        }
        if (event.window != window_ || event.atom != pasteProperty_ || step_ != Step::PIECES) return;
        Atom type = None;
        int format = 0;
        const std::string piece = readBytes(window_, pasteProperty_, &type, &format);
        deadline_ = Clock::now() + PATIENCE;
        if (!piece.empty()) {
            if (pieces_.size() + piece.size() > MAX_PASTE_BYTES)
                return failPaste("the clipboard's picture is larger than " +
                                 std::to_string(MAX_PASTE_BYTES >> 20) + " MiB");
            pieces_ += piece;
            return;
        }
        finishPaste({pasteType_, std::move(pieces_), ""});
    }

    void pasteOwn() {
        for (const std::string& type : pasteTypes_)
            for (const ClipboardOffer& offer : offers_)
                if (offer.type == type) return finishPaste({type, *made(offer), ""});
        failPaste("the clipboard holds no picture");
    }

    void pasteStep(const XSelectionEvent& notice) {
        if (notice.property == None) {
            if (step_ == Step::TARGETS) return failPaste("the clipboard holds nothing it can give");
            if (step_ == Step::DATA)
                return failPaste("the program holding the clipboard refused to give it");
            return;
        }
        Atom type = None;
        int format = 0;
        if (step_ == Step::TARGETS) {
            const std::vector<Atom> offered = readAtoms(window_, notice.property, &type, &format, true);
            for (const std::string& wanted : pasteTypes_) {
                if (std::find(offered.begin(), offered.end(), atom(wanted)) == offered.end()) continue;
                pasteType_ = wanted;
                step_ = Step::DATA;
                deadline_ = Clock::now() + PATIENCE;
                XConvertSelection(display_, clipboard_, atom(wanted), pasteProperty_, window_,
                                  CurrentTime);
                XFlush(display_);
                return;
            }
            return failPaste("the clipboard holds no picture");
        }
        if (step_ != Step::DATA) return;
        std::string bytes = readBytes(window_, notice.property, &type, &format);
        if (type == incr_) {
            step_ = Step::PIECES;  // deleting the property (done as it was read) asks for the first
            deadline_ = Clock::now() + PATIENCE;
            return;
        }
        finishPaste({pasteType_, std::move(bytes), ""});
    }

    void finishPaste(Pasted pasted) {
        pasted_ = std::move(pasted);
        step_ = Step::NONE;
        pieces_.clear();
    }
    void failPaste(const std::string& why) { finishPaste({"", "", why}); }

    // The whole property, deleted as read when asked. Format 32 items come as longs.
    std::string readBytes(Window window, Atom property, Atom* type, int* format, bool remove = true) {
        std::string bytes;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, property, 0, LONG_MAX / 4, remove ? True : False,
                               AnyPropertyType, type, format, &items, &after, &data) != Success)
            return bytes;
        const size_t unit = *format == 32 ? sizeof(long) : *format == 16 ? sizeof(short) : 1;
        if (data) bytes.assign(reinterpret_cast<const char*>(data), items * unit);
        XFree(data);
        return bytes;
    }

    std::vector<Atom> readAtoms(Window window, Atom property, Atom* type, int* format, bool remove) {
        const std::string bytes = readBytes(window, property, type, format, remove);
        std::vector<Atom> atoms;
        if (*format != 32) return atoms;
        for (size_t at = 0; at + sizeof(long) <= bytes.size(); at += sizeof(long)) {
            long word = 0;
            std::copy_n(bytes.data() + at, sizeof word, reinterpret_cast<char*>(&word));
            atoms.push_back(Atom(word));
        }
        return atoms;
    }

    // What was copied goes to a clipboard manager, if one runs: it asks for every target, then
    // answers; the window waits for that, serving, but no longer than its patience.
    void handOver() {
        if (offers_.empty() || XGetSelectionOwner(display_, clipboard_) != window_ ||
            XGetSelectionOwner(display_, manager_) == None)
            return;
        const ErrorTrap trap(display_);
        XConvertSelection(display_, manager_, saveTargets_, None, window_, CurrentTime);
        XFlush(display_);
        const Clock::time_point until = Clock::now() + PATIENCE;
        while ((!saved_ || !outgoing_.empty()) && Clock::now() < until) {
            if (XPending(display_) == 0) {
                pollfd connection{ConnectionNumber(display_), POLLIN, 0};
                poll(&connection, 1, 10);
                continue;
            }
            XEvent event;
            XNextEvent(display_, &event);
            handle(event);
        }
    }

    Display* const display_;
    const Window window_;
    const Atom clipboard_, targets_, incr_, multiple_, atomPair_, manager_, saveTargets_, pasteProperty_;
    size_t pieceBytes_ = 0;

    std::vector<ClipboardOffer> offers_;
    std::map<std::string, std::shared_ptr<const std::string>> made_;  // by type, once asked for
    std::vector<Outgoing> outgoing_;

    std::vector<std::string> pasteTypes_;
    Step step_ = Step::NONE;
    std::string pasteType_;
    std::string pieces_;
    Clock::time_point deadline_;
    std::optional<Pasted> pasted_;
    bool saved_ = false;  // the manager answered the hand-over
};

std::unique_ptr<X11Clipboard> X11Clipboard::open() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    return std::unique_ptr<X11Clipboard>(new X11Clipboard(std::make_unique<Session>(display)));
}

X11Clipboard::X11Clipboard(std::unique_ptr<Session> session) : session_(std::move(session)) {}
X11Clipboard::~X11Clipboard() = default;

void X11Clipboard::copy(std::vector<ClipboardOffer> offers) { session_->copy(std::move(offers)); }
void X11Clipboard::paste(std::vector<std::string> types) { session_->paste(std::move(types)); }
void X11Clipboard::serve() { session_->serve(); }
std::optional<Pasted> X11Clipboard::takePaste() { return session_->takePaste(); }

}  // namespace loom::framework::desktop
