// RowPipeline: a chain of stages that each work one row at a time (convert a source row, run a
// kernel on a source row, refine an anchor row, write a result row), run interleaved so that a
// row is refined and consumed while it is still in cache, and so that intermediates need only a
// ring of a few rows. A stage runs its next unit as soon as every row it reads from the previous
// stage's output is final, that is, no later unit of that stage will change it.
#pragma once

#include <functional>
#include <vector>

namespace loom {

class RowPipeline {
public:
    struct Stage {
        int units = 0;
        // The last row of the previous stage's output that unit `u` reads; -1 for none.
        std::function<int(int u)> lastRowRead;
        std::function<void(int u)> run;
        // How many leading rows of this stage's output are final once `done` units have run.
        std::function<int(int done)> finalRows;
    };

    void add(Stage stage) { stages_.push_back(std::move(stage)); }
    // Runs every unit of every stage. One unit of the first stage at a time, then each later
    // stage as far as its input allows, which bounds how many rows are in flight.
    void run();

private:
    std::vector<Stage> stages_;
};

}  // namespace loom
