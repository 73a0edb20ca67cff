#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/notes_document.h"
#include "document/notes_file.h"

namespace quillora {

// A frozen copy of a document, taken on the user-interface thread and written out on another.
// Texts are shared, not copied, between successive copies, so it costs little to hold.
class FrozenDocument {
public:
    struct Record {
        int32_t depth;
        int32_t kind;
        std::string title;
        std::shared_ptr<const std::string> text;
    };

    std::vector<Record> records;

    // Views into the records for the notes file writer; valid while this object lives.
    std::vector<NotesRecord> View() const;
};

// Keeps copies of a document's texts so that a frozen copy can be taken a piece at a time: each
// Refresh copies at most `byte_budget` bytes of texts that changed since they were last copied,
// so no single step keeps the window from answering. A text that changes after it was copied is
// copied again by a later step; Freeze succeeds only when every copy is current.
class RecoverySnapshot {
public:
    // Copies changed texts up to the budget. True when nothing is left to copy.
    bool Refresh(const NotesDocument& doc, std::size_t byte_budget);
    // The document as it is now, when every text's copy is current; empty otherwise.
    std::optional<FrozenDocument> Freeze(const NotesDocument& doc) const;
    // Drops every copy (the document was closed).
    void Clear();

private:
    struct Copy {
        std::uint64_t stamp = 0;
        std::shared_ptr<const std::string> text;
    };
    std::vector<Copy> copies_ = std::vector<Copy>(TextStore::kCapacity);
};

}  // namespace quillora
