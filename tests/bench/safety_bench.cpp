// What keeping the user's work safe costs: the recovery copy's share of the window's thread and
// its write beside a plain save, and a save that keeps a previous version beside one that does not.

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_sections.h"
#include "document/notes_file.h"
#include "document/previous_versions.h"
#include "document/recovery_snapshot.h"
#include "document/recovery_store.h"

namespace quillora::bench {

namespace {

constexpr double kFrameMs = 16.0;
constexpr double kVersionGoal = 1.1;
constexpr double kRecoveryWriteGoal = 1.5;
constexpr std::size_t kStepBudget = std::size_t{4} << 20;  // as the program copies per step

// Copies the whole document in steps as the window does; prints the worst step and the total.
void PrintSnapshotSteps(const char* label, RecoverySnapshot& snapshot, const NotesDocument& doc) {
    double worst = 0;
    double total = 0;
    int steps = 0;
    bool done = false;
    while (!done) {
        const double start = NowMs();
        done = snapshot.Refresh(doc, kStepBudget);
        if (done && !snapshot.Freeze(doc)) throw std::runtime_error("snapshot not current");
        const double ms = NowMs() - start;
        worst = std::max(worst, ms);
        total += ms;
        ++steps;
    }
    std::printf("%-30s %3d steps  worst %6.2f ms  total %6.2f ms  (goal: every step < %.0f ms)\n",
                label, steps, worst, total, kFrameMs);
}

}  // namespace

void RunSafetyBench(const Options& options) {
    auto doc = std::make_unique<NotesDocument>();
    MakeBenchDocument(*doc, options.quick ? QuickShape() : FullShape());
    std::printf("safety: %d nodes\n", doc->tree.Count());

    RecoverySnapshot snapshot;
    PrintSnapshotSteps("recovery copy, first", snapshot, *doc);
    const int slot = doc->tree.Data(doc->tree.FirstTopLevel()).TextIndex;
    doc->texts.SetText(slot, doc->texts.TextOf(slot) + "typed");
    PrintSnapshotSteps("recovery copy, after typing", snapshot, *doc);

    const std::string copy = (options.work_dir / "recovery.qlb").string();
    const std::string saved = (options.work_dir / "saved.qlb").string();
    const FrozenDocument frozen = *snapshot.Freeze(*doc);
    const Timing write = MeasurePair(
        options.repetitions,
        [&] {
            if (WriteNotesRecords(copy, frozen.View()) != ReplaceStatus::Ok) {
                throw std::runtime_error("cannot write the recovery copy");
            }
        },
        [&] {
            if (WriteNotesFile(saved, *doc) != WriteStatus::Ok) throw std::runtime_error("save");
        });
    PrintRatio("recovery copy write (off the window's thread) vs save", write, kRecoveryWriteGoal);

    const PreviousVersions versions((options.work_dir / "versions").string(), 10);
    int second = 0;
    const Timing keep = MeasurePair(
        options.repetitions,
        [&] {
            versions.Keep(saved, {2026, 1, 1, 0, second / 60, second % 60});
            ++second;
            if (WriteNotesFile(saved, *doc) != WriteStatus::Ok) throw std::runtime_error("save");
        },
        [&] {
            if (WriteNotesFile(saved, *doc) != WriteStatus::Ok) throw std::runtime_error("save");
        });
    PrintRatio("save keeping a previous version", keep, kVersionGoal);
}

}  // namespace quillora::bench
