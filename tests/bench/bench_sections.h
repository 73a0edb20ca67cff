#pragma once

// The sections of the benchmark. A new section adds its function here and a line to the table
// in bench_main.cpp.

#include <string>

#include "bench_util.h"

namespace quillora::bench {

void RunNotesFileBench(const Options& options);
// Child process of the notes file section: loads `path` first thing and prints the peak
// resident size after loading and before it.
int PeakLoadChild(const std::string& path);
// Child process of the notes file section: the first read of `path` in this process ("read") or
// the floor of reading its bytes into new memory ("floor"); prints the milliseconds.
int FirstReadChild(const std::string& what, const std::string& path);

// Find Next and Replace All over the whole document against a plain search and replace.
void RunSearchBench(const Options& options);

// The recovery copy and previous versions.
void RunSafetyBench(const Options& options);
// Export All against plain writes of the same files; rich text to plain text against reading.
void RunExchangeBench(const Options& options);
// Reading a favorites file of 4000 records against reading its bytes.
void RunFavoritesBench(const Options& options);

}  // namespace quillora::bench
