#pragma once

// Helpers shared by the benchmark sections: timing with medians, the result lines, peak memory,
// and the generated document every section measures.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/notes_document.h"

namespace quillora::bench {

struct Options {
    bool quick = false;  // small document, one repetition: a smoke test
    int repetitions = 11;
    std::filesystem::path work_dir;  // a fresh folder, removed at the end of the run
    std::string self_path;           // this program, for measurements in a child process
};

// One section of the benchmark, run when named on the command line (or when none is named).
struct Section {
    const char* name;
    void (*run)(const Options&);
};

// --- timing ---

double NowMs();
double ThreadCpuMs();

// Runs `measured` and `floor` alternately `repetitions` times (so both see the same cache and
// disk state) and returns their median times in milliseconds. `prepare`, when given, runs before
// each timed call and is not timed.
// Wall-clock medians carry the goals. The thread's processor time is printed beside them: on a
// busy machine it shows the work apart from the waiting for a processor (but not for a disk).
struct Timing {
    double ms;
    double floor_ms;
    double cpu_ms;
    double floor_cpu_ms;
};
Timing MeasurePair(int repetitions, const std::function<void()>& measured,
                   const std::function<void()>& floor, const std::function<void()>& prepare = {});

double Median(std::vector<double> values);

// Prints e.g. "read:   41.2 ms  floor 30.1 ms  ratio 1.37  (goal <= 1.5)".
void PrintRatio(const std::string& label, const Timing& timing, double goal);

// --- memory ---

// The process's peak resident size so far (VmHWM), in bytes; 0 when unknown.
int64_t PeakResidentBytes();
// Runs this program again with `args` and returns the last line it printed.
std::string RunSelf(const Options& options, const std::vector<std::string>& args);

// --- the generated document ---

struct DocumentShape {
    int nodes;
    int64_t text_bytes;  // roughly; texts are whole lines
};
DocumentShape FullShape();   // 4000 nodes, about 60 MB of text
DocumentShape QuickShape();  // a small one for the smoke test

// Fills the empty `doc` deterministically: folders and notes mixed over several depths, texts of
// words in lines ended by CR LF, the word "the" common enough for tens of thousands of hits in
// the full document. The same shape always gives the same document.
void MakeBenchDocument(NotesDocument& doc, const DocumentShape& shape);

int64_t TotalTextBytes(const NotesDocument& doc);

std::string Megabytes(double bytes);

}  // namespace quillora::bench
