#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/FakeImages.h"
#include "io/ImageIoExc.h"
#include "io/ImageIoRegistrar.h"
#include "io/codec/BuiltInCodecs.h"

using namespace loom;

namespace {

ImageIoRegistrar::SourceCreationFunc sourceThat(std::vector<int>& calls, int id, bool accepts,
                                                bool foreign = true) {
    return [&calls, id, accepts, foreign](DataSourceRef, ImageSource::Options) -> ImageSourceRef {
        calls.push_back(id);
        if (!accepts) {
            if (foreign) throw ImageIoNotThisFormatExc("not format " + std::to_string(id));
            throw ImageIoFailedLoadExc("format " + std::to_string(id) + ": truncated data");
        }
        return std::make_shared<loom::test::FakeSource>(
            1, 1, ImageIo::RGB, ImageIo::UINT8, ImageIo::RGB_ORDER, std::vector<uint8_t>{1, 2, 3});
    };
}

ImageIoRegistrar::TargetCreationFunc targetNamed(std::string& chosen, const std::string& name) {
    return
        [&chosen, name](DataTargetRef, ImageSourceRef, ImageTarget::Options, const std::string& data) {
            chosen = name + ":" + data;
            return std::make_shared<loom::test::FakeTarget>(1, 1, ImageIo::RGB, ImageIo::UINT8,
                                                            ImageIo::RGB_ORDER);
        };
}

DataSourceRef someBytes() { return makeBufferSource(Buffer(4)); }

}  // namespace

TEST(Registrar, SourcesAreTriedInPriorityOrderUntilOneAccepts) {
    ImageIoRegistrar::Inst registrar;
    std::vector<int> calls;
    registrar.registerSourceGeneric(sourceThat(calls, 30, true), 30);
    registrar.registerSourceGeneric(sourceThat(calls, 10, false), 10);
    registrar.registerSourceGeneric(sourceThat(calls, 20, true), 20);
    registrar.registerSourceGeneric(sourceThat(calls, 99, true), 20);  // equal key: ignored
    EXPECT_TRUE(registrar.createSource(someBytes(), {}));
    EXPECT_EQ(calls, (std::vector<int>{10, 20}));
}

TEST(Registrar, FailedLoadExplainsWhy) {
    ImageIoRegistrar::Inst empty;
    EXPECT_THROW(empty.createSource(someBytes(), {}), ImageIoFailedLoadExc);

    ImageIoRegistrar::Inst registrar;
    std::vector<int> calls;
    registrar.registerSourceGeneric(sourceThat(calls, 1, false), 1);
    registrar.registerSourceGeneric(sourceThat(calls, 2, false, false), 2);
    registrar.registerSourceGeneric(sourceThat(calls, 3, false), 3);
    try {
        registrar.createSource(someBytes(), {});
        FAIL() << "expected ImageIoFailedLoadExc";
    } catch (const ImageIoFailedLoadExc& e) {
        EXPECT_STREQ(e.what(), "format 2: truncated data") << "the decoder that knew the format speaks";
    }
    EXPECT_EQ(calls.size(), 3u) << "a failing decoder does not stop the others";

    ImageIoRegistrar::Inst foreignOnly;
    foreignOnly.registerSourceGeneric(sourceThat(calls, 1, false), 1);
    try {
        foreignOnly.createSource(makeBufferSource(Buffer(0)), {});
        FAIL() << "expected ImageIoFailedLoadExc";
    } catch (const ImageIoFailedLoadExc& e) {
        EXPECT_STREQ(e.what(), "the file is empty");
    }
}

TEST(Registrar, TargetsByLowerCasedExtensionAndLowestPriority) {
    ImageIoRegistrar::Inst registrar;
    std::string chosen;
    registrar.registerTargetType("PNG", targetNamed(chosen, "late"), 5, "png");
    registrar.registerTargetType("png", targetNamed(chosen, "early"), 2, "png");
    registrar.registerTargetType("Tif", targetNamed(chosen, "tif"), 2, "tif");
    registrar.registerTargetType("tiff", targetNamed(chosen, "tif"), 2, "tif");
    registrar.registerTargetType("jpe", targetNamed(chosen, "jpg"), 2, "jpg");

    EXPECT_TRUE(registrar.createTarget(nullptr, nullptr, {}, "PnG"));
    EXPECT_EQ(chosen, "early:png");
    EXPECT_TRUE(registrar.createTarget(nullptr, nullptr, {}, "TIFF"));
    EXPECT_EQ(chosen, "tif:tif");
    EXPECT_FALSE(registrar.createTarget(nullptr, nullptr, {}, "gif"));
    EXPECT_EQ(registrar.getWriteExtensions(), (std::vector<std::string>{"jpe", "png", "tif", "tiff"}));
}

TEST(Registrar, BuiltInCodecsAreRegisteredOnFirstUse) {
    const std::vector<std::string> expected = {"bmp", "gif", "jpe",  "jpeg", "jpg",
                                               "png", "tif", "tiff", "webp", "wmp"};
    EXPECT_EQ(builtInCodecs().getWriteExtensions(), expected);
    EXPECT_EQ(toLowerAscii("ÄbC.PNG"), "Äbc.png") << "only A to Z are lowered";
}
