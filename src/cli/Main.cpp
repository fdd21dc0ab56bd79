// quennet: batch enlargement of pixel art from the command line, on the application's pipeline.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/ConvertFile.h"
#include "cli/OutputPath.h"
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
    std::cout << "\nWritable extensions:";
    for (const std::string& extension : getWriteExtensions()) std::cout << ' ' << extension;
    std::cout << '\n';
}

// Runs every input on `jobs` threads; failures are reported as they happen, one line each.
bool convertAll(const CliOptions& options) {
    const std::string upscalerName = upscalerCatalogue()[size_t(options.upscaler)].name;
    const size_t count = options.inputs.size();
    const bool severalInputs = count > 1;
    const bool showProgress = isatty(STDERR_FILENO);
    std::atomic<size_t> next{0};
    std::atomic<size_t> done{0};
    std::atomic<bool> anyFailed{false};
    std::mutex printing;

    auto worker = [&] {
        for (size_t i = next++; i < count; i = next++) {
            const std::string& input = options.inputs[i];
            std::string error;
            std::string output;
            std::string note;
            try {
                output = outputPathFor(input, upscalerName, options.output, severalInputs);
                note = convertFile(input, output, options);
            } catch (const std::exception& e) {
                error = e.what();
            }
            std::lock_guard<std::mutex> lock(printing);
            const size_t finished = ++done;
            if (!note.empty()) std::cerr << input << ": " << note << '\n';
            if (!error.empty()) {
                anyFailed = true;
                std::cerr << input << ": " << error << '\n';
            } else if (showProgress) {
                std::cerr << '[' << finished << '/' << count << "] " << input << " -> " << output
                          << '\n';
            }
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t jobs = std::min<size_t>(options.jobs > 0 ? size_t(options.jobs) : cores, count);
    std::vector<std::thread> threads;
    for (size_t j = 1; j < jobs; ++j) threads.emplace_back(worker);
    worker();
    for (std::thread& t : threads) t.join();
    return !anyFailed;
}

}  // namespace

int main(int argc, char** argv) {
    CliOptions options;
    try {
        options = parseCliOptions(argc, argv);
    } catch (const CliUsageExc& e) {
        std::cerr << "quennet: " << e.what() << '\n';
        return 2;
    }
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
    return convertAll(options) ? 0 : 1;
}
