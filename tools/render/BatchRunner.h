// Runs one job per input on a few threads at once and keeps going past inputs that fail.
// Each thread holds one input at a time, so memory stays bounded by the jobs in flight.
#pragma once

#include "FileReport.h"

#include <functional>
#include <string>
#include <vector>

// job renders the input named in the record it is given and fills in the rest; what it
// throws becomes the record's error. done is told about each record as it completes (one at a
// time), with how many are complete. The records come back in the order of inputs.
std::vector<FileRecord> runBatch(const std::vector<std::string>& inputs, int threads,
                                 const std::function<void(FileRecord&)>& job,
                                 const std::function<void(const FileRecord&, std::size_t)>& done);

// Runs fn on a thread of its own and waits for it, passing on what it throws. The plug-in's
// dither sequence belongs to the thread, so every render on a fresh one comes out the same.
void runOnFreshThread(const std::function<void()>& fn);
