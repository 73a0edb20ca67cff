// Feeds arbitrary bytes to the notes file reader. Besides not crashing, a file that reads must
// write back into bytes that read to the same tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "document/notes_file.h"

namespace {

std::vector<std::pair<quillora::NodeId, int>> Flatten(const quillora::NoteTree& tree) {
    std::vector<std::pair<quillora::NodeId, int>> out;
    tree.ForEachInDisplayOrder([&](quillora::NodeId n, int depth) { out.emplace_back(n, depth); });
    return out;
}

bool SameDocument(const quillora::NotesDocument& a, const quillora::NotesDocument& b) {
    const auto order_a = Flatten(a.tree);
    const auto order_b = Flatten(b.tree);
    if (order_a.size() != order_b.size()) return false;
    for (size_t i = 0; i < order_a.size(); ++i) {
        const auto [x, depth_x] = order_a[i];
        const auto [y, depth_y] = order_b[i];
        if (depth_x != depth_y || a.tree.Title(x) != b.tree.Title(y) ||
            a.tree.Data(x).Kind != b.tree.Data(y).Kind || a.TextOf(x) != b.TextOf(y) ||
            b.tree.Data(y).TextIndex != static_cast<int32_t>(i)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillora;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    NotesDocument doc;
    int last_progress = -1;
    const ReadCallbacks cb{{}, [&](int i) {
                               if (i % 10 != 0 || i <= last_progress) std::abort();
                               last_progress = i;
                           }};
    if (ReadNotesBytes(bytes, doc, cb) != ReadStatus::Ok) {
        if (!doc.tree.Empty() || doc.texts.OccupiedCount() != 0) std::abort();
        return 0;
    }
    if (doc.tree.Count() != doc.texts.OccupiedCount()) std::abort();

    // Canonical line breaks can make a stored text longer than the writer keeps; such a text is
    // cut when written, so only the others must survive unchanged.
    bool all_short = true;
    doc.tree.ForEachInDisplayOrder([&](NodeId n, int) {
        if (doc.TextLength(n) > notes_file::kMaxTextLength) all_short = false;
    });
    const std::string written = NotesFileBytes(doc);
    NotesDocument again;
    if (ReadNotesBytes(written, again) != ReadStatus::Ok) std::abort();
    if (all_short && !SameDocument(doc, again)) std::abort();
    return 0;
}
