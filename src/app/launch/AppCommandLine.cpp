#include "app/launch/AppCommandLine.h"

#include "cli/CliOptions.h"

namespace loom::app {

AppStart parseAppCommandLine(int argc, const char* const* argv) {
    const cli::CliOptions options = cli::parseCliOptions(argc, argv, false);
    // quennet's options for files written in a batch mean nothing to the window.
    if (!options.output.empty() || options.force || options.recursive || options.verbose ||
        options.jobs || options.list || options.quad || options.frame)
        throw cli::CliUsageExc(
            "the window takes -u, -t, --compare, --edges, --cells, --cell-gap, --cell-margin and "
            "--atlas (try --help)");
    if (options.inputs.size() > 1) throw cli::CliUsageExc("the window shows one picture: name one file");
    AppStart start;
    start.file = options.inputs.empty() ? "" : options.inputs.front();
    start.upscaler = options.upscalerGiven ? options.upscaler : 0;
    start.transform = options.transform;
    start.match = options.result.match;
    start.layout = options.result.layout;
    start.atlas = options.atlas;
    start.help = options.help;
    start.version = options.version;
    return start;
}

std::string appUsageText() {
    return "Usage: quennetapp [options] [FILE]\n"
           "Shows FILE enlarged by a pixel-art upscaler, optionally pinned onto a quadrilateral\n"
           "you drag; \"s\" saves it. The options set what the panel starts with:\n"
           "\n"
           "  -u, --upscaler NAME    the upscaler (default None)\n"
           "  -t, --transform NAME   None, Projective or Bilinear (default None)\n"
           "      --compare RULE     seen (default), colour or rgba\n"
           "      --edges RULE       clamp (default), wrap, wrap-x or wrap-y: ticks \"Wrap edges\"\n"
           "      --cells WxH        a sheet of cells, each upscaled as a picture of its own\n"
           "      --cell-gap G       pixels between the cells\n"
           "      --cell-margin M    pixels from the sheet's top and left edges to the first cell\n"
           "      --atlas FILE.json  the sheet's JSON atlas, each frame upscaled as a picture of\n"
           "                         its own (an atlas beside FILE, named like it with .json, is\n"
           "                         used without asking)\n"
           "  -h, --help             show this help\n"
           "      --version          show the version\n"
           "\n"
           "Keys: \"o\" opens, Page Down and Page Up open the next and previous picture of the\n"
           "folder, \"s\" saves, Ctrl+C copies the result and Ctrl+V pastes a picture, space\n"
           "shows the previous picture, \"0\" fits the picture beside the panel, \"1\" shows one\n"
           "screen pixel per result pixel, \"t\" lays the picture 3 x 3 to look for seams, \"g\"\n"
           "outlines the cells, \"b\" cycles the backdrop (checkerboard, black, white), \"p\"\n"
           "pauses an animation and \",\" \".\" step its frames, \"f\" toggles full screen. The\n"
           "wheel zooms, a middle-button drag pans, the left button drags the quad's corners and\n"
           "edges, the right button rotates it (with Ctrl about its centre, with Shift in\n"
           "15-degree steps); the arrow keys nudge the corner under the pointer (Shift: ten\n"
           "pixels), \"r\" puts the quad back, Ctrl+Z and Ctrl+Shift+Z undo and redo.\n";
}

}  // namespace loom::app
