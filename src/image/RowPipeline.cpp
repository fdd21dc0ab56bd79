#include "image/RowPipeline.h"

#include <climits>
#include <stdexcept>

namespace loom {

void RowPipeline::run() {
    const size_t n = stages_.size();
    if (n == 0) return;
    std::vector<int> done(n, 0);
    auto finalRowsOf = [&](size_t t) {
        return done[t] == stages_[t].units ? INT_MAX : stages_[t].finalRows(done[t]);
    };
    while (done.back() < stages_.back().units) {
        bool progressed = false;
        for (size_t t = 0; t < n; ++t) {
            Stage& s = stages_[t];
            while (done[t] < s.units) {
                if (t > 0 && s.lastRowRead(done[t]) >= finalRowsOf(t - 1)) break;
                s.run(done[t]++);
                progressed = true;
                if (t == 0) break;
            }
        }
        // Each stage only waits on the one before, which always ends; a stall is a wiring fault.
        if (!progressed) throw std::logic_error("row pipeline stalled");
    }
}

}  // namespace loom
