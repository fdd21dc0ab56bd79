// quennetapp [options] [FILE]: opens the window (AppCommandLine.h).
#include <iostream>
#include <memory>

#include "app/QuennetApp.h"
#include "app/launch/AppCommandLine.h"
#include "cli/CliOptions.h"
#include "framework/RendererGl.h"
#include "framework/desktop/DesktopServices.h"

int main(int argc, char* argv[]) {
    loom::app::AppStart start;
    try {
        start = loom::app::parseAppCommandLine(argc, argv);
    } catch (const loom::cli::CliUsageExc& e) {
        std::cerr << "quennetapp: " << e.what() << '\n';
        return 2;
    }
    if (start.help) {
        std::cout << loom::app::appUsageText();
        return 0;
    }
    if (start.version) {
        std::cout << "quennetapp " << QUENNET_VERSION << '\n';
        return 0;
    }
    return loom::framework::AppBasic::executeLaunch(
        std::make_unique<loom::app::QuennetApp>(start, loom::framework::desktop::desktopServices()),
        std::make_shared<loom::framework::RendererGl>(), "QuennetApp", argc, argv);
}
