#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "io/codec/ZlibPieces.h"

using namespace loom;

// Pieces compressed apart, each reaching back into the one before, join into one zlib stream that
// inflates to all the data.
TEST(ZlibPieces, PiecesJoinIntoOneStream) {
    std::mt19937 random(3);
    std::vector<uint8_t> noise(300000), runs(300000);
    for (auto& b : noise) b = uint8_t(random());
    for (size_t i = 0; i < runs.size(); ++i) runs[i] = uint8_t(i / 700 % 5 + (random() % 40 == 0));
    const std::vector<uint8_t> few(runs.begin(), runs.begin() + 3000);
    struct Case {
        const char* what;
        const std::vector<uint8_t>& data;
        size_t piece;
        DeflateEffort effort;
    };
    const Case cases[] = {
        {"noise", noise, 70000, {1}},
        {"runs repeating across the cuts", runs, 100000, {7}},
        {"pieces shorter than the window", few, 100, {6}},
        {"one piece", runs, runs.size(), {9}},
        {"uneven pieces, limits of its own", noise, 123457, {9, 4, 258, 258, 512}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> stream;
        ZlibPieces zlib(c.effort,
                        [&](const uint8_t* d, size_t n) { stream.insert(stream.end(), d, d + n); });
        std::vector<uint8_t> piece;
        for (size_t at = 0; at < c.data.size(); at += c.piece) {
            const size_t end = std::min(c.data.size(), at + c.piece);
            piece.assign(c.data.begin() + long(at), c.data.begin() + long(end));
            zlib.add(piece, end == c.data.size());
        }
        std::vector<uint8_t> inflated(c.data.size() + 1);
        uLongf size = inflated.size();
        ASSERT_EQ(uncompress(inflated.data(), &size, stream.data(), stream.size()), Z_OK) << c.what;
        inflated.resize(size);
        EXPECT_TRUE(inflated == c.data) << c.what;
    }
}
