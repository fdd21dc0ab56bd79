#include "cli/ProgressBar.h"

#include <string>

namespace loom::cli {

namespace {

constexpr size_t BAR_WIDTH = 30;

}  // namespace

void ProgressBar::show(size_t done) {
    if (!shown_) return;
    const size_t filled = total_ == 0 ? BAR_WIDTH : BAR_WIDTH * done / total_;
    const std::string line = '[' + std::string(filled, '#') + std::string(BAR_WIDTH - filled, '-') +
                             "] " + std::to_string(done) + '/' + std::to_string(total_);
    out_ << '\r' << line << std::flush;
    drawnLength_ = line.size();
}

void ProgressBar::clear() {
    if (drawnLength_ == 0) return;
    out_ << '\r' << std::string(drawnLength_, ' ') << '\r' << std::flush;
    drawnLength_ = 0;
}

}  // namespace loom::cli
