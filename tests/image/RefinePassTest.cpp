// The in-place passes on small worked examples: sequential sweeps whose write-back at the right
// and bottom borders can undo a change, while at the left and top borders the change stands.
#include <gtest/gtest.h>

#include <functional>

#include "PixelTestUtil.h"
#include "RefinePassImpls.h"
#include "image/Upscale.h"

using loom::ChannelOrder;
using loom::Surface;
using namespace loom::test;

namespace {

// Every implementation of the pass must turn `before` into `after` (alpha differing from pixel to
// pixel, so colours alone are compared) and write only whole pixels of the image it started from.
void expectPass(PassKind pass, const Rows& before, const Rows& after) {
    for (const PassImpl& impl : passImpls(pass)) {
        Surface s = imageFromRows(before, ChannelOrder::RGBA);
        for (int y = 0; y < s.getHeight(); ++y)
            for (int x = 0; x < s.getWidth(); ++x) s.getData(x, y)[3] = uint8_t(x * 16 + y);
        const Surface original = loom::upscale(s, 0);
        impl.run(s, loom::PixelMatch::Colour);
        EXPECT_EQ(rowsOf(s), after) << impl.name;
        EXPECT_TRUE(noPixelInvented(s, original)) << impl.name;
    }
}

}  // namespace

TEST(RefinePasses, UniformImagesStayUnchanged) {
    const Rows flat = {"XXXXX", "XXXXX", "XXXXX", "XXXXX"};
    for (PassKind pass : ALL_PASSES) expectPass(pass, flat, flat);
}

TEST(IsolatedPixelPass, FourEqualEdgeNeighboursAreNeededAndBordersNeverFire) {
    expectPass(PassKind::IsolatedPixel, {"WWWWW", "WWKWW", "WKXKW", "WWKWW", "WWWWW"},
               {"WWWWW", "WWKWW", "WKKKW", "WWKWW", "WWWWW"});
    expectPass(PassKind::IsolatedPixel, {"WWWWW", "WWKWW", "WKXKW", "WWWWW", "WWWWW"},
               {"WWWWW", "WWKWW", "WKXKW", "WWWWW", "WWWWW"});
    expectPass(PassKind::IsolatedPixel, {"WKW", "XWX", "WXW"}, {"WKW", "XWX", "WXW"});
}

TEST(Diagonal2xPass, AtTheRightBorderTheClampedDuplicateUndoesTheChange) {
    expectPass(PassKind::Diagonal2x, {"WWWW", "WWWK", "WWKW", "WWWW"}, {"WWWW", "WWKK", "WWKW", "WWWW"});
    expectPass(PassKind::Diagonal2x, {"WWWWW", "WWWKW", "WWKWW", "WWWWW", "WWWWW"},
               {"WWWWW", "WWKKW", "WWKKW", "WWWWW", "WWWWW"});
}

TEST(Diagonal2xPass, AtTheLeftBorderTheChangeStands) {
    expectPass(PassKind::Diagonal2x, {"WWWW", "WKWW", "KWWW", "WWWW"}, {"WWWW", "KKWW", "KKWW", "WWWW"});
}

TEST(Diagonal3xPass, ADiagonalLineThickensAroundItsMiddle) {
    expectPass(PassKind::Diagonal3x, {"WWWWW", "WKWWW", "WWKWW", "WWWKW", "WWWWW"},
               {"WWWWW", "WKKWW", "WKKKW", "WWKKW", "WWWWW"});
    expectPass(PassKind::Diagonal3x, {"WWWWW", "WWWKW", "WWKWW", "WKWWW", "WWWWW"},
               {"WWWWW", "WWKKW", "WKKKW", "WKKWW", "WWWWW"});
}

TEST(Corner3xPass, AnLFillsAndTheOppositeCornerIsNotLookedAt) {
    expectPass(PassKind::Corner3x, {"KKKKK", "KKWKK", "KWWKK", "KKKKK", "KKKKK"},
               {"KKKKK", "KKKKK", "KKKKK", "KKKKK", "KKKKK"});
    expectPass(PassKind::Corner3x, {"KKKKK", "KKWKK", "KWWKK", "KKKXK", "KKKKK"},
               {"KKKKK", "KKKKK", "KKKKK", "KKKXK", "KKKKK"});
}
