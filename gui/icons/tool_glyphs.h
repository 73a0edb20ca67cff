#pragma once

#include <QIcon>

#include "gui/icons/image_list.h"

namespace quillora {

// The tool bar's glyphs, left to right.
enum class ToolGlyph {
    New,
    Open,
    Save,
    NewNote,
    NewFolder,
    Cut,
    Copy,
    Paste,
    Undo,
    InsertDate,
    InsertTime,
    Find,
    Exit,
};
constexpr int kToolGlyphCount = 13;

// A tool-bar glyph. New Note and New Folder show the default note and folder images.
QIcon ToolGlyphIcon(ToolGlyph glyph);

// A tool-bar glyph, with New Note and New Folder drawn from the node images in use: entry
// `note_image_index` or `folder_image_index` of `images` with a small plus sign. The icon keeps
// its own copy of the pictures, so later changes to `images` need a new icon.
QIcon ToolGlyphIcon(ToolGlyph glyph, const ImageList& images, int folder_image_index,
                    int note_image_index);

}  // namespace quillora
