// Font: a typeface at one size, found by family name through fontconfig or read from the bytes of a
// font file in memory, and rendered with FreeType. A cheap handle: copies share one record, which
// closes the FreeType face with the last handle. The default handle is the null font.
//
// Sizes follow the desktop convention the panel was laid out with: a font by name asked for at
// size s has an em of s pixels (s x 72 / 96 points at 96 dots per inch); a font from data has an
// em of s x 72 / 96 pixels, so the panel's size 10 gives 7.5.
#pragma once

#include <memory>
#include <string>

#include "base/Exception.h"
#include "io/DataSource.h"

// FreeType's face handle, declared as FreeType does, so clients need not include its headers.
typedef struct FT_FaceRec_* FT_Face;

namespace loom {
namespace gl {

// Raised when font bytes hold no usable face, or a face cannot be sized. Carries no text.
class FontInvalidNameExc : public Exception {
public:
    const char* what() const noexcept override { return ""; }
};

class Font {
public:
    struct Obj;

    // The null font.
    Font() = default;
    // The installed family of that name; a family that is not installed gives the generic
    // sans-serif family instead of failing.
    Font(const std::string& name, float size);
    // The first face in the source's bytes, which are not copied: the source (and its buffer) is
    // kept alive by the font. Throws FontInvalidNameExc when the bytes are not a font.
    Font(DataSourceRef source, float size);

    explicit operator bool() const { return obj_ != nullptr; }

    // The requested family name, or for a font from data the family named in the data.
    const std::string& getName() const;
    // The family actually used (differs from getName() after a fallback).
    std::string getFaceFamilyName() const;
    float getSize() const;
    // The em in pixels.
    float getEmPixels() const;

    // Pixels above the baseline, below it, and the extra gap the font asks for between lines.
    float ascent() const;
    float descent() const;
    float leading() const;

    // The FreeType face, sized to the em; valid while any handle to this font lives.
    FT_Face getFace() const;

private:
    std::shared_ptr<Obj> obj_;
};

}  // namespace gl
}  // namespace loom
