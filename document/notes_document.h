#pragma once

#include <cstdint>
#include <string>

#include "base/file_identity.h"
#include "base/observed_flag.h"
#include "document/note_tree.h"
#include "document/text_store.h"

namespace quillora {

// The three node images in use, indexes into the tree's image list.
struct NodeImages {
    int32_t folder = 3;         // a collapsed folder, and every folder when created or read
    int32_t opened_folder = 4;  // an expanded folder
    int32_t note = 5;

    int32_t ImageFor(int32_t kind, bool expanded) const {
        if (kind == kNote) return note;
        return expanded ? opened_folder : folder;
    }
};

// One open notes document: the tree, the store of its texts and the state kept beside them.
// The window that shows it owns one of these and mirrors its state on screen.
class NotesDocument {
public:
    NoteTree tree;
    TextStore texts;
    NodeImages images;

    ObservedFlag modified;            // unsaved changes
    std::string current_file_name;    // empty for an untitled document
    FileIdentity disk_identity;       // the file as this document last read or wrote it
    int32_t current_text_index = -1;  // slot shown in a pane; -1 when none
    int32_t current_kind = -1;        // kind of that node; -1 when none

    bool IsUntitled() const { return current_file_name.empty(); }
    const std::string& TextOf(NodeId node) const { return texts.TextOf(tree.Data(node).TextIndex); }
    int32_t TextLength(NodeId node) const { return texts.TextLength(tree.Data(node).TextIndex); }

    // Stores the text of the pane that shows `current_text_index`, when a node's text is shown.
    void StoreCurrentText(std::string_view pane_text) {
        if (!tree.Empty() && current_text_index != -1) texts.SetText(current_text_index, pane_text);
    }

    // Returns the model to the empty, untitled, unmodified state.
    void Close() {
        tree.Clear();
        texts.ReleaseAll();
        current_file_name.clear();
        disk_identity = {};
        modified = false;
        current_text_index = -1;
        current_kind = -1;
    }
};

}  // namespace quillora
