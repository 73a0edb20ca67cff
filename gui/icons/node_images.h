#pragma once

#include <QIcon>
#include <QPixmap>

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

}  // namespace quillora
