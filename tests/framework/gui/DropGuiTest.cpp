// A real XDND drag of two files from the test's own drag source gives one FileDropEvent with both
// paths in order and the drop point in window pixels.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "GuiTestApp.h"
#include "tools/XWindows.h"

using namespace loom;
using namespace loom::framework;
using namespace loom::guitest;
using namespace loom::testtools;

namespace {

class DropApp : public GuiTestApp {
public:
    explicit DropApp(std::vector<FileDropEvent>* drops) : GuiTestApp("framework drop"), drops_(drops) {}
    void fileDrop(FileDropEvent event) override { drops_->push_back(event); }
    bool finished() override { return !drops_->empty() && *driverDone; }

private:
    std::vector<FileDropEvent>* drops_;
};

// Two files whose names need percent-encoding on the way through the drop.
struct DroppedFiles {
    std::filesystem::path dir;
    std::string first;
    std::string second;

    DroppedFiles() {
        dir = std::filesystem::temp_directory_path() / ("loom-drop-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        first = (dir / "sprite sheet.png").string();
        second = (dir / "100%-\xc3\xa9t\xc3\xa9.gif").string();
        std::ofstream(first) << "a";
        std::ofstream(second) << "b";
    }
    ~DroppedFiles() { std::filesystem::remove_all(dir); }
};

}  // namespace

TEST(Drop, TwoFilesDraggedInGiveOneEventWithBothPathsAndThePoint) {
    DroppedFiles files;
    std::vector<FileDropEvent> drops;
    auto drag = [&] {
        std::string w = waitForWindow("framework drop");
        ASSERT_FALSE(w.empty());
        dropFiles(w, 200, 150, {files.first, files.second});
    };
    ASSERT_EQ(runGuiApp(std::make_unique<DropApp>(&drops), RendererGl::AA_NONE, drag), 0);

    ASSERT_EQ(drops.size(), 1u) << "one event for the whole drop";
    EXPECT_EQ(drops[0].getFiles(), (std::vector<std::string>{files.first, files.second}));
    EXPECT_EQ(drops[0].getX(), 200);
    EXPECT_EQ(drops[0].getY(), 150);
}
