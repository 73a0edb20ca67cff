#include "document/recovery_snapshot.h"

namespace quillora {

std::vector<NotesRecord> FrozenDocument::View() const {
    std::vector<NotesRecord> view;
    view.reserve(records.size());
    for (const Record& r : records) view.push_back({r.depth, r.kind, r.title, *r.text});
    return view;
}

bool RecoverySnapshot::Refresh(const NotesDocument& doc, std::size_t byte_budget) {
    std::size_t copied = 0;
    bool complete = true;
    doc.tree.ForEachInDisplayOrder([&](NodeId node, int /*depth*/) {
        if (!complete) return;
        const int slot = doc.tree.Data(node).TextIndex;
        if (slot < 0 || slot >= TextStore::kCapacity) return;
        Copy& copy = copies_[static_cast<std::size_t>(slot)];
        const std::uint64_t stamp = doc.texts.ChangeStamp(slot);
        if (copy.text && copy.stamp == stamp) return;
        const std::string& text = doc.texts.TextOf(slot);
        if (copied > 0 && copied + text.size() > byte_budget) {
            complete = false;
            return;
        }
        copy.text = std::make_shared<const std::string>(text);
        copy.stamp = stamp;
        copied += text.size();
    });
    return complete;
}

std::optional<FrozenDocument> RecoverySnapshot::Freeze(const NotesDocument& doc) const {
    FrozenDocument frozen;
    frozen.records.reserve(static_cast<std::size_t>(doc.tree.Count()));
    bool current = true;
    doc.tree.ForEachInDisplayOrder([&](NodeId node, int depth) {
        if (!current) return;
        const NodeData& data = doc.tree.Data(node);
        const int slot = data.TextIndex;
        const Copy* copy = slot >= 0 && slot < TextStore::kCapacity
                               ? &copies_[static_cast<std::size_t>(slot)]
                               : nullptr;
        if (copy == nullptr || !copy->text || copy->stamp != doc.texts.ChangeStamp(slot)) {
            current = false;
            return;
        }
        frozen.records.push_back({depth, data.Kind, doc.tree.Title(node), copy->text});
    });
    if (!current) return std::nullopt;
    return frozen;
}

void RecoverySnapshot::Clear() {
    for (Copy& copy : copies_) copy = Copy{};
}

}  // namespace quillora
