// gl::Texture: the one way pixels reach the screen. A cheap handle to a shared record that owns one
// OpenGL texture object; copies share it and the last handle deletes the texture. The default
// handle is null ("nothing to show yet"). Creation and the last release need the window's context
// current.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/Exception.h"
#include "image/Surface.h"
#include "math/Rect.h"

namespace loom {
namespace gl {

// Raised when a surface cannot be uploaded. The message lives in a fixed buffer (the base's stays
// empty) so that copying the exception never allocates.
class TextureDataExc : public Exception {
public:
    static constexpr size_t MAX_MESSAGE = 16000;

    explicit TextureDataExc(const std::string& message);
    const char* what() const noexcept override { return message_; }

private:
    char message_[MAX_MESSAGE + 1];
};

// How a surface's bytes are handed to glTexImage2D.
struct PixelTransfer {
    GLenum format;
    GLenum type;
};

// The transfer format and type that read this channel order straight from the surface's rows.
// Throws TextureDataExc "Invalid channel order" for orders OpenGL cannot take without a copy.
PixelTransfer pixelTransferFor(const ChannelOrder& order);

// Pixels per row for GL_UNPACK_ROW_LENGTH (row bytes / pixel increment), so rows padded by whole
// pixels upload without a copy. Rows padded by a part of a pixel are packed into a copy instead.
int32_t uploadRowLength(const Surface& surface);

// area scaled into normalised coordinates: the whole texture is (0, 0, 1, 1).
Rectf normalizedTexCoords(const Area& area, int32_t width, int32_t height);

class Texture {
public:
    // Creation options; every field has the default used across the system.
    struct Format {
        GLenum target = GL_TEXTURE_2D;
        GLenum wrapS = GL_CLAMP_TO_EDGE;
        GLenum wrapT = GL_CLAMP_TO_EDGE;
        GLenum minFilter = GL_LINEAR;
        GLenum magFilter = GL_LINEAR;
        bool mipmapping = false;
        // Negative: GL_RGBA for a surface with alpha, GL_RGB without.
        GLint internalFormat = -1;
    };

    // The shared record; deletes its OpenGL texture (if one was generated) when freed.
    struct Obj {
        int32_t width = 0;
        int32_t height = 0;
        GLint internalFormat = 0;
        GLenum target = GL_TEXTURE_2D;
        GLuint textureId = 0;

        Obj() = default;
        Obj(const Obj&) = delete;
        Obj& operator=(const Obj&) = delete;
        ~Obj();
    };

    // The null texture.
    Texture() = default;
    // Uploads the surface and leaves the new texture bound to its target (with GL_UNPACK_ALIGNMENT
    // left at 1). Throws TextureDataExc before any OpenGL call for a null surface or a channel
    // order it cannot upload.
    Texture(const Surface& surface, Format format);
    explicit Texture(const Surface& surface);

    explicit operator bool() const { return obj_ != nullptr; }

    int32_t width() const { return obj_->width; }
    int32_t height() const { return obj_->height; }
    Area getBounds() const { return Area(0, 0, width(), height()); }
    GLenum getTarget() const { return obj_->target; }
    GLuint getId() const { return obj_->textureId; }
    GLint getInternalFormat() const { return obj_->internalFormat; }

    // Changes the magnification filter of whatever texture is bound to this texture's target; call
    // it right after creation, which leaves the new texture bound.
    void setMagFilter(GLenum filter);
    // glEnable(target), then binds this texture to it.
    void bindEnabled() const;
    // The area in normalised texture coordinates.
    Rectf texCoordsFor(const Area& area) const;

private:
    std::shared_ptr<Obj> obj_;
};

}  // namespace gl
}  // namespace loom
