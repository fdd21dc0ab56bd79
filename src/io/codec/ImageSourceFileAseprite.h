// ImageSourceFileAseprite: the pixel-art editor's .aseprite (.ase) files in RGBA, greyscale or
// indexed colour. Each frame is composed as the editor shows it: the visible layers from the bottom
// up, each cel laid on with its layer's blend mode and its layer's opacity times its own; hidden
// layers, layers in hidden groups and reference layers are left out. Indexed cels show the header's
// transparent index as transparent except on the background layer. The frames are walked with
// nextFrame(), each with its own duration, looping for ever; the load options' tag restricts
// them to that tag's frames, in its direction.
#pragma once

#include <cstdint>
#include <vector>

#include "io/codec/AsepriteFile.h"
#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileAseprite : public ImageSourceDecoded {
public:
    ImageSourceFileAseprite(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);

    bool nextFrame() override;
    int32_t getFrameDelayMs() const override;
    int32_t getLoopCount() const override { return 0; }

private:
    void compose(int32_t frame);
    // Draws the layers [first, end) that are siblings, with their subtrees, onto canvas.
    void drawLayers(size_t first, size_t end, int32_t frame, uint8_t* canvas);
    void drawCel(const AsepriteLayer& layer, const AsepriteCel& cel, uint8_t* canvas);
    void drawTilemap(const AsepriteLayer& layer, const AsepriteCel& cel, uint8_t* canvas);
    // Lays width x height pixels of the file's colour mode on canvas at the cel's place, clipped.
    void drawPixels(const AsepriteLayer& layer, const AsepriteCel& cel, const uint8_t* pixels,
                    int32_t width, int32_t height, uint8_t* canvas) const;
    // The cel of layer in frame, following a link; null when there is none.
    const AsepriteCel* celOf(size_t layer, int32_t frame) const;

    Buffer bytes_;
    AsepriteFile file_;
    std::vector<size_t> subtreeEnd_;  // for each layer, the index after its group's last layer
    std::vector<int32_t> frames_;     // the frames shown, in order
    size_t position_ = 0;
};

}  // namespace loom
