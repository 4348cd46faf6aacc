// One file mastered as zembrac-render's options say: held in memory, since every try of the
// loudness search renders all of it again, then written, read back and measured.
#pragma once

#include "FileReport.h"
#include "Options.h"

#include <string>

// Renders record.input into record.output as options say and fills in the record.
// plotPath: where its picture goes, or empty; showProgress: a bar for each try. Throws
// RenderError.
void masterFile(const Options& options, const std::string& pluginPath, const std::string& plotPath,
                FileRecord& record, bool showProgress);

// The last part of a path.
std::string baseName(const std::string& path);
std::string fixed(double value, int precision);
// "+1.25", "-0.50", "0.00".
std::string signedDb(double value);
