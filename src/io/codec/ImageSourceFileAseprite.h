// ImageSourceFileAseprite: the pixel-art editor's .aseprite (.ase) files in RGBA, greyscale or
// indexed colour. Each frame is composed as the editor shows it: the visible layers from the bottom
// up, each cel laid on with its layer's blend mode and its layer's opacity times its own; hidden
// layers, layers in hidden groups and reference layers are left out. Indexed cels show the header's
// transparent index as transparent except on the background layer. The frames are walked with
// nextFrame(), each with its own duration, looping for ever; the load options' tag restricts
// them to that tag's frames, in its direction.
//
// However a file nests its layers, composing takes no more stack and no more time than its layers
// and pixels: the layer tree is walked with a list of open groups, not by recursion. A group
// composed apart (the file's choice) is drawn on a canvas of its own only when what lies below it
// is not transparent, a canvas no larger than what the group draws; the canvases open at once hold
// at most MOST_GROUP_CANVAS_PIXELS pixels, or the picture's own count when larger, and a file that
// needs more is refused. Cels are inflated a row at a time and only as far as they are shown, and
// a tileset only as far as its tiles are used.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "io/codec/AsepriteFile.h"
#include "io/codec/ImageSourceDecoded.h"
#include "math/Rect.h"

namespace loom {

class ImageSourceFileAseprite : public ImageSourceDecoded {
public:
    static constexpr int64_t MOST_GROUP_CANVAS_PIXELS = int64_t(1) << 24;

    ImageSourceFileAseprite(DataSourceRef dataSource, const Options& options);
    ~ImageSourceFileAseprite() override;
    static ImageSourceRef create(DataSourceRef dataSource, Options options);

    bool nextFrame() override;
    int32_t getFrameDelayMs() const override;
    int32_t getLoopCount() const override { return 0; }

private:
    struct Canvas;
    class TilesetPixels;

    void compose(int32_t frame);
    // For each layer, its cel in frame (a linked cel followed), or null.
    std::vector<const AsepriteCel*> celsOf(int32_t frame) const;
    // For each layer, the part of the picture it draws on: empty for a hidden or reference layer
    // and for a group with nothing to draw.
    std::vector<Area> extentsOf(const std::vector<const AsepriteCel*>& cels) const;
    void drawLayers(const std::vector<const AsepriteCel*>& cels, const std::vector<Area>& extents);
    void drawCel(const AsepriteLayer& layer, const AsepriteCel& cel, Canvas& canvas);
    void drawTilemap(const AsepriteLayer& layer, const AsepriteCel& cel, Canvas& canvas);
    // Where the cel's picture lies, in the sprite's pixels, before clipping; a tilemap's size is
    // checked against the image limits.
    Area pictureOf(const AsepriteLayer& layer, const AsepriteCel& cel) const;
    size_t tilesetIndexOf(const AsepriteLayer& layer) const;

    Buffer bytes_;
    AsepriteFile file_;
    std::vector<size_t> subtreeEnd_;  // for each layer, the index after its group's last layer
    std::vector<int32_t> frames_;     // the frames shown, in order
    size_t position_ = 0;
    std::vector<std::unique_ptr<TilesetPixels>> tilesetPixels_;  // made when first used
};

}  // namespace loom
