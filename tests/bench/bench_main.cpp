// quillora_bench [--quick] [--repetitions N] [section...]
// quillora_bench --write-document PATH: writes the benchmarks' 4000-node document to PATH.
// Prints, per operation, the median time next to a floor measured in the same run on the same
// bytes, and the ratio against its goal. With no section named, every section runs.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_sections.h"
#include "bench_util.h"
#include "document/notes_file.h"

namespace {

using quillora::bench::Options;
using quillora::bench::Section;

constexpr Section kSections[] = {
    {"notes_file", quillora::bench::RunNotesFileBench},
    {"search", quillora::bench::RunSearchBench},
    {"safety", quillora::bench::RunSafetyBench},
    {"exchange", quillora::bench::RunExchangeBench},
    {"favorites", quillora::bench::RunFavoritesBench},
};

int Usage() {
    std::fprintf(stderr,
                 "usage: quillora_bench [--quick] [--repetitions N] [section...]\n"
                 "sections:");
    for (const Section& s : kSections) std::fprintf(stderr, " %s", s.name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Child modes come first, before this process has touched any memory of its own.
    if (argc == 3 && std::string(argv[1]) == "--peak-load") {
        return quillora::bench::PeakLoadChild(argv[2]);
    }
    if (argc == 4 && std::string(argv[1]) == "--first-read") {
        return quillora::bench::FirstReadChild(argv[2], argv[3]);
    }
    if (argc == 3 && std::string(argv[1]) == "--write-document") {
        // The 4000-node document of the benchmarks, for timing the program by hand.
        quillora::NotesDocument doc;
        quillora::bench::MakeBenchDocument(doc, quillora::bench::FullShape());
        return quillora::WriteNotesFile(argv[2], doc) == quillora::WriteStatus::Ok ? 0 : 1;
    }

    Options options;
    std::vector<const Section*> chosen;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            options.quick = true;
        } else if (arg == "--repetitions" && i + 1 < argc) {
            options.repetitions = std::max(1, std::atoi(argv[++i]));
        } else {
            const Section* found = nullptr;
            for (const Section& s : kSections) {
                if (arg == s.name) found = &s;
            }
            if (found == nullptr) return Usage();
            chosen.push_back(found);
        }
    }
    if (options.quick) options.repetitions = 1;
    if (chosen.empty()) {
        for (const Section& s : kSections) chosen.push_back(&s);
    }

    namespace fs = std::filesystem;
    options.self_path = fs::read_symlink("/proc/self/exe").string();
    options.work_dir =
        fs::temp_directory_path() / ("quillora-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(options.work_dir);
    int result = 0;
    try {
        for (const Section* s : chosen) s->run(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillora_bench: %s\n", e.what());
        result = 1;
    }
    std::error_code ec;
    fs::remove_all(options.work_dir, ec);
    return result;
}
