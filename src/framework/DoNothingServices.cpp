// The services for runs without a desktop (PlatformServices.h).
#include "framework/PlatformServices.h"

#include <stdexcept>

namespace loom::framework {

namespace {

class CancelledDialog : public FileDialog {
public:
    explicit CancelledDialog(FileDialogKind kind) : kind_(kind) {}
    FileDialogKind kind() const override { return kind_; }
    std::optional<std::string> poll() override { return std::string(); }

private:
    FileDialogKind kind_;
};

class CancellingDialogs : public FileDialogs {
public:
    std::unique_ptr<FileDialog> start(FileDialogKind kind, const std::string&,
                                      const std::vector<std::string>&) override {
        return std::make_unique<CancelledDialog>(kind);
    }
};

class BlindFileWatch : public FileWatch {
public:
    void follow(const std::string&) override {}
    bool changed() override { return false; }
};

class NoClipboard : public Clipboard {
public:
    void copy(std::vector<ClipboardOffer>) override {
        throw std::runtime_error("no clipboard on this display");
    }
    void paste(std::vector<std::string>) override { asked_ = true; }
    void serve() override {}
    std::optional<Pasted> takePaste() override {
        if (!asked_) return std::nullopt;
        asked_ = false;
        return Pasted{"", "", "the clipboard is empty"};
    }

private:
    bool asked_ = false;
};

}  // namespace

PlatformServices doNothingServices() {
    return {std::make_shared<CancellingDialogs>(), std::make_shared<BlindFileWatch>(),
            std::make_shared<NoClipboard>()};
}

}  // namespace loom::framework
