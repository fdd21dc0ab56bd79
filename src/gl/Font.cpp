#include "gl/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace loom {
namespace gl {

namespace {

// One FreeType library for the process, created with the first font. Every font record holds a
// reference, so the library outlives the last face whatever the order of static destruction.
class FreeTypeLibrary {
public:
    FreeTypeLibrary() {
        if (FT_Init_FreeType(&library_) != 0) throw FontInvalidNameExc();
    }
    ~FreeTypeLibrary() { FT_Done_FreeType(library_); }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    FT_Library get() const { return library_; }

private:
    FT_Library library_ = nullptr;
};

std::shared_ptr<FreeTypeLibrary> sharedLibrary() {
    static const std::shared_ptr<FreeTypeLibrary> library = std::make_shared<FreeTypeLibrary>();
    return library;
}

// fontconfig's configuration with the installed fonts, loaded once.
FcConfig* fontConfig() {
    static FcConfig* const config = FcInitLoadConfigAndFonts();
    return config;
}

struct FontFile {
    std::string path;
    int index = 0;
};

bool isGenericFamily(const std::string& name) {
    for (const char* generic : {"sans-serif", "sans", "serif", "monospace", "mono"})
        if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(generic),
                               reinterpret_cast<const FcChar8*>(name.c_str())) == 0)
            return true;
    return false;
}

// The file of the best match for family. fontconfig always answers with something, so unless
// acceptAnyMatch is set the answer counts only when it really is the family asked for.
bool matchFamily(const std::string& family, bool acceptAnyMatch, FontFile* out) {
    FcConfig* config = fontConfig();
    if (!config) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;

    bool found = acceptAnyMatch || isGenericFamily(family);
    FcChar8* matchedFamily = nullptr;
    for (int i = 0; !found && FcPatternGetString(match, FC_FAMILY, i, &matchedFamily) == FcResultMatch;
         ++i)
        found = FcStrCmpIgnoreCase(matchedFamily, reinterpret_cast<const FcChar8*>(family.c_str())) == 0;
    FcChar8* file = nullptr;
    if (found && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        out->path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &out->index) != FcResultMatch) out->index = 0;
    } else {
        found = false;
    }
    FcPatternDestroy(match);
    return found;
}

}  // namespace

struct Font::Obj {
    std::string name;
    float size = 0.0f;
    float emPixels = 0.0f;
    float ascent = 0.0f;
    float descent = 0.0f;
    float leading = 0.0f;

    std::shared_ptr<FreeTypeLibrary> library = sharedLibrary();
    // For a font from data: the bytes the face reads from, kept while the face lives.
    DataSourceRef source;
    Buffer bytes;
    FT_Face face = nullptr;

    Obj() = default;
    Obj(const Obj&) = delete;
    Obj& operator=(const Obj&) = delete;
    ~Obj() {
        if (face) FT_Done_Face(face);
    }

    // Sizes the face and reads the metrics, unrounded so that they scale exactly with the em.
    void finish(float em) {
        if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) throw FontInvalidNameExc();
        emPixels = em;
        if (FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(double(em) * 64.0)), 72, 72) != 0)
            throw FontInvalidNameExc();
        const float scale = em / float(face->units_per_EM);
        ascent = float(face->ascender) * scale;
        descent = float(-face->descender) * scale;
        leading = std::max(0.0f, float(face->height - face->ascender + face->descender) * scale);
    }
};

namespace {

// The desktop convention: size x 72 / 96, in points for a named font and in pixels for one from
// data. Points at 96 dots per inch make a named font's em exactly size pixels.
float emFromSize(float size) { return float(double(size) * 72.0 / 96.0); }

}  // namespace

Font::Font(const std::string& name, float size) : obj_(std::make_shared<Obj>()) {
    obj_->name = name;
    obj_->size = size;
    // The family asked for if it is installed and opens; otherwise the generic sans-serif one.
    FontFile file;
    FT_Library library = obj_->library->get();
    const bool opened = matchFamily(name, false, &file) &&
                        FT_New_Face(library, file.path.c_str(), file.index, &obj_->face) == 0;
    if (!opened && (!matchFamily("sans-serif", true, &file) ||
                    FT_New_Face(library, file.path.c_str(), file.index, &obj_->face) != 0))
        throw FontInvalidNameExc();
    obj_->finish(float(double(emFromSize(size)) * 96.0 / 72.0));
}

Font::Font(DataSourceRef source, float size) : obj_(std::make_shared<Obj>()) {
    if (!source) throw FontInvalidNameExc();
    obj_->size = size;
    obj_->source = source;
    obj_->bytes = source->getBuffer();
    const auto* data = static_cast<const FT_Byte*>(obj_->bytes.getData());
    const int32_t length = obj_->bytes.getDataSize();
    if (!data || length <= 0 ||
        FT_New_Memory_Face(obj_->library->get(), data, length, 0, &obj_->face) != 0)
        throw FontInvalidNameExc();
    obj_->name = obj_->face->family_name ? obj_->face->family_name : "";
    obj_->finish(emFromSize(size));
}

const std::string& Font::getName() const { return obj_->name; }
std::string Font::getFaceFamilyName() const {
    return obj_->face->family_name ? obj_->face->family_name : "";
}
float Font::getSize() const { return obj_->size; }
float Font::getEmPixels() const { return obj_->emPixels; }
float Font::ascent() const { return obj_->ascent; }
float Font::descent() const { return obj_->descent; }
float Font::leading() const { return obj_->leading; }
FT_Face Font::getFace() const { return obj_->face; }

}  // namespace gl
}  // namespace loom
