#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/document/FolderPaging.h"
#include "io/TempDir.h"

using loom::app::pagingOrder;
using loom::test::TempDir;

namespace {

// Names in byte order, upper case first; the paging sees only the images among them.
struct FolderPagingTest : ::testing::Test {
    void SetUp() override {
        for (const char* name : {"B.GIF", "a.png", "b.png", "c.webp", "notes.txt", ".hidden.png"})
            std::ofstream(folder / name) << "whatever";
        std::filesystem::create_directory(folder / "d.png");
    }
    std::vector<std::string> paths(const std::vector<std::string>& names) const {
        std::vector<std::string> result;
        for (const std::string& name : names) result.push_back(folder / name);
        return result;
    }
    TempDir folder;
};

}  // namespace

TEST_F(FolderPagingTest, ImagesInNameOrderRoundFromTheShownOne) {
    struct Case {
        const char* shown;
        int step;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"a.png", +1, {"b.png", "c.webp", "B.GIF"}},
        {"a.png", -1, {"B.GIF", "c.webp", "b.png"}},
        {"c.webp", +1, {"B.GIF", "a.png", "b.png"}},            // round past the last
        {"B.GIF", -1, {"c.webp", "b.png", "a.png"}},            // round past the first
        {"ab.png", +1, {"b.png", "c.webp", "B.GIF", "a.png"}},  // gone: from where it sorted
        {"notes.txt", -1, {"c.webp", "b.png", "a.png", "B.GIF"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pagingOrder(folder / c.shown, c.step), paths(c.order)) << c.shown << " by " << c.step;
}

TEST_F(FolderPagingTest, AFolderThatIsGoneHasNoImages) {
    EXPECT_TRUE(pagingOrder(folder / "gone/a.png", 1).empty());
}
