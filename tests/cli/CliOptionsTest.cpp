#include <gtest/gtest.h>

#include <vector>

#include "cli/CliOptions.h"
#include "cli/OutputPath.h"

using namespace loom::cli;

namespace {

CliOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quennet");
    return parseCliOptions(int(args.size()), args.data());
}

}  // namespace

TEST(CliOptions, DefaultsAndValues) {
    const CliOptions d = parse({"a.png"});
    EXPECT_EQ(d.upscaler, 1) << "Scale2x";
    EXPECT_EQ(d.transform, 0);
    EXPECT_FLOAT_EQ(d.result.quality, 0.9f);
    EXPECT_FALSE(d.force);
    EXPECT_EQ(d.result.match, loom::PixelMatch::Seen);
    const std::vector<std::pair<const char*, loom::PixelMatch>> rules = {
        {"--compare=seen", loom::PixelMatch::Seen},
        {"--compare=Colour", loom::PixelMatch::Colour},
        {"--compare=color", loom::PixelMatch::Colour},
        {"--compare=RGBA", loom::PixelMatch::ColourAndAlpha},
    };
    for (const auto& [arg, rule] : rules) EXPECT_EQ(parse({arg, "a.png"}).result.match, rule) << arg;
    const CliOptions sheet =
        parse({"--edges=Wrap-X", "--cell-gap", "2", "--cells", "16x8", "--cell-margin=1", "a.png"});
    EXPECT_EQ(sheet.result.layout.edges, loom::EdgeRule::WrapX);
    ASSERT_TRUE(sheet.result.layout.cells);
    EXPECT_EQ(sheet.result.layout.cells->width, 16);
    EXPECT_EQ(sheet.result.layout.cells->height, 8);
    EXPECT_EQ(sheet.result.layout.cells->gap, 2) << "given before --cells";
    EXPECT_EQ(sheet.result.layout.cells->margin, 1);

    const CliOptions o =
        parse({"-u", "Eagle2x", "--transform=Bilinear", "--quad", "0,0,10,0,10,10,0,10", "-o", "out",
               "--quality", "0.5", "-f", "-j", "3", "--compare-alpha", "a.png", "--", "-b.png"});
    EXPECT_EQ(o.upscaler, 4);
    EXPECT_EQ(o.transform, 2);
    ASSERT_TRUE(o.quad);
    EXPECT_FLOAT_EQ((*o.quad)[2].x, 10.0f);
    EXPECT_EQ(o.output, "out");
    EXPECT_FLOAT_EQ(o.result.quality, 0.5f);
    EXPECT_TRUE(o.force);
    EXPECT_EQ(o.result.match, loom::PixelMatch::ColourAndAlpha);
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(o.inputs, (std::vector<std::string>{"a.png", "-b.png"}));
    EXPECT_TRUE(parse({"--list"}).list) << "no input needed";
    EXPECT_FALSE(d.frame);
    EXPECT_EQ(parse({"--frame", "3", "a.ico"}).frame, 3);
}

TEST(CliOptions, UsageErrors) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"-u", "Scale5x", "a.png"},
        {"-t", "Twirl", "a.png"},
        {"--quad", "1,2,3", "-t", "Projective", "a.png"},
        {"--quad", "0,0,1,0,1,1,0,1", "a.png"},  // a quad without a transform
        {"--quality", "1.5", "a.png"},
        {"--quality", "abc", "a.png"},
        {"-j", "0", "a.png"},
        {"--bogus", "a.png"},
        {"a.png", "-o"},
        {"--force=yes", "a.png"},
        {"--compare-alpha=1", "a.png"},
        {"--compare", "alpha", "a.png"},
        {"--edges", "mirror", "a.png"},
        {"--cells", "16", "a.png"},
        {"--cells", "0x16", "a.png"},
        {"--cell-gap", "1", "a.png"},  // without --cells
        {"--frame", "0", "a.ico"},
        {"--frame=2x", "a.ico"},
    };
    for (const auto& args : bad) EXPECT_THROW(parse(args), CliUsageExc) << (args.empty() ? "" : args[0]);
}

TEST(OutputPath, BesideTheInputIntoADirectoryOrAsGiven) {
    EXPECT_EQ(outputPathFor("/in/hero.png", "Scale2x", "", false), "/in/heroScale2x.png");
    EXPECT_EQ(outputPathFor("/in/hero.png", "Scale2x", "/out/big.bmp", false), "/out/big.bmp");
    EXPECT_EQ(outputPathFor("/in/hero.png", "Scale2x", "/out", true), "/out/heroScale2x.png");
    EXPECT_EQ(outputPathFor("/in/hero.png", "Scale2x", "/out/", false), "/out/heroScale2x.png");
}
