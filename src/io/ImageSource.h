// ImageSource: the giving side of a pixel transfer. load() pushes every row into a target,
// converting each row to the target's channel order, sample type and colour model on the way.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "io/ImageIo.h"
#include "io/ImageTarget.h"
#include "io/Palette.h"

namespace loom {

class ImageSource : public ImageIo {
public:
    // Passed by the callers of loadImage through the registrar to the decoders.
    struct Options {
        int32_t index = 0;  // the frame to decode; 0 for the first
        // The page to decode, 0 for the first in file order; unset: the reader's choice. Pages are
        // the separate pictures of one file (an icon's sizes), not an animation's frames. Readers
        // of single-page files leave it to the caller to compare it with getPageCount().
        std::optional<int32_t> page;
        // For files whose animations name runs of frames: only the frames of this one. Empty: all.
        std::string tag;
        // How many times on each side the caller will enlarge every picture: one whose enlargement
        // would pass the image limits is refused as soon as its size is read, before it is decoded.
        int32_t scale = 1;

        Options& setIndex(int32_t i) { return index = i, *this; }
        Options& setPage(int32_t p) { return page = p, *this; }
        Options& setTag(std::string t) { return tag = std::move(t), *this; }
        Options& setScale(int32_t s) { return scale = s, *this; }
    };

    // The layout the chosen row converter works with: offsets in samples, -1 when absent.
    struct RowLayout {
        int8_t red = -1, green = -1, blue = -1, alpha = -1, gray = -1;
        uint8_t increment = 0;
    };
    using RowFunc = void (*)(const ImageSource&, ImageTarget&, int32_t, const void*);
    // The source's rows where it keeps them, in its own sample order and type, rowBytes apart,
    // for a target that would read them again rather than keep a copy. Null data when the
    // source holds no such rows.
    struct RowsInPlace {
        const uint8_t* data = nullptr;
        int64_t rowBytes = 0;
    };

    float getPixelAspectRatio() const { return pixelAspectRatio_; }
    bool isPremultiplied() const { return premultiplied_; }
    // How many frames the file holds: more than one for an animation, of which this is one.
    int32_t getFrameCount() const { return frameCount_; }
    // For an animation: composes the frame after this one as a viewer shows it, and describes it;
    // false, with this frame kept, when this one is the last (or the source is no animation).
    virtual bool nextFrame() { return false; }
    // How long this frame shows, in milliseconds (0 when the file does not say).
    virtual int32_t getFrameDelayMs() const { return 0; }
    // How often the animation repeats: 0 for ever, -1 when the file does not say (it plays once).
    virtual int32_t getLoopCount() const { return -1; }
    // The colour table of an indexed picture; empty for any other.
    const Palette& getPalette() const { return palette_; }
    // How many separate pictures the file holds, of which this is one.
    int32_t getPageCount() const { return pageCount_; }

    // Pushes every row into target.
    virtual void load(ImageTargetRef target) = 0;
    // Valid while the source lives.
    virtual RowsInPlace getRowsInPlace() const { return {}; }
    // Converts row `row` of the rows in place into target's row, as load() would push it: for a
    // writer that takes the rows one at a time while it encodes instead of keeping a copy. The
    // source must have rows in place.
    void loadRowInPlace(ImageTarget& target, int32_t row);

    const RowLayout& getSourceLayout() const { return sourceLayout_; }
    const RowLayout& getTargetLayout() const { return targetLayout_; }

protected:
    // Chooses the row converter for target (one of 72, by source type, target type, the two
    // colour models and whether both sides carry alpha). Throws ImageIoIllegalDataTypeExc,
    // ImageIoIllegalColorModelExc or ImageIoIllegalSampleOrderExc when a side cannot be converted.
    void setupRowFunc(ImageTarget& target);
    // Converts one source row (this source's layout) into the target's row `row`.
    void processRow(ImageTarget& target, int32_t row, const void* sourceRow) const {
        rowFunc_(*this, target, row, sourceRow);
    }

    void setPixelAspectRatio(float ratio) { pixelAspectRatio_ = ratio; }
    void setPremultiplied(bool premultiplied) { premultiplied_ = premultiplied; }
    void setFrameCount(int32_t count) { frameCount_ = count; }
    void setPalette(Palette palette) { palette_ = std::move(palette); }
    void setPageCount(int32_t count) { pageCount_ = count; }

private:
    float pixelAspectRatio_ = 1.0f;
    bool premultiplied_ = false;
    int32_t frameCount_ = 1;
    Palette palette_;
    int32_t pageCount_ = 1;
    RowLayout sourceLayout_;
    RowLayout targetLayout_;
    RowFunc rowFunc_ = nullptr;
};

using ImageSourceRef = std::shared_ptr<ImageSource>;

}  // namespace loom
