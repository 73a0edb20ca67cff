#pragma once

#include <QIcon>

namespace quillora {

// The four images of the editor's tree, by favorites::EntryImage: folder (and root), favourite,
// separator, placeholder.
QIcon FavoritesEntryIcon(int image);

// The editor's tool bar glyphs that the main window's tool bar has no match for.
enum class FavoritesGlyph { NewSeparator, Delete, Properties };
QIcon FavoritesGlyphIcon(FavoritesGlyph glyph);

}  // namespace quillora
