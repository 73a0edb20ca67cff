// Reading and writing the notes file against the floor of moving the same bytes, and the peak
// memory of a process that has loaded the document.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_sections.h"
#include "bench_util.h"
#include "document/notes_file.h"

namespace quillora::bench {

namespace {

constexpr double kTimeGoal = 1.5;
constexpr double kFirstReadGoal = 1.1;
constexpr double kMemoryFactor = 1.3;
constexpr double kMemoryAllowance = 30e6;

size_t FileSize(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) throw std::runtime_error("cannot find " + path);
    return static_cast<size_t>(st.st_size);
}

// The floor of reading: the file's bytes, in one read, into memory that is already allocated
// and touched, so that the floor is the copy alone.
void ReadRaw(const std::string& path, char* out, size_t size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, out + done, size - done);
        if (got <= 0) throw std::runtime_error("cannot read " + path);
        done += static_cast<size_t>(got);
    }
    ::close(fd);
}

// The floor of writing: the same bytes over the previous copy, in one write, synced.
void WriteRaw(const std::string& path, const char* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw std::runtime_error("cannot create " + path);
    size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd, data + done, size - done);
        if (put <= 0) throw std::runtime_error("cannot write " + path);
        done += static_cast<size_t>(put);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) throw std::runtime_error("cannot sync " + path);
}

size_t CountWord(const NotesDocument& doc, std::string_view word) {
    size_t hits = 0;
    doc.tree.ForEachInDisplayOrder([&](NodeId n, int) {
        const std::string& text = doc.TextOf(n);
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
            ++hits;
        }
    });
    return hits;
}

// The read a user waits for: the first in a process, into memory it has never touched, beside
// the floor of reading the same bytes into new memory. Each is a fresh process; they alternate.
void PrintFirstRead(const Options& options, const std::string& file) {
    std::vector<double> reads;
    std::vector<double> floors;
    for (int i = 0; i < options.repetitions; ++i) {
        reads.push_back(std::stod(RunSelf(options, {"--first-read", "read", file})));
        floors.push_back(std::stod(RunSelf(options, {"--first-read", "floor", file})));
    }
    const double read = Median(reads);
    const double floor = Median(floors);
    std::printf("%-24s %7.1f ms  floor %7.1f ms (new memory)  ratio %.2f  (goal <= %.1f)%s\n",
                "first read in a process", read, floor, read / floor, kFirstReadGoal,
                read / floor <= kFirstReadGoal ? "" : "  MISSED");
}

}  // namespace

int FirstReadChild(const std::string& what, const std::string& path) {
    const size_t size = FileSize(path);
    double ms = 0;
    if (what == "floor") {
        // Memory the process has never touched, as a fresh read of the document gets.
        std::unique_ptr<char[]> bytes(new char[size]);
        const double t0 = NowMs();
        ReadRaw(path, bytes.get(), size);
        ms = NowMs() - t0;
    } else {
        auto doc = std::make_unique<NotesDocument>();
        const double t0 = NowMs();
        if (ReadNotesFile(path, *doc) != ReadStatus::Ok) return 1;
        ms = NowMs() - t0;
    }
    std::printf("%.3f\n", ms);
    return 0;
}

int PeakLoadChild(const std::string& path) {
    const int64_t before = PeakResidentBytes();
    auto doc = std::make_unique<NotesDocument>();
    if (ReadNotesFile(path, *doc) != ReadStatus::Ok) return 1;
    std::printf("%lld %lld\n", static_cast<long long>(PeakResidentBytes()),
                static_cast<long long>(before));
    return 0;
}

void RunNotesFileBench(const Options& options) {
    const DocumentShape shape = options.quick ? QuickShape() : FullShape();
    auto doc = std::make_unique<NotesDocument>();
    MakeBenchDocument(*doc, shape);
    const int64_t text_bytes = TotalTextBytes(*doc);

    const std::string file = (options.work_dir / "bench.qlb").string();
    if (WriteNotesFile(file, *doc) != WriteStatus::Ok) throw std::runtime_error("cannot write");
    const size_t file_size = FileSize(file);
    std::unique_ptr<char[]> raw(new char[file_size]);
    ReadRaw(file, raw.get(), file_size);
    std::printf("notes_file: %d nodes, %s of text, file %s, \"the\" %zu times\n", doc->tree.Count(),
                Megabytes(static_cast<double>(text_bytes)).c_str(),
                Megabytes(static_cast<double>(file_size)).c_str(), CountWord(*doc, "the"));

    std::unique_ptr<NotesDocument> loaded;
    std::unique_ptr<char[]> floor_bytes(new char[file_size]);
    std::memset(floor_bytes.get(), 0, file_size);
    const Timing read = MeasurePair(
        options.repetitions,
        [&] {
            loaded = std::make_unique<NotesDocument>();
            if (ReadNotesFile(file, *loaded) != ReadStatus::Ok) throw std::runtime_error("read");
        },
        [&] { ReadRaw(file, floor_bytes.get(), file_size); }, [&] { loaded.reset(); });
    PrintRatio("read (warm, memory reused)", read, kTimeGoal);
    loaded.reset();
    floor_bytes.reset();
    PrintFirstRead(options, file);

    const std::string out = (options.work_dir / "out.qlb").string();
    const std::string floor_out = (options.work_dir / "floor.bin").string();
    const Timing write = MeasurePair(
        options.repetitions,
        [&] {
            if (WriteNotesFile(out, *doc) != WriteStatus::Ok) throw std::runtime_error("write");
        },
        [&] { WriteRaw(floor_out, raw.get(), file_size); });
    PrintRatio("write", write, kTimeGoal);

    doc.reset();
    raw.reset();
    // Measured in a fresh process that does nothing but load, so nothing of this one counts.
    const std::string answer = RunSelf(options, {"--peak-load", file});
    long long peak = 0;
    long long baseline = 0;
    std::sscanf(answer.c_str(), "%lld %lld", &peak, &baseline);
    const double goal = kMemoryFactor * static_cast<double>(text_bytes) + kMemoryAllowance;
    std::printf(
        "peak memory with the document loaded: %s (process before loading %s)  "
        "goal <= %s (1.3 x text + 30 MB)%s\n",
        Megabytes(static_cast<double>(peak)).c_str(),
        Megabytes(static_cast<double>(baseline)).c_str(), Megabytes(goal).c_str(),
        static_cast<double>(peak) <= goal ? "" : "  MISSED");
}

}  // namespace quillora::bench
