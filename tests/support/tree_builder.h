#pragma once

#include <string_view>

#include "document/notes_document.h"

namespace quillora::testing {

// Appends a node below `parent` with a freshly allocated text slot holding `text` (line breaks
// as CR LF) and the image its kind starts with.
inline NodeId AddNode(NotesDocument& doc, NodeId parent, std::string_view title, int32_t kind,
                      std::string_view text = {}) {
    const int slot = *doc.texts.AllocateTextSlot();
    if (!text.empty()) doc.texts.SetText(slot, text);
    return doc.tree.Append(parent, title, NodeData{kind, slot}, doc.images.ImageFor(kind, false));
}

}  // namespace quillora::testing
