#include "bench_util.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace quillora::bench {

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double ThreadCpuMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

Timing MeasurePair(int repetitions, const std::function<void()>& measured,
                   const std::function<void()>& floor, const std::function<void()>& prepare) {
    std::vector<double> times, floors, cpu, floor_cpu;
    const auto timed = [&](const std::function<void()>& run, std::vector<double>& wall,
                           std::vector<double>& processor) {
        if (prepare) prepare();
        const double start = NowMs();
        const double start_cpu = ThreadCpuMs();
        run();
        processor.push_back(ThreadCpuMs() - start_cpu);
        wall.push_back(NowMs() - start);
    };
    for (int i = 0; i < repetitions; ++i) {
        timed(floor, floors, floor_cpu);
        timed(measured, times, cpu);
    }
    return {Median(times), Median(floors), Median(cpu), Median(floor_cpu)};
}

void PrintRatio(const std::string& label, const Timing& timing, double goal) {
    const double ratio = timing.floor_ms > 0 ? timing.ms / timing.floor_ms : 0;
    std::printf(
        "%-7s %8.1f ms  floor %8.1f ms  ratio %.2f  (goal <= %.1f)%s  [cpu %.1f / %.1f ms]\n",
        (label + ":").c_str(), timing.ms, timing.floor_ms, ratio, goal,
        ratio <= goal ? "" : "  MISSED", timing.cpu_ms, timing.floor_cpu_ms);
    std::fflush(stdout);
}

int64_t PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
    }
    return 0;
}

std::string RunSelf(const Options& options, const std::vector<std::string>& args) {
    std::string command = "'" + options.self_path + "'";
    for (const auto& arg : args) {
        std::string quoted;
        for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += " '" + quoted + "'";
    }
    FILE* child = ::popen(command.c_str(), "r");
    if (child == nullptr) throw std::runtime_error("cannot start " + command);
    std::string last;
    std::array<char, 512> line{};
    while (std::fgets(line.data(), static_cast<int>(line.size()), child) != nullptr) {
        std::string_view l(line.data());
        if (!l.empty() && l.back() == '\n') l.remove_suffix(1);
        if (!l.empty()) last = l;
    }
    if (::pclose(child) != 0) throw std::runtime_error("child failed: " + command);
    return last;
}

DocumentShape FullShape() {
    return {4000, 64'000'000};
}
DocumentShape QuickShape() {
    return {200, 2'000'000};
}

namespace {

// A small fixed generator, so the document is the same on every platform and library.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state_;
};

// None of these contains "the", so every hit of that word is one placed on purpose.
constexpr std::string_view kWords[] = {
    "note",     "folder",    "idea",      "plan",     "draft",    "meeting",  "project",
    "review",   "budget",    "garden",    "kitchen",  "travel",   "book",     "music",
    "letter",   "report",    "quick",     "brown",    "fox",      "jumps",    "over",
    "lazy",     "dog",       "and",       "of",       "to",       "in",       "is",
    "it",       "for",       "on",        "with",     "as",       "was",      "at",
    "by",       "an",        "be",        "this",     "from",     "or",       "have",
    "not",      "are",       "but",       "had",      "his",      "her",      "which",
    "you",      "were",      "all",       "we",       "when",     "your",     "can",
    "said",     "use",       "each",      "how",      "if",       "will",     "up",
    "about",    "out",       "many",      "very",     "so",       "some",     "would",
    "make",     "like",      "into",      "time",     "has",      "look",     "two",
    "more",     "write",     "go",        "see",      "number",   "no",       "way",
    "could",    "people",    "my",        "than",     "first",    "water",    "been",
    "call",     "who",       "oil",       "its",      "now",      "find",     "long",
    "down",     "day",       "did",       "get",      "come",     "made",     "may",
    "part",     "Monday",    "April",     "Quillora", "caf\xE9",  "na\xEFve", "r\xE9sum\xE9",
    "tomorrow", "yesterday", "important", "remember", "question", "answer",   "simple",
    "window",
};
constexpr int kWordCount = static_cast<int>(std::size(kWords));

std::string MakeText(Random& random, int64_t target) {
    std::string text;
    text.reserve(static_cast<size_t>(target) + 128);
    while (static_cast<int64_t>(text.size()) < target) {
        const int line_length = 20 + random.Below(90);
        const size_t line_start = text.size();
        if (random.Below(12) == 0) {  // an empty line now and then
            text += "\r\n";
            continue;
        }
        while (static_cast<int>(text.size() - line_start) < line_length) {
            if (text.size() > line_start) text += ' ';
            text +=
                random.Below(200) == 0 ? std::string_view("the") : kWords[random.Below(kWordCount)];
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace

void MakeBenchDocument(NotesDocument& doc, const DocumentShape& shape) {
    Random random(0x5EED'1234'ABCD'0001ULL);
    const int64_t mean = shape.text_bytes / shape.nodes;
    std::vector<NodeId> open_folders;  // the path from the top to where nodes are added
    doc.tree.BulkChange([&] {
        for (int i = 0; i < shape.nodes; ++i) {
            // Climb out of a folder now and then, more often the deeper we are.
            while (!open_folders.empty() &&
                   random.Below(10) < static_cast<int>(open_folders.size())) {
                open_folders.pop_back();
            }
            const bool folder = random.Below(100) < 18;
            const int slot = *doc.texts.AllocateTextSlot();
            // Lengths from nothing to twice the mean, with a few empty texts.
            const int64_t length = random.Below(15) == 0 ? 0 : random.Next() % (2 * mean + 1);
            doc.texts.SetCanonicalText(slot, MakeText(random, length));
            std::string title = std::string(folder ? "Folder " : "Note ") + std::to_string(i) +
                                " " + std::string(kWords[random.Below(kWordCount)]);
            const NodeId parent = open_folders.empty() ? kNoNode : open_folders.back();
            const int32_t kind = folder ? kFolder : kNote;
            const NodeId node = doc.tree.Append(parent, title, NodeData{kind, slot},
                                                doc.images.ImageFor(kind, false));
            if (folder && open_folders.size() < 8) open_folders.push_back(node);
        }
    });
    doc.modified = true;
}

int64_t TotalTextBytes(const NotesDocument& doc) {
    int64_t total = 0;
    doc.tree.ForEachInDisplayOrder([&](NodeId n, int) { total += doc.TextLength(n); });
    return total;
}

std::string Megabytes(double bytes) {
    char out[32];
    std::snprintf(out, sizeof out, "%.1f MB", bytes / 1e6);
    return out;
}

}  // namespace quillora::bench
