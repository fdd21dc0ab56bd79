#include "gl/Texture.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace loom {
namespace gl {

TextureDataExc::TextureDataExc(const std::string& message) {
    size_t length = std::min(message.size(), MAX_MESSAGE);
    std::memcpy(message_, message.data(), length);
    message_[length] = '\0';
}

PixelTransfer pixelTransferFor(const ChannelOrder& order) {
    switch (order.code) {
        case ChannelOrder::RGBA:
        case ChannelOrder::RGBX: return {GL_RGBA, GL_UNSIGNED_BYTE};
        case ChannelOrder::BGRA:
        case ChannelOrder::BGRX: return {GL_BGRA, GL_UNSIGNED_BYTE};
        // Read as one big 32-bit word B, G, R, A from the top byte down, which on a little-endian
        // machine is the byte sequence A, R, G, B.
        case ChannelOrder::ARGB: return {GL_BGRA, GL_UNSIGNED_INT_8_8_8_8};
        case ChannelOrder::RGB: return {GL_RGB, GL_UNSIGNED_BYTE};
        case ChannelOrder::BGR: return {GL_BGR, GL_UNSIGNED_BYTE};
        default: throw TextureDataExc("Invalid channel order");
    }
}

int32_t uploadRowLength(const Surface& surface) { return surface.getRowBytes() / surface.getPixelInc(); }

namespace {

// Rows padded to something other than a whole number of pixels cannot be described by a row
// length; such surfaces are packed into a temporary copy instead of being uploaded skewed.
std::vector<uint8_t> packedRowsOf(const Surface& surface) {
    const size_t rowSize = size_t(surface.getWidth()) * surface.getPixelInc();
    std::vector<uint8_t> packed(rowSize * size_t(surface.getHeight()));
    for (int32_t y = 0; y < surface.getHeight(); ++y)
        std::memcpy(packed.data() + rowSize * size_t(y), surface.getData(0, y), rowSize);
    return packed;
}

}  // namespace

Rectf normalizedTexCoords(const Area& area, int32_t width, int32_t height) {
    return Rectf(float(double(area.x1) / width), float(double(area.y1) / height),
                 float(double(area.x2) / width), float(double(area.y2) / height));
}

Texture::Obj::~Obj() {
    if (textureId != 0) glDeleteTextures(1, &textureId);
}

Texture::Texture(const Surface& surface, Format format) {
    if (!surface) throw TextureDataExc("No surface to upload");

    // Under a handle at once, so that a refused channel order frees the record without a GL call.
    obj_ = std::make_shared<Obj>();
    obj_->width = surface.getWidth();
    obj_->height = surface.getHeight();
    if (format.internalFormat >= 0)
        obj_->internalFormat = format.internalFormat;
    else
        obj_->internalFormat = surface.hasAlpha() ? GL_RGBA : GL_RGB;
    obj_->target = format.target;

    const PixelTransfer transfer = pixelTransferFor(surface.getChannelOrder());
    const GLenum target = obj_->target;

    glGenTextures(1, &obj_->textureId);
    glBindTexture(target, obj_->textureId);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GLint(format.wrapS));
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GLint(format.wrapT));
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GLint(format.minFilter));
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GLint(format.magFilter));
    if (format.mipmapping) glTexParameteri(target, GL_GENERATE_MIPMAP, GL_TRUE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const bool wholePixelRows = surface.getRowBytes() % surface.getPixelInc() == 0;
    const std::vector<uint8_t> packed = wholePixelRows ? std::vector<uint8_t>() : packedRowsOf(surface);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, wholePixelRows ? uploadRowLength(surface) : obj_->width);
    glTexImage2D(target, 0, obj_->internalFormat, obj_->width, obj_->height, 0, transfer.format,
                 transfer.type, wholePixelRows ? surface.getData() : packed.data());
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

Texture::Texture(const Surface& surface) : Texture(surface, Format()) {}

void Texture::setMagFilter(GLenum filter) {
    glTexParameteri(obj_->target, GL_TEXTURE_MAG_FILTER, GLint(filter));
}

void Texture::bindEnabled() const {
    glEnable(obj_->target);
    glBindTexture(obj_->target, obj_->textureId);
}

Rectf Texture::texCoordsFor(const Area& area) const {
    return normalizedTexCoords(area, obj_->width, obj_->height);
}

}  // namespace gl
}  // namespace loom
