// Runs a plan's conversions in parallel and tells the user how they went.
#pragma once

#include "cli/CliOptions.h"
#include "cli/ConversionPlan.h"

namespace loom::cli {

// Converts every file of the plan on options.jobs threads (default: one per core). Failures go
// to stderr as they happen, one line each; with options.verbose every written file gets a line
// on stdout. A batch also skips results that exist (unless options.force), shows a progress bar
// when stderr is a terminal, and ends with a summary line on stdout. Returns the exit status:
// 0 when no file failed, 1 otherwise.
int runConversions(const ConversionPlan& plan, const CliOptions& options);

}  // namespace loom::cli
