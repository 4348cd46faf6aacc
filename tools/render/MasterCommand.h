// zembrac-render's mastering runs: a loudness target under a true-peak ceiling, batches of
// files on several threads, per-file reports and plots. Each file is held in memory, since
// every try of the loudness search renders all of it again.
#pragma once

#include "FileReport.h"
#include "Options.h"

#include <chrono>
#include <string>

// Renders record.input into record.output as options say and fills in the record.
// plotPath: where its picture goes, or empty; showProgress: a bar for each try. Throws
// RenderError.
void masterFile(const Options& options, const std::string& pluginPath, const std::string& plotPath,
                FileRecord& record, bool showProgress);

// One file (INPUT OUTPUT) or a batch (-o DIR INPUT...). Returns the exit status.
int runMaster(const Options& options, const std::string& pluginPath,
              std::chrono::steady_clock::time_point started);
