#include "cli/RunConversions.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <vector>

#include "base/ThreadPool.h"
#include "cli/ConvertFile.h"
#include "cli/ProgressBar.h"

namespace loom::cli {

namespace {

struct Outcome {
    enum Kind { WRITTEN, SKIPPED, FAILED } kind;
    std::string message;  // why it failed, or a note on what was written
};

Outcome convert(const Conversion& conversion, bool batch, const CliOptions& options) {
    if (!conversion.error.empty()) return {Outcome::FAILED, conversion.error};
    std::error_code ignored;
    // A batch run again after an interruption goes on where it stopped.
    if (batch && !options.force && std::filesystem::exists(conversion.output, ignored))
        return {Outcome::SKIPPED, {}};
    try {
        return {Outcome::WRITTEN, convertFile(conversion.input, conversion.output, options)};
    } catch (const std::exception& e) {
        return {Outcome::FAILED, e.what()};
    }
}

}  // namespace

int runConversions(const ConversionPlan& plan, const CliOptions& options) {
    if (!plan.outputFolder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(plan.outputFolder, error);
        if (error) {
            std::cerr << "quennet: cannot make the folder " << plan.outputFolder << ": "
                      << error.message() << '\n';
            return 1;
        }
    }
    for (const std::string& note : plan.notes) std::cerr << "quennet: " << note << '\n';
    const std::vector<Conversion>& conversions = plan.conversions;
    const size_t count = conversions.size();
    std::atomic<size_t> next{0};
    std::mutex reporting;
    // Guarded by reporting, like the output streams and the bar.
    size_t written = 0, skipped = 0, failed = 0;
    ProgressBar bar(std::cerr, count, plan.batch && isatty(STDERR_FILENO));
    bar.show(0);

    auto worker = [&] {
        for (size_t i = next++; i < count; i = next++) {
            const Conversion& conversion = conversions[i];
            const Outcome outcome = convert(conversion, plan.batch, options);
            std::lock_guard<std::mutex> lock(reporting);
            bar.clear();
            switch (outcome.kind) {
                case Outcome::WRITTEN:
                    ++written;
                    if (!outcome.message.empty())
                        std::cerr << conversion.input << ": " << outcome.message << '\n';
                    if (options.verbose)
                        std::cout << conversion.input << " -> " << conversion.output << std::endl;
                    break;
                case Outcome::SKIPPED:
                    ++skipped;
                    if (options.verbose)
                        std::cout << conversion.input << ": skipped, " << conversion.output << " exists"
                                  << std::endl;
                    break;
                case Outcome::FAILED:
                    ++failed;
                    std::cerr << conversion.input << ": " << outcome.message << '\n';
                    break;
            }
            bar.show(written + skipped + failed);
        }
    };
    // -j caps the files converted at once (one per core by default); the pool's workers and this
    // thread convert them, so fewer run at once where fewer workers could start.
    const size_t cores = std::max(1u, ThreadPool::shared().workers());
    const size_t jobs = std::min(options.jobs > 0 ? size_t(options.jobs) : cores, count);
    TaskGroup workers;
    for (size_t j = 1; j < jobs; ++j) workers.run(worker);
    worker();
    workers.wait();

    bar.clear();
    if (plan.batch)
        std::cout << written << " written, " << failed << " failed, " << skipped << " skipped"
                  << (skipped ? " (their results exist; --force replaces them)" : "") << std::endl;
    return failed ? 1 : 0;
}

}  // namespace loom::cli
