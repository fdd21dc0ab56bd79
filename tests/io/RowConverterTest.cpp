#include <gtest/gtest.h>

#include <memory>

#include "io/FakeImages.h"
#include "io/ImageIoExc.h"

using namespace loom;
using loom::test::bytesOf;
using loom::test::FakeSource;
using loom::test::FakeTarget;

namespace {

template <typename S>
std::shared_ptr<FakeSource> source(int32_t w, ImageIo::ColorModel m, ImageIo::DataType t,
                                   ImageIo::SampleOrder o, const std::vector<S>& samples) {
    return std::make_shared<FakeSource>(w, 1, m, t, o, bytesOf(samples));
}

std::shared_ptr<FakeTarget> target(int32_t w, ImageIo::ColorModel m, ImageIo::DataType t,
                                   ImageIo::SampleOrder o) {
    return std::make_shared<FakeTarget>(w, 1, m, t, o);
}

}  // namespace

TEST(RowConverters, ReordersChannelsAndCarriesAlphaOnlyWhenBothHaveIt) {
    auto bgra =
        source<uint8_t>(2, ImageIo::RGB, ImageIo::UINT8, ImageIo::BGRA, {1, 2, 3, 4, 5, 6, 7, 8});
    auto rgba = target(2, ImageIo::RGB, ImageIo::UINT8, ImageIo::RGBA);
    bgra->load(rgba);
    EXPECT_EQ(rgba->bytes(), (std::vector<uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}));

    auto argb = target(2, ImageIo::RGB, ImageIo::UINT8, ImageIo::ARGB);
    auto rgb = source<uint8_t>(2, ImageIo::RGB, ImageIo::UINT8, ImageIo::RGB_ORDER, {1, 2, 3, 4, 5, 6});
    rgb->load(argb);
    EXPECT_EQ(argb->bytes(), (std::vector<uint8_t>{0xAB, 1, 2, 3, 0xAB, 4, 5, 6}))
        << "a source without alpha leaves the target's alpha unwritten";

    auto toRgb = target(2, ImageIo::RGB, ImageIo::UINT8, ImageIo::BGR);
    bgra->load(toRgb);
    EXPECT_EQ(toRgb->bytes(), (std::vector<uint8_t>{1, 2, 3, 5, 6, 7}));
}

TEST(RowConverters, SampleConversionsAtTheEnds) {
    auto u16 = source<uint16_t>(3, ImageIo::GRAY, ImageIo::UINT16, ImageIo::Y, {65535, 256, 0});
    auto u8 = target(3, ImageIo::GRAY, ImageIo::UINT8, ImageIo::Y);
    u16->load(u8);
    EXPECT_EQ(u8->bytes(), (std::vector<uint8_t>{255, 0, 0})) << "integer division by 257";

    auto u8src = source<uint8_t>(2, ImageIo::GRAY, ImageIo::UINT8, ImageIo::Y, {255, 1});
    auto u16t = target(2, ImageIo::GRAY, ImageIo::UINT16, ImageIo::Y);
    u8src->load(u16t);
    EXPECT_EQ(u16t->samples<uint16_t>(), (std::vector<uint16_t>{65535, 257}));

    auto ft = target(2, ImageIo::GRAY, ImageIo::FLOAT32, ImageIo::Y);
    u8src->load(ft);
    EXPECT_FLOAT_EQ(ft->samples<float>()[0], 1.0f);
    EXPECT_FLOAT_EQ(ft->samples<float>()[1], 1.0f / 255.0f);

    // Floats are truncated toward zero and keep their low bits; NaN does not crash.
    auto fsrc = source<float>(4, ImageIo::GRAY, ImageIo::FLOAT32, ImageIo::Y,
                              {1.0f, 0.999f, 1.5f, std::numeric_limits<float>::quiet_NaN()});
    auto f8 = target(4, ImageIo::GRAY, ImageIo::UINT8, ImageIo::Y);
    fsrc->load(f8);
    EXPECT_EQ(f8->bytes()[0], 255);
    EXPECT_EQ(f8->bytes()[1], 254);
    EXPECT_EQ(f8->bytes()[2], uint8_t(382 & 0xFF));
    EXPECT_EQ(f8->bytes()[3], 0);
}

TEST(RowConverters, LumaFormulasPerSourceType) {
    auto red = source<uint8_t>(1, ImageIo::RGB, ImageIo::UINT8, ImageIo::RGB_ORDER, {255, 0, 0});
    auto gray = target(1, ImageIo::GRAY, ImageIo::UINT8, ImageIo::Y);
    red->load(gray);
    EXPECT_EQ(gray->bytes()[0], 53);

    auto white16 =
        source<uint16_t>(1, ImageIo::RGB, ImageIo::UINT16, ImageIo::RGB_ORDER, {65535, 65535, 65535});
    auto gray8 = target(1, ImageIo::GRAY, ImageIo::UINT8, ImageIo::Y);
    white16->load(gray8);
    EXPECT_EQ(gray8->bytes()[0], (6966u + 23436u + 2366u) * 65535u / 8421376u)
        << "one division by 257 x 32768";
    auto gray16 = target(1, ImageIo::GRAY, ImageIo::UINT16, ImageIo::Y);
    white16->load(gray16);
    EXPECT_EQ(gray16->samples<uint16_t>()[0], (6966u + 23436u + 2366u) * 65535u >> 15);

    auto greenF =
        source<float>(1, ImageIo::RGB, ImageIo::FLOAT32, ImageIo::RGB_ORDER, {0.0f, 1.0f, 0.0f});
    auto grayF = target(1, ImageIo::GRAY, ImageIo::FLOAT32, ImageIo::Y);
    greenF->load(grayF);
    EXPECT_FLOAT_EQ(grayF->samples<float>()[0], 0.7152f);
}

TEST(RowConverters, GrayToColourAndGrayAlpha) {
    auto ya = source<uint8_t>(2, ImageIo::GRAY, ImageIo::UINT8, ImageIo::YA, {10, 20, 30, 40});
    auto rgba = target(2, ImageIo::RGB, ImageIo::UINT8, ImageIo::RGBA);
    ya->load(rgba);
    EXPECT_EQ(rgba->bytes(), (std::vector<uint8_t>{10, 10, 10, 20, 30, 30, 30, 40}));

    auto rgba16 = source<uint16_t>(1, ImageIo::RGB, ImageIo::UINT16, ImageIo::RGBA, {0, 65535, 0, 257});
    auto yaT = target(1, ImageIo::GRAY, ImageIo::UINT8, ImageIo::YA);
    rgba16->load(yaT);
    EXPECT_EQ(yaT->bytes()[1], 1) << "alpha converted with the samples";
}

TEST(RowConverters, IllegalDescriptionsAreRefused) {
    auto ok = source<uint8_t>(1, ImageIo::RGB, ImageIo::UINT8, ImageIo::RGB_ORDER, {1, 2, 3});
    EXPECT_THROW(ok->load(target(1, ImageIo::RGB, ImageIo::DT_UNKNOWN, ImageIo::RGB_ORDER)),
                 ImageIoIllegalDataTypeExc);
    EXPECT_THROW(ok->load(target(1, ImageIo::CM_UNKNOWN, ImageIo::UINT8, ImageIo::RGB_ORDER)),
                 ImageIoIllegalColorModelExc);
    EXPECT_THROW(ok->load(target(1, ImageIo::RGB, ImageIo::UINT8, ImageIo::Y)),
                 ImageIoIllegalSampleOrderExc);
    EXPECT_THROW(ok->load(target(1, ImageIo::GRAY, ImageIo::UINT8, ImageIo::RGBA)),
                 ImageIoIllegalSampleOrderExc);
    EXPECT_THROW(ok->load(target(1, ImageIo::RGB, ImageIo::UINT8, ImageIo::SO_UNKNOWN)),
                 ImageIoIllegalSampleOrderExc);
}

TEST(RowConverters, EveryTypeAndModelPairRoundTripsWhite) {
    // Through all 3 x 3 x 2 x 2 choices: white stays white and alpha stays opaque.
    const ImageIo::DataType types[3] = {ImageIo::UINT8, ImageIo::UINT16, ImageIo::FLOAT32};
    for (auto st : types)
        for (auto dt : types)
            for (bool grayIn : {false, true})
                for (bool grayOut : {false, true}) {
                    std::vector<uint8_t> bytes;
                    const int channels = grayIn ? 2 : 4;
                    for (int c = 0; c < channels; ++c) {
                        if (st == ImageIo::UINT8) bytes.push_back(255);
                        if (st == ImageIo::UINT16) bytes.push_back(255), bytes.push_back(255);
                        if (st == ImageIo::FLOAT32) {
                            const auto b = bytesOf(std::vector<float>{1.0f});
                            bytes.insert(bytes.end(), b.begin(), b.end());
                        }
                    }
                    auto src =
                        std::make_shared<FakeSource>(1, 1, grayIn ? ImageIo::GRAY : ImageIo::RGB, st,
                                                     grayIn ? ImageIo::YA : ImageIo::RGBA, bytes);
                    auto dst = target(1, grayOut ? ImageIo::GRAY : ImageIo::RGB, dt,
                                      grayOut ? ImageIo::YA : ImageIo::RGBA);
                    src->load(dst);
                    const size_t n = grayOut ? 2 : 4;
                    for (size_t c = 0; c < n; ++c) {
                        double v = dt == ImageIo::UINT8    ? dst->bytes()[c]
                                   : dt == ImageIo::UINT16 ? dst->samples<uint16_t>()[c]
                                                           : dst->samples<float>()[c];
                        const double white = dt == ImageIo::UINT8    ? 255
                                             : dt == ImageIo::UINT16 ? 65535
                                                                     : 1.0;
                        // Luma of white may lose one step to its integer weights.
                        EXPECT_NEAR(v, white, white / 200.0)
                            << "types " << st << "->" << dt << " gray " << grayIn << "->" << grayOut
                            << " sample " << c;
                    }
                }
}
