// Reading a favorites file of 4000 records next to reading its bytes.

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "bench_sections.h"
#include "bench_util.h"
#include "favorites/favorites_file.h"

namespace quillora::bench {

namespace {
constexpr double kReadGoal = 1.5;
}  // namespace

void RunFavoritesBench(const Options& options) {
    const int count = options.quick ? 100 : static_cast<int>(favorites::kMaxRecords);
    std::vector<favorites::FavoriteRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const bool folder = i % 10 == 0;
        records.push_back({folder ? 0 : 1, folder ? "" : "/home/ann/notes/file" + std::to_string(i),
                           (folder ? "Folder " : "Favourite ") + std::to_string(i)});
    }
    const std::string path = (options.work_dir / favorites::kFileName).string();
    if (favorites::WriteFavoritesFromEditor(path, "Favorites", records) != ReplaceStatus::Ok) {
        throw std::runtime_error("cannot write " + path);
    }
    std::size_t read = 0;
    const Timing timing = MeasurePair(
        options.repetitions, [&] { read = favorites::ReadFavoritesForEditor(path).records.size(); },
        [&] { read += ReadRegularFile(path, 1U << 24).bytes.size() > 0 ? 0 : 1; });
    if (read != records.size()) throw std::runtime_error("favorites read back wrong");
    std::printf("favorites: %d records\n", count);
    PrintRatio("favorites read", timing, kReadGoal);
}

}  // namespace quillora::bench
