#include "cli/CliOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <utility>

#include "image/UpscalerCatalogue.h"
#include "io/ImageIoRegistrar.h"
#include "warp/TransformCatalogue.h"

namespace loom::cli {

namespace {

float parseFloat(const std::string& text, const std::string& what) {
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
        throw CliUsageExc("invalid " + what + ": \"" + text + "\"");
    return value;
}

int parseJobs(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > 256)
        throw CliUsageExc("invalid job count: \"" + text + "\" (1 to 256)");
    return int(value);
}

int parseFrame(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < 1 || value > 65535)
        throw CliUsageExc("invalid frame: \"" + text + "\" (1 for the first)");
    return int(value);
}

std::array<Vec2f, 4> parseQuad(const std::string& text) {
    std::vector<float> values;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) values.push_back(parseFloat(item, "quad coordinate"));
    if (values.size() != 8 || text.back() == ',')
        throw CliUsageExc("--quad needs eight numbers x0,y0,x1,y1,x2,y2,x3,y3");
    return {Vec2f(values[0], values[1]), Vec2f(values[2], values[3]), Vec2f(values[4], values[5]),
            Vec2f(values[6], values[7])};
}

// seen, colour (or color) or rgba, in any case.
PixelMatch parseCompare(const std::string& text) {
    const std::string name = toLowerAscii(text);
    if (name == "seen") return PixelMatch::Seen;
    if (name == "colour" || name == "color") return PixelMatch::Colour;
    if (name == "rgba") return PixelMatch::ColourAndAlpha;
    throw CliUsageExc("unknown comparison \"" + text + "\" (seen, colour or rgba)");
}

EdgeRule parseEdges(const std::string& text) {
    const std::string name = toLowerAscii(text);
    if (name == "clamp") return EdgeRule::Clamp;
    if (name == "wrap") return EdgeRule::Wrap;
    if (name == "wrap-x") return EdgeRule::WrapX;
    if (name == "wrap-y") return EdgeRule::WrapY;
    throw CliUsageExc("unknown edges \"" + text + "\" (clamp, wrap, wrap-x or wrap-y)");
}

int32_t parseCount(const std::string& text, const std::string& what, long least) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < least || value > 65535)
        throw CliUsageExc("invalid " + what + ": \"" + text + "\"");
    return int32_t(value);
}

// WxH, for --cells.
std::pair<int32_t, int32_t> parseSize(const std::string& text) {
    const size_t x = toLowerAscii(text).find('x');
    if (x == std::string::npos) throw CliUsageExc("--cells needs WIDTHxHEIGHT, as 16x16");
    return {parseCount(text.substr(0, x), "cell width", 1),
            parseCount(text.substr(x + 1), "cell height", 1)};
}

std::string upscalerNames() {
    std::string names;
    for (const UpscalerInfo& info : upscalerCatalogue())
        names += std::string(names.empty() ? "" : ", ") + info.name;
    return names;
}

}  // namespace

CliOptions parseCliOptions(int argc, const char* const* argv, bool inputsRequired) {
    CliOptions options;
    std::optional<int32_t> cellGap, cellMargin;  // applied once --cells is known
    bool onlyInputs = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (onlyInputs || arg.empty() || arg[0] != '-' || arg == "-") {
            options.inputs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyInputs = true;
            continue;
        }
        // --name=value is accepted as well as --name value.
        std::string inlineValue;
        bool hasInlineValue = false;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            inlineValue = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
            hasInlineValue = true;
        }
        auto value = [&]() -> std::string {
            if (hasInlineValue) return inlineValue;
            if (i + 1 >= argc) throw CliUsageExc(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "-u" || arg == "--upscaler") {
            const std::string name = value();
            options.upscaler = findUpscaler(name);
            options.upscalerGiven = true;
            if (options.upscaler < 0)
                throw CliUsageExc("unknown upscaler \"" + name + "\" (one of " + upscalerNames() + ")");
        } else if (arg == "-t" || arg == "--transform") {
            const std::string name = value();
            options.transform = findTransform(name);
            if (options.transform < 0)
                throw CliUsageExc("unknown transform \"" + name + "\" (None, Projective or Bilinear)");
        } else if (arg == "--frame") {
            options.frame = parseFrame(value());
        } else if (arg == "--tag") {
            options.tag = value();
            if (options.tag.empty()) throw CliUsageExc("--tag needs a name");
        } else if (arg == "--quad") {
            options.quad = parseQuad(value());
        } else if (arg == "--atlas") {
            options.atlas = value();
            if (options.atlas.empty()) throw CliUsageExc("--atlas needs a path");
        } else if (arg == "-o" || arg == "--output") {
            options.output = value();
            if (options.output.empty()) throw CliUsageExc("--output needs a path");
        } else if (arg == "--quality") {
            options.result.quality = parseFloat(value(), "quality");
            if (options.result.quality < 0.0f || options.result.quality > 1.0f)
                throw CliUsageExc("quality must lie between 0 and 1");
        } else if (arg == "--compare") {
            options.result.match = parseCompare(value());
        } else if (arg == "--edges") {
            options.result.layout.edges = parseEdges(value());
        } else if (arg == "--cells") {
            const auto [w, h] = parseSize(value());
            CellGrid grid = options.result.layout.cells.value_or(CellGrid());
            grid.width = w, grid.height = h;
            options.result.layout.cells = grid;
        } else if (arg == "--cell-gap") {
            cellGap = parseCount(value(), "cell gap", 0);
        } else if (arg == "--cell-margin") {
            cellMargin = parseCount(value(), "cell margin", 0);
        } else if (arg == "--compare-alpha") {
            options.result.match = PixelMatch::ColourAndAlpha;
        } else if (arg == "-f" || arg == "--force") {
            options.force = true;
        } else if (arg == "-r" || arg == "--recursive") {
            options.recursive = true;
        } else if (arg == "-v" || arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "-j" || arg == "--jobs") {
            options.jobs = parseJobs(value());
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            throw CliUsageExc("unknown option " + arg);
        }
        if (hasInlineValue &&
            (arg == "-f" || arg == "--force" || arg == "--recursive" || arg == "--verbose" ||
             arg == "--compare-alpha" || arg == "--list" || arg == "--help" || arg == "--version"))
            throw CliUsageExc(arg + " takes no value");
    }
    if ((cellGap || cellMargin) && !options.result.layout.cells)
        throw CliUsageExc("--cell-gap and --cell-margin need --cells");
    if (options.result.layout.cells) {
        options.result.layout.cells->gap = cellGap.value_or(0);
        options.result.layout.cells->margin = cellMargin.value_or(0);
    }
    if (options.help || options.version || options.list) return options;
    if (options.inputs.empty() && inputsRequired) throw CliUsageExc("no input files (try --help)");
    if (options.quad && options.transform == TRANSFORM_NONE)
        throw CliUsageExc("--quad needs --transform Projective or Bilinear");
    if (!options.atlas.empty() && options.transform != TRANSFORM_NONE)
        throw CliUsageExc("--atlas keeps the sheet's frames in place, so it takes no --transform");
    if (!options.atlas.empty() && options.result.layout.cells)
        throw CliUsageExc("--atlas and --cells both say where the sprites are: give one");
    return options;
}

std::string cliUsageText() {
    return "Usage: quennet [options] INPUT...\n"
           "Enlarges pixel art with a pixel-art upscaler and optionally pins it onto a quadrilateral.\n"
           "An INPUT is an image file or a folder, whose images (files with the extension of a\n"
           "readable format) are taken.\n"
           "\n"
           "  -u, --upscaler NAME    " +
           upscalerNames() +
           " (default Scale2x)\n"
           "      --compare RULE     how pixels are compared: seen (default: all fully transparent\n"
           "                         pixels alike, others by colour and alpha), colour (colour\n"
           "                         only, alpha ignored; also color) or rgba (colour and alpha,\n"
           "                         hidden colours included)\n"
           "      --compare-alpha    the same as --compare rgba\n"
           "      --edges RULE       clamp (default: the picture ends at its edges), wrap (a\n"
           "                         seamless tile: beyond an edge lies the opposite edge), wrap-x\n"
           "                         or wrap-y (wrapped across one way, clamped the other)\n"
           "      --cells WxH        a sheet of cells of W x H pixels, each upscaled as a picture\n"
           "                         of its own (its edges wrap within it under --edges wrap)\n"
           "      --cell-gap G       pixels between the cells (default 0)\n"
           "      --cell-margin M    pixels from the sheet's top and left edges to the first cell\n"
           "                         (default 0); gaps, margins and pixels past the last whole\n"
           "                         cell become plain blocks\n"
           "      --atlas FILE.json  the sheet's JSON atlas (frames as an object or an array): each\n"
           "                         frame upscaled as a picture of its own (a trimmed frame within\n"
           "                         its untrimmed size, a rotated one upright), the rest as plain\n"
           "                         blocks; a copy of the atlas scaled to the result is written\n"
           "                         beside it, named as it with .json. One input file, no\n"
           "                         --transform\n"
           "  -t, --transform NAME   None, Projective or Bilinear (default None)\n"
           "      --quad x0,y0,x1,y1,x2,y2,x3,y3\n"
           "                         corners top-left, top-right, bottom-right, bottom-left in\n"
           "                         source pixels (default the image rectangle)\n"
           "      --frame N          the Nth frame of an animation, written as a still picture, or\n"
           "                         the Nth picture of a file holding several, such as an icon's\n"
           "                         sizes (1 for the first; default: every frame, the largest\n"
           "                         picture)\n"
           "      --tag NAME         only the frames of this tag of an Aseprite file, as they play\n"
           "  -o, --output PATH      output file (one input file) or folder (several inputs or a\n"
           "                         folder; made when missing)\n"
           "  -r, --recursive        also the images in the subfolders of input folders, written\n"
           "                         in the same subfolders under the -o folder\n"
           "      --quality Q        0 to 1 for formats with a quality setting (default 0.9)\n"
           "  -f, --force            overwrite existing output files\n"
           "  -j, --jobs N           files processed in parallel (default: number of cores)\n"
           "  -v, --verbose          print a line for every file written\n"
           "      --list             list upscalers, transforms and image formats\n"
           "  -h, --help             show this help\n"
           "      --version          show the version\n"
           "\n"
           "Without -o the result goes beside the input, the upscaler's name inserted before the\n"
           "extension (hero.png gives heroScale2x.png). An input in a format that cannot be written\n"
           "gives a PNG. A folder's image named as the result of another image beside it\n"
           "(heroScale2x.png beside hero.png) is left out when results go beside their inputs,\n"
           "so a folder can be converted again. An animation (GIF, APNG, WebP, Aseprite) written\n"
           "as a GIF, PNG or WebP keeps every frame, delays and looping; to another format, only\n"
           "its first frame. An existing result is only replaced with --force: for a single file\n"
           "that is an error, in a batch (several inputs or a folder) the file is skipped. A batch\n"
           "shows its progress on a terminal and ends with a line counting the files written,\n"
           "failed and skipped. Exit status: 0 when no file failed, 1 when any failed, 2 for a\n"
           "usage error.\n";
}

}  // namespace loom::cli
