#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "image/Surface.h"
#include "io/DataSource.h"
#include "io/ImageFile.h"
#include "io/TempDir.h"

using namespace loom;

// Inputs that once crashed or stalled the loader under the fuzzer: each must now either load or
// fail with a message, quickly (the sanitizer build runs these too). An animation is walked to its
// last frame as well, as a conversion does.
TEST(FuzzRegressions, EveryKeptInputLoadsOrFailsCleanly) {
    const std::filesystem::path dir = std::filesystem::path(LOOM_SOURCE_DIR) / "fuzz" / "regressions";
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const auto bytes = loom::test::readFile(entry.path().string());
        try {
            const ImageSourceRef source = loadImage(
                makeBufferSource(Buffer(const_cast<uint8_t*>(bytes.data()), int32_t(bytes.size()))));
            Surface s(source);
            EXPECT_GT(s.getWidth(), 0) << entry.path();
            while (source->nextFrame())
                EXPECT_EQ(Surface(source).getWidth(), s.getWidth()) << entry.path();
        } catch (const ImageIoExc& e) {
            EXPECT_GT(std::strlen(e.what()), 0u) << entry.path();
        }
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}
