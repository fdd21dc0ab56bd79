#include "io/codec/ImageSourceFileAseprite.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string>

#include "io/ImageIoExc.h"
#include "io/codec/EndianBytes.h"
#include "io/codec/InflateStream.h"

namespace loom {

namespace {

constexpr size_t NO_GROUP = SIZE_MAX;

[[noreturn]] void fail(const std::string& reason) { throw ImageIoFailedLoadExc("Aseprite: " + reason); }

// The frames a tag plays, in its direction (a ping-pong once each way, its ends shown once).
std::vector<int32_t> framesOfTag(const AsepriteFile& file, const std::string& name) {
    std::vector<int32_t> frames;
    if (name.empty()) {
        for (int32_t f = 0; f < int32_t(file.frames.size()); ++f) frames.push_back(f);
        return frames;
    }
    const auto tag = std::find_if(file.tags.begin(), file.tags.end(),
                                  [&](const AsepriteTag& t) { return t.name == name; });
    if (tag == file.tags.end()) {
        std::string names;
        for (const AsepriteTag& t : file.tags) names += (names.empty() ? "\"" : ", \"") + t.name + "\"";
        fail("no tag \"" + name + "\" (" +
             (names.empty() ? "the file has no tags" : "its tags: " + names) + ")");
    }
    if (tag->from > tag->to || tag->to >= file.frames.size())
        fail("tag \"" + name + "\" names frames the file lacks");
    for (int32_t f = tag->from; f <= tag->to; ++f) frames.push_back(f);
    const bool pingPong =
        tag->direction == AsepriteTag::PING_PONG || tag->direction == AsepriteTag::PING_PONG_REVERSE;
    if (pingPong)
        for (int32_t f = tag->to - 1; f > tag->from; --f) frames.push_back(f);
    if (tag->direction == AsepriteTag::REVERSE || tag->direction == AsepriteTag::PING_PONG_REVERSE)
        std::reverse(frames.begin(), frames.end());
    return frames;
}

// For each layer, the index after the last layer nested below it: the first later layer at its
// level or above, found for all layers in one pass.
std::vector<size_t> subtreeEnds(const std::vector<AsepriteLayer>& layers) {
    std::vector<size_t> ends(layers.size(), layers.size());
    std::vector<size_t> open;
    for (size_t i = 0; i < layers.size(); ++i) {
        while (!open.empty() && layers[open.back()].childLevel >= layers[i].childLevel) {
            ends[open.back()] = i;
            open.pop_back();
        }
        open.push_back(i);
    }
    return ends;
}

bool isEmpty(const Area& a) { return a.getWidth() <= 0 || a.getHeight() <= 0; }

Area unite(const Area& a, const Area& b) {
    if (isEmpty(a)) return b;
    if (isEmpty(b)) return a;
    return {std::min(a.x1, b.x1), std::min(a.y1, b.y1), std::max(a.x2, b.x2), std::max(a.y2, b.y2)};
}

int64_t pixelsOf(const Area& a) { return int64_t(a.getWidth()) * a.getHeight(); }

// One pixel of the file's colour mode as RGBA. The transparent index shows nothing except on the
// background layer, which is opaque.
void toRgba(const AsepriteFile& file, const uint8_t* pixel, bool background, uint8_t* rgba) {
    if (file.bytesPerPixel == 4) {
        std::memcpy(rgba, pixel, 4);
    } else if (file.bytesPerPixel == 2) {
        rgba[0] = rgba[1] = rgba[2] = pixel[0];
        rgba[3] = pixel[1];
    } else if (pixel[0] < file.palette.size()) {
        std::memcpy(rgba, file.palette[pixel[0]].data(), 4);
        if (background)
            rgba[3] = 255;
        else if (pixel[0] == file.transparentIndex)
            rgba[3] = 0;
    } else {  // an index past the palette: black, as the editor shows a missing colour
        rgba[0] = rgba[1] = rgba[2] = 0;
        rgba[3] = background || pixel[0] != file.transparentIndex ? 255 : 0;
    }
}

// How a cel's pixels are laid on: its layer's mode, its layer's opacity times its own.
struct Brush {
    const AsepriteFile& file;
    BlendMode mode;
    uint32_t opacity;
    bool background;

    Brush(const AsepriteFile& f, const AsepriteLayer& layer, const AsepriteCel& cel)
        : file(f),
          mode(layer.blendMode),
          opacity(
              mulDiv255(f.flags & AsepriteFile::LAYER_OPACITY_VALID ? layer.opacity : 255, cel.opacity)),
          background(layer.flags & AsepriteLayer::BACKGROUND) {}

    void lay(const uint8_t* pixel, uint8_t* onto) const {
        uint8_t rgba[4];
        toRgba(file, pixel, background, rgba);
        blendPixel(onto, rgba, opacity, mode);
    }
};

}  // namespace

// RGBA pixels covering area of the picture: the picture itself, or a group's own.
struct ImageSourceFileAseprite::Canvas {
    Area area;
    std::vector<uint8_t> owned;
    uint8_t* pixels;
    bool drawn = false;
    // An opacity laid on every alpha but not yet applied: a chain of groups, each the first thing
    // on a transparent canvas, shares that canvas and costs one pass however long the chain.
    std::array<uint8_t, 256> alphaMap{};
    bool alphaMapped = false;

    Canvas(const Area& a, uint8_t* picture) : area(a), pixels(picture) {}
    explicit Canvas(const Area& a) : area(a), owned(size_t(pixelsOf(a)) * 4, 0), pixels(owned.data()) {}

    uint8_t* at(int32_t x, int32_t y) {
        return pixels + (size_t(y - area.y1) * size_t(area.getWidth()) + size_t(x - area.x1)) * 4;
    }
    // What a transparent canvas holding this one's pixels becomes when this one is laid on it with
    // opacity: the same colours with alphas scaled.
    void fadeLater(uint8_t opacity) {
        if (opacity == 255) return;
        if (!alphaMapped)
            for (size_t a = 0; a < alphaMap.size(); ++a) alphaMap[a] = uint8_t(a);
        for (uint8_t& a : alphaMap) a = uint8_t(mulDiv255(a, opacity));
        alphaMapped = true;
    }
    // Readies the canvas to be drawn on or laid on another.
    void settle() {
        if (!alphaMapped) return;
        uint8_t* end = pixels + pixelsOf(area) * 4;
        for (uint8_t* p = pixels; p < end; p += 4) {
            p[3] = alphaMap[p[3]];
            if (p[3] == 0) p[0] = p[1] = p[2] = 0;
        }
        alphaMapped = false;
    }
    void startDrawing() {
        settle();
        drawn = true;
    }
};

// A tileset's tiles, inflated as far as the highest tile used so far.
class ImageSourceFileAseprite::TilesetPixels {
public:
    TilesetPixels(const AsepriteTileset& tileset, size_t tileBytes)
        : stream_(tileset.data, tileset.size, "Aseprite: bad compressed tileset"),
          tileBytes_(tileBytes),
          count_(tileset.count) {}

    // id is below the tileset's count.
    const uint8_t* tile(uint32_t id) {
        if (id >= made_) {
            const size_t wanted = std::min<size_t>(std::max<size_t>(id + 1, made_ * 2), count_);
            pixels_.resize(wanted * tileBytes_);
            stream_.read(pixels_.data() + made_ * tileBytes_, (wanted - made_) * tileBytes_);
            made_ = wanted;
        }
        return pixels_.data() + id * tileBytes_;
    }

private:
    InflateStream stream_;
    std::vector<uint8_t> pixels_;
    size_t tileBytes_;
    size_t count_;
    size_t made_ = 0;
};

ImageSourceFileAseprite::ImageSourceFileAseprite(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options), bytes_(dataSource->getBuffer()) {
    const auto* data = static_cast<const uint8_t*>(bytes_.getData());
    const size_t size = size_t(bytes_.getDataSize());
    if (!looksLikeAseprite(data, size)) throw ImageIoNotThisFormatExc("not an Aseprite file");
    file_ = parseAseprite(data, size);
    if (file_.frames.empty()) fail("no frames");
    // Sorted by layer, a frame's cel of a layer is found by halving; of two, the later counts.
    for (AsepriteFrame& frame : file_.frames)
        std::stable_sort(frame.cels.begin(), frame.cels.end(),
                         [](const AsepriteCel& a, const AsepriteCel& b) { return a.layer < b.layer; });
    subtreeEnd_ = subtreeEnds(file_.layers);
    tilesetPixels_.resize(file_.tilesets.size());
    frames_ = framesOfTag(file_, options.tag);
    allocatePixels(file_.width, file_.height, RGB, UINT8, RGBA);
    if (file_.pixelWidth != 0 && file_.pixelHeight != 0)
        setPixelAspectRatio(float(file_.pixelWidth) / float(file_.pixelHeight));
    if (file_.bytesPerPixel == 1) {
        Palette palette = file_.palette;
        if (file_.transparentIndex < palette.size()) palette[file_.transparentIndex][3] = 0;
        setPalette(std::move(palette));
    }
    setFrameCount(int32_t(frames_.size()));
    compose(frames_[0]);
    if (frames_.size() == 1) describeTransparency();
}

ImageSourceFileAseprite::~ImageSourceFileAseprite() = default;

ImageSourceRef ImageSourceFileAseprite::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileAseprite>(std::move(dataSource), options);
}

bool ImageSourceFileAseprite::nextFrame() {
    if (position_ + 1 >= frames_.size()) return false;
    compose(frames_[++position_]);
    return true;
}

int32_t ImageSourceFileAseprite::getFrameDelayMs() const {
    return file_.frames[size_t(frames_[position_])].durationMs;
}

void ImageSourceFileAseprite::compose(int32_t frame) {
    std::memset(getPixels(), 0, size_t(getRowBytes()) * size_t(getHeight()));
    const std::vector<const AsepriteCel*> cels = celsOf(frame);
    drawLayers(cels, extentsOf(cels));
}

std::vector<const AsepriteCel*> ImageSourceFileAseprite::celsOf(int32_t frame) const {
    const auto find = [&](size_t f, uint16_t layer) -> const AsepriteCel* {
        const std::vector<AsepriteCel>& cels = file_.frames[f].cels;
        const auto after =
            std::upper_bound(cels.begin(), cels.end(), layer,
                             [](uint16_t l, const AsepriteCel& c) { return l < c.layer; });
        return after == cels.begin() || std::prev(after)->layer != layer ? nullptr : &*std::prev(after);
    };
    std::vector<const AsepriteCel*> found(file_.layers.size(), nullptr);
    const std::vector<AsepriteCel>& frameCels = file_.frames[size_t(frame)].cels;
    for (size_t c = 0; c < frameCels.size(); ++c) {
        const AsepriteCel& cel = frameCels[c];
        // Of two cels of a layer, the later counts.
        const bool overridden = c + 1 < frameCels.size() && frameCels[c + 1].layer == cel.layer;
        if (cel.layer >= found.size() || overridden) continue;
        const AsepriteCel* shown = &cel;
        if (cel.type == AsepriteCel::LINKED) {
            shown = cel.linkedFrame < file_.frames.size() ? find(cel.linkedFrame, cel.layer) : nullptr;
            if (!shown || shown->type == AsepriteCel::LINKED)
                fail("frame " + std::to_string(frame + 1) + " links to a cel frame " +
                     std::to_string(cel.linkedFrame + 1) + " does not hold");
        }
        found[cel.layer] = shown;
    }
    return found;
}

std::vector<Area> ImageSourceFileAseprite::extentsOf(const std::vector<const AsepriteCel*>& cels) const {
    const Area sprite(0, 0, getWidth(), getHeight());
    std::vector<Area> extents(file_.layers.size());
    // From the top down, so that a group's children are done before it.
    for (size_t i = file_.layers.size(); i-- > 0;) {
        const AsepriteLayer& layer = file_.layers[i];
        if (!(layer.flags & AsepriteLayer::VISIBLE) || (layer.flags & AsepriteLayer::REFERENCE))
            continue;
        if (layer.type == AsepriteLayer::GROUP) {
            for (size_t child = i + 1; child < subtreeEnd_[i]; child = subtreeEnd_[child])
                extents[i] = unite(extents[i], extents[child]);
        } else if (cels[i]) {
            extents[i] = pictureOf(layer, *cels[i]);
            extents[i].clipBy(sprite);
        }
    }
    return extents;
}

void ImageSourceFileAseprite::drawLayers(const std::vector<const AsepriteCel*>& cels,
                                         const std::vector<Area>& extents) {
    // A group open for drawing: the layers left in it, and the canvas they are drawn on.
    enum class Drawn { INLINE, SHARED, APART };
    struct Level {
        size_t next, end, group;
        size_t canvas;
        Drawn drawn;
    };
    std::vector<Canvas> canvases;
    canvases.emplace_back(Area(0, 0, getWidth(), getHeight()), getPixels());
    std::vector<Level> levels{{0, file_.layers.size(), NO_GROUP, 0, Drawn::INLINE}};
    const int64_t mostOpenPixels = std::max(MOST_GROUP_CANVAS_PIXELS, int64_t(getWidth()) * getHeight());
    int64_t openPixels = 0;
    while (!levels.empty()) {
        const Level level = levels.back();
        if (level.next >= level.end) {
            levels.pop_back();
            if (level.drawn == Drawn::SHARED) {
                canvases[level.canvas].fadeLater(file_.layers[level.group].opacity);
            } else if (level.drawn == Drawn::APART) {
                const AsepriteLayer& group = file_.layers[level.group];
                Canvas& own = canvases.back();
                Canvas& under = canvases[levels.back().canvas];
                own.settle();
                under.startDrawing();
                for (int32_t y = own.area.y1; y < own.area.y2; ++y)
                    for (int32_t x = own.area.x1; x < own.area.x2; ++x)
                        blendPixel(under.at(x, y), own.at(x, y), group.opacity, group.blendMode);
                openPixels -= pixelsOf(own.area);
                canvases.pop_back();
            }
            continue;
        }
        const size_t i = level.next;
        levels.back().next = subtreeEnd_[i];
        if (isEmpty(extents[i])) continue;
        const AsepriteLayer& layer = file_.layers[i];
        if (layer.type != AsepriteLayer::GROUP) {
            drawCel(layer, *cels[i], canvases[level.canvas]);
        } else if (!(file_.flags & AsepriteFile::GROUPS_COMPOSED_APART)) {
            levels.push_back({i + 1, subtreeEnd_[i], i, level.canvas, Drawn::INLINE});
        } else if (!canvases[level.canvas].drawn) {
            // Laid on nothing, a group composed apart is its own pixels faded by its opacity.
            levels.push_back({i + 1, subtreeEnd_[i], i, level.canvas, Drawn::SHARED});
        } else {
            openPixels += pixelsOf(extents[i]);
            if (openPixels > mostOpenPixels)
                fail("layer groups composed apart need canvases of " + std::to_string(openPixels) +
                     " pixels at once, past the limit of " + std::to_string(mostOpenPixels));
            canvases.emplace_back(extents[i]);
            levels.push_back({i + 1, subtreeEnd_[i], i, canvases.size() - 1, Drawn::APART});
        }
    }
    canvases.front().settle();
}

Area ImageSourceFileAseprite::pictureOf(const AsepriteLayer& layer, const AsepriteCel& cel) const {
    int64_t width = cel.width, height = cel.height;
    if (cel.type == AsepriteCel::COMPRESSED_TILEMAP) {
        const AsepriteTileset& tileset = file_.tilesets[tilesetIndexOf(layer)];
        width *= tileset.tileWidth;
        height *= tileset.tileHeight;
        requireAsepriteSize("tilemap", width, height);
    }
    return {cel.x, cel.y, int32_t(cel.x + width), int32_t(cel.y + height)};
}

size_t ImageSourceFileAseprite::tilesetIndexOf(const AsepriteLayer& layer) const {
    if (layer.type != AsepriteLayer::TILEMAP) fail("tilemap cel on layer \"" + layer.name + "\"");
    const auto tileset = std::find_if(file_.tilesets.begin(), file_.tilesets.end(),
                                      [&](const AsepriteTileset& t) { return t.id == layer.tileset; });
    if (tileset == file_.tilesets.end() || !tileset->data)
        fail("layer \"" + layer.name + "\" uses a tileset the file does not hold");
    return size_t(tileset - file_.tilesets.begin());
}

void ImageSourceFileAseprite::drawCel(const AsepriteLayer& layer, const AsepriteCel& cel,
                                      Canvas& canvas) {
    if (cel.type == AsepriteCel::COMPRESSED_TILEMAP) {
        drawTilemap(layer, cel, canvas);
        return;
    }
    Area shown = pictureOf(layer, cel);
    shown.clipBy(canvas.area);
    if (isEmpty(shown)) return;
    canvas.startDrawing();
    const Brush brush(file_, layer, cel);
    const size_t bpp = size_t(file_.bytesPerPixel), rowBytes = size_t(cel.width) * bpp;
    std::vector<uint8_t> inflated;
    std::unique_ptr<InflateStream> stream;
    if (cel.type == AsepriteCel::COMPRESSED) {
        stream = std::make_unique<InflateStream>(cel.data, cel.size, "Aseprite: bad compressed cel");
        stream->skip(size_t(shown.y1 - cel.y) * rowBytes);
        inflated.resize(rowBytes);
    }
    for (int32_t y = shown.y1; y < shown.y2; ++y) {
        const uint8_t* row = cel.data + size_t(y - cel.y) * rowBytes;  // the parser checked its size
        if (stream) {
            stream->read(inflated.data(), rowBytes);
            row = inflated.data();
        }
        for (int32_t x = shown.x1; x < shown.x2; ++x)
            brush.lay(row + size_t(x - cel.x) * bpp, canvas.at(x, y));
    }
}

void ImageSourceFileAseprite::drawTilemap(const AsepriteLayer& layer, const AsepriteCel& cel,
                                          Canvas& canvas) {
    Area shown = pictureOf(layer, cel);
    shown.clipBy(canvas.area);
    if (isEmpty(shown)) return;
    canvas.startDrawing();
    const size_t index = tilesetIndexOf(layer);
    const AsepriteTileset& tileset = file_.tilesets[index];
    const size_t bpp = size_t(file_.bytesPerPixel);
    const int32_t tw = tileset.tileWidth, th = tileset.tileHeight;
    if (!tilesetPixels_[index])
        tilesetPixels_[index] = std::make_unique<TilesetPixels>(tileset, size_t(tw) * size_t(th) * bpp);
    TilesetPixels& tiles = *tilesetPixels_[index];
    // Where no tile is, the cel is transparent: the transparent index in indexed colour.
    const uint8_t none[4] = {file_.bytesPerPixel == 1 ? file_.transparentIndex : uint8_t(0), 0, 0, 0};
    const Brush brush(file_, layer, cel);
    // Only the rows of tiles shown are inflated, one at a time.
    InflateStream map(cel.data, cel.size, "Aseprite: bad compressed tilemap");
    const size_t mapRowBytes = size_t(cel.width) * 4;
    std::vector<uint8_t> mapRow(mapRowBytes);
    int32_t tileRow = (shown.y1 - cel.y) / th;
    map.skip(size_t(tileRow) * mapRowBytes);
    map.read(mapRow.data(), mapRowBytes);
    for (int32_t y = shown.y1; y < shown.y2; ++y) {
        if ((y - cel.y) / th != tileRow) {
            ++tileRow;
            map.read(mapRow.data(), mapRowBytes);
        }
        const int32_t py = (y - cel.y) % th;
        for (int32_t x = shown.x1; x < shown.x2; ++x) {
            const int32_t px = (x - cel.x) % tw;
            const uint32_t value = littleEndian32(mapRow.data() + size_t((x - cel.x) / tw) * 4);
            const uint32_t id = value & cel.tileIdMask;
            const uint8_t* pixel = none;
            if (id != 0) {  // 0 is the empty tile
                if (id >= tileset.count) fail("tile " + std::to_string(id) + " beyond its tileset");
                int32_t sx = value & cel.flipDiagonalMask ? py : px;
                int32_t sy = value & cel.flipDiagonalMask ? px : py;
                if (value & cel.flipXMask) sx = tw - 1 - sx;
                if (value & cel.flipYMask) sy = th - 1 - sy;
                // A non-square tile turned leaves a part empty.
                if (sx >= 0 && sx < tw && sy >= 0 && sy < th)
                    pixel = tiles.tile(id) + (size_t(sy) * size_t(tw) + size_t(sx)) * bpp;
            }
            brush.lay(pixel, canvas.at(x, y));
        }
    }
}

}  // namespace loom
