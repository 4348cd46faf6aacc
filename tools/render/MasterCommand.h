// zembrac-render's mastering runs: a loudness target under a true-peak ceiling, batches of
// files on several threads, per-file reports and plots.
#pragma once

#include "Options.h"

#include <chrono>
#include <string>

// One file (INPUT OUTPUT) or a batch (-o DIR INPUT...). Returns the exit status.
int runMaster(const Options& options, const std::string& pluginPath,
              std::chrono::steady_clock::time_point started);
