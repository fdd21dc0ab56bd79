// The services the app's tests run on: a dialog that never answered would block the window's input
// for good, and a watch that reported changes would reload the picture every frame.
#include <gtest/gtest.h>

#include "framework/PlatformServices.h"

using namespace loom::framework;

TEST(DoNothingServices, DialogsCancelAtOnceAndNoFileEverChanges) {
    const PlatformServices services = doNothingServices();
    for (const FileDialogKind kind : {FileDialogKind::OPEN, FileDialogKind::SAVE}) {
        const std::unique_ptr<FileDialog> dialog = services.dialogs->start(kind, "/x/a.png", {"png"});
        EXPECT_EQ(dialog->kind(), kind);
        EXPECT_EQ(dialog->poll(), std::optional<std::string>(""));
    }
    services.watch->follow("/x/a.png");
    EXPECT_FALSE(services.watch->changed());
}
