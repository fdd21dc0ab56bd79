#include <gtest/gtest.h>

#include <filesystem>

#include "io/Paths.h"
#include "io/TempDir.h"
#include "io/Unicode.h"

using namespace loom;

TEST(Paths, DirectoryAndExtension) {
    EXPECT_EQ(getPathDirectory("/img/a.png"), "/img/");
    EXPECT_EQ(getPathExtension("/img/a.png"), "png");
    EXPECT_EQ(getPathDirectory("a.png"), "");
    EXPECT_EQ(getPathExtension("/my.dir/file"), "") << "the dot belongs to a directory";
    EXPECT_EQ(getPathExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(getPathExtension("name."), "");
    EXPECT_EQ(getPathExtension("noext"), "");
}

TEST(Paths, CanonicalResolvesDotsLexically) {
    EXPECT_EQ(getCanonicalPath("/a/./b/../c.png"), "/a/c.png");
    EXPECT_EQ(getCanonicalPath("x/../../y"), "../y");
    EXPECT_EQ(getCanonicalPath(""), "");
}

TEST(Paths, CreateDirectoriesAndDelete) {
    loom::test::TempDir dir;
    EXPECT_TRUE(createDirectories(""));
    EXPECT_TRUE(createDirectories(dir / "p/q/r"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "p/q/r"));
    EXPECT_FALSE(createDirectories(dir / "p/q/r")) << "an existing directory answers false";
    loom::test::writeFile(dir / "f", {1});
    EXPECT_FALSE(createDirectories(dir / "f/sub")) << "a file in the way";
    deleteFile(dir / "f");
    EXPECT_FALSE(std::filesystem::exists(dir / "f"));
    deleteFile(dir / "f");  // a second delete reports nothing
}

TEST(Unicode, RoundTripsValidText) {
    EXPECT_EQ(toUtf16(""), u"");
    const std::string text =
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x82\xAC \xF0\x9F\x98\x80";
    const std::u16string wide = toUtf16(text);
    EXPECT_EQ(wide, u"Grüße € \U0001F600");
    EXPECT_EQ(toUtf8(wide), text);
}

TEST(Unicode, InvalidInputGivesTheFixedMessages) {
    auto messageOf = [](auto&& f) {
        try {
            f();
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\x80z", "\xFF"})
        EXPECT_EQ(messageOf([&] { toUtf16(bad); }), "Invalid UTF-8 sequence.") << bad;
    EXPECT_EQ(messageOf([] { toUtf8(std::u16string(1, char16_t(0xD800))); }),
              "Error in UTF-16 to UTF-8 conversion.");
    EXPECT_EQ(messageOf([] { toUtf8(std::u16string(1, char16_t(0xDC00))); }),
              "Error in UTF-16 to UTF-8 conversion.");
}
