// quennet: batch enlargement of pixel art from the command line, on the application's pipeline.
#include <iostream>

#include "cli/CliOptions.h"
#include "cli/ConversionPlan.h"
#include "cli/RunConversions.h"
#include "image/UpscalerCatalogue.h"
#include "io/ImageFile.h"
#include "io/codec/BuiltInCodecs.h"
#include "warp/TransformCatalogue.h"

using namespace loom;
using namespace loom::cli;

namespace {

void printList() {
    std::cout << "Upscalers:";
    for (const UpscalerInfo& info : upscalerCatalogue()) std::cout << ' ' << info.name;
    std::cout << "\nTransforms:";
    for (const TransformInfo& info : transformCatalogue()) std::cout << ' ' << info.name;
    std::cout << "\nReadable formats:";
    for (const std::string& name : builtInReadableFormats()) std::cout << ' ' << name;
    std::cout << "\nReadable extensions:";
    for (const std::string& extension : builtInReadExtensions()) std::cout << ' ' << extension;
    std::cout << "\nWritable extensions:";
    for (const std::string& extension : getWriteExtensions()) std::cout << ' ' << extension;
    std::cout << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const CliOptions options = parseCliOptions(argc, argv);
        if (options.help) {
            std::cout << cliUsageText();
            return 0;
        }
        if (options.version) {
            std::cout << "quennet " << QUENNET_VERSION << '\n';
            return 0;
        }
        if (options.list) {
            printList();
            return 0;
        }
        return runConversions(planConversions(options), options);
    } catch (const CliUsageExc& e) {
        std::cerr << "quennet: " << e.what() << '\n';
        return 2;
    }
}
