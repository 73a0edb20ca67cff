#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <array>

class QPainter;

namespace quillora {

// The node images: 16 x 16 logical pixels each, painted in code so that they stay sharp on
// screens of any pixel density.
constexpr int kNodeImageCount = 19;
constexpr int kNodeImageSize = 16;
constexpr int kCustomImageSlotCount = 3;

// Indexes into the image list; settings store these numbers, so they never change.
enum NodeImageIndex : int {
    kCustomImage1 = 0,
    kCustomImage2 = 1,
    kCustomImage3 = 2,
    kYellowFolderImage = 3,
    kYellowOpenFolderImage = 4,
    kNotePageImage = 5,
    kBlueFolderImage = 6,
    kBlueOpenFolderImage = 7,
    kBlueStarImage = 8,
    kPaleFolderImage = 9,
    kPaleOpenFolderImage = 10,
    kSmilingFaceImage = 11,
    kGreenFolderImage = 12,
    kGreenOpenFolderImage = 13,
    kQuarteredSquareImage = 14,
    kRedFolderImage = 15,
    kRedOpenFolderImage = 16,
    kRedCrossImage = 17,
    kQuestionMarkImage = 18,
};

// Paints the built-in picture of `index` into the 16 x 16 logical square at the painter's
// origin. Custom slots show the question mark; an index out of range paints nothing.
void DrawNodeImage(QPainter& painter, int index);

// The built-in picture of `index` as a pixmap of 16 x 16 logical pixels at the given density.
// An index out of range gives a fully transparent pixmap.
QPixmap PaintNodeImage(int index, qreal device_pixel_ratio);

// The built-in picture of `index` as an icon that renders sharply at any size and density.
QIcon NodeImageIcon(int index);

// A 16 x 16 custom image made from a bitmap: its top-left 16 x 16 pixels, with every pixel of
// `transparent` made transparent (an invalid colour: none). Pixels a smaller bitmap does not
// cover stay transparent.
QPixmap MakeCustomNodeImage(const QImage& bitmap, const QColor& transparent);

// The 19 node images of a tree: the built-in pictures with three slots the user may fill with
// bitmaps of their own. Copies are independent.
class ImageList {
public:
    // `slot` 0 to 2; a null pixmap puts the question mark back. Out-of-range slots are ignored.
    void SetCustomNodeImage(int slot, const QPixmap& image);
    void ClearCustomNodeImage(int slot) { SetCustomNodeImage(slot, QPixmap()); }
    bool HasCustomNodeImage(int slot) const;

    // Out-of-range indexes give the blank (transparent) image.
    QPixmap Pixmap(int index, qreal device_pixel_ratio = 1.0) const;
    QIcon Icon(int index) const;
    // Paints entry `index` scaled into `target`; custom bitmaps are enlarged without blurring.
    void Draw(QPainter& painter, const QRectF& target, int index) const;

private:
    std::array<QPixmap, kCustomImageSlotCount> custom_;
    // Icons are made once per entry: the tree asks for one every time it paints a row.
    mutable std::array<QIcon, kNodeImageCount> icons_;
};

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
