#pragma once

#include <QIcon>

class QPainter;

namespace quillora {

// The program's own icon: a notebook with a quill across it. Painted in code for every size
// asked of it; the build renders the same drawing into the PNGs the desktop shows.
QIcon ApplicationIcon();

// The icon of a notes file: a page holding a small tree of folders and notes.
QIcon DocumentIcon();

// The two designs on the 16 x 16 grid of the other pictures, for painters that render them
// directly (the icon files made at build time, the properties dialog).
void DrawApplicationIcon(QPainter& painter);
void DrawDocumentIcon(QPainter& painter);

}  // namespace quillora
