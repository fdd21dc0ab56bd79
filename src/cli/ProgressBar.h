// ProgressBar: one line on a terminal showing how far a batch is, redrawn in place.
#pragma once

#include <cstddef>
#include <ostream>

namespace loom::cli {

class ProgressBar {
public:
    // Draws nothing unless shown (for a terminal); the bar is wiped on destruction.
    ProgressBar(std::ostream& out, size_t total, bool shown) : out_(out), total_(total), shown_(shown) {}
    ~ProgressBar() { clear(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Draws "[#####-----] done/total" over the line.
    void show(size_t done);
    // Wipes the bar, so that other output can take its line.
    void clear();

private:
    std::ostream& out_;
    size_t total_;
    bool shown_;
    size_t drawnLength_ = 0;
};

}  // namespace loom::cli
