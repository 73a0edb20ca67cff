#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "gui/icons/app_icon.h"
#include "gui/icons/drawing.h"
#include "gui/icons/tool_glyphs.h"

namespace quillora {
namespace {

QImage Pixels(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixelCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return count;
}

// The average colour of the visible pixels, weighted by their opacity.
QColor MeanColor(const QImage& image) {
    double r = 0, g = 0, b = 0, weight = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const double a = qAlpha(pixel) / 255.0;
            r += qRed(pixel) * a;
            g += qGreen(pixel) * a;
            b += qBlue(pixel) * a;
            weight += a;
        }
    }
    if (weight == 0) return QColor();
    return QColor(int(r / weight), int(g / weight), int(b / weight));
}

QPixmap Solid(const QColor& color, int side = kNodeImageSize) {
    QPixmap pixmap(side, side);
    pixmap.fill(color);
    return pixmap;
}

TEST(NodeImages, EveryIndexGivesA16PixelPictureAtEveryDensity) {
    for (qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        for (int index = 0; index < kNodeImageCount; ++index) {
            SCOPED_TRACE(testing::Message() << "index " << index << " ratio " << ratio);
            const QPixmap pixmap = PaintNodeImage(index, ratio);
            EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), QSize(16, 16));
            EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
            EXPECT_EQ(pixmap.width(), qRound(16 * ratio));
            const QImage image = Pixels(pixmap);
            const int opaque = OpaquePixelCount(image);
            EXPECT_GT(opaque, image.width() * image.height() / 5);
            EXPECT_LT(opaque, image.width() * image.height()) << "a node image needs a mask";
        }
    }
}

TEST(NodeImages, IndexesOutOfRangeGiveTheBlankImage) {
    for (int index : {-1, kNodeImageCount, 1000}) {
        const QPixmap pixmap = PaintNodeImage(index, 2.0);
        EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), QSize(16, 16));
        EXPECT_EQ(OpaquePixelCount(Pixels(pixmap)), 0) << index;
        EXPECT_EQ(OpaquePixelCount(Pixels(ImageList().Pixmap(index))), 0) << index;
    }
}

TEST(NodeImages, PreSetPicturesAreAllDifferentAndCustomSlotsStartAsTheQuestionMark) {
    for (int a = kYellowFolderImage; a < kNodeImageCount; ++a) {
        for (int b = a + 1; b < kNodeImageCount; ++b) {
            EXPECT_NE(Pixels(PaintNodeImage(a, 1.0)), Pixels(PaintNodeImage(b, 1.0)))
                << a << " and " << b;
        }
    }
    const QImage question_mark = Pixels(PaintNodeImage(kQuestionMarkImage, 1.0));
    for (int slot = 0; slot < kCustomImageSlotCount; ++slot) {
        EXPECT_EQ(Pixels(PaintNodeImage(slot, 1.0)), question_mark) << slot;
    }
}

TEST(NodeImages, ColouredPicturesHaveTheirColours) {
    auto hue = [](int index) { return MeanColor(Pixels(PaintNodeImage(index, 2.0))).hsvHue(); };
    auto saturation = [](int index) {
        return MeanColor(Pixels(PaintNodeImage(index, 2.0))).hsvSaturation();
    };
    for (NodeImageIndex index : {kYellowFolderImage, kYellowOpenFolderImage, kSmilingFaceImage}) {
        EXPECT_GE(hue(index), 35) << index;
        EXPECT_LE(hue(index), 60) << index;
    }
    for (NodeImageIndex index : {kBlueFolderImage, kBlueOpenFolderImage, kBlueStarImage}) {
        EXPECT_GE(hue(index), 200) << index;
        EXPECT_LE(hue(index), 230) << index;
    }
    for (NodeImageIndex index : {kGreenFolderImage, kGreenOpenFolderImage}) {
        EXPECT_GE(hue(index), 90) << index;
        EXPECT_LE(hue(index), 130) << index;
    }
    for (NodeImageIndex index : {kRedFolderImage, kRedOpenFolderImage, kRedCrossImage}) {
        const int h = hue(index);
        EXPECT_TRUE(h <= 15 || h >= 345) << index << " hue " << h;
    }
    EXPECT_GE(hue(kPaleFolderImage), 35);
    EXPECT_LE(hue(kPaleFolderImage), 60);
    EXPECT_LT(saturation(kPaleFolderImage), saturation(kYellowFolderImage) / 2);
    EXPECT_LT(saturation(kQuestionMarkImage), 10) << "the question mark is grey";
    EXPECT_LT(saturation(kNotePageImage), saturation(kYellowFolderImage) / 2);
}

TEST(NodeImages, IconsRenderSharplyAtHigherDensities) {
    for (int index = 0; index < kNodeImageCount; ++index) {
        const QIcon icon = NodeImageIcon(index);
        ASSERT_FALSE(icon.isNull());
        for (qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
            const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio);
            EXPECT_EQ(pixmap.size(), QSize(16, 16) * ratio) << index << " at " << ratio;
            EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
            // Painted afresh at that size, not an enlarged 16-pixel picture.
            EXPECT_EQ(Pixels(pixmap), Pixels(PaintNodeImage(index, ratio))) << index;
        }
    }
    EXPECT_TRUE(NodeImageIcon(kYellowFolderImage).availableSizes().contains(QSize(32, 32)));
}

TEST(ImageList, CustomImageReplacesItsSlotOnly) {
    ImageList images;
    const QImage question_mark = Pixels(images.Pixmap(kQuestionMarkImage));
    images.SetCustomNodeImage(1, Solid(Qt::red));
    EXPECT_TRUE(images.HasCustomNodeImage(1));
    EXPECT_FALSE(images.HasCustomNodeImage(0));
    EXPECT_EQ(Pixels(images.Pixmap(1)), Pixels(Solid(Qt::red)));
    EXPECT_EQ(Pixels(images.Pixmap(0)), question_mark);
    EXPECT_EQ(Pixels(images.Pixmap(2)), question_mark);
    EXPECT_EQ(Pixels(images.Pixmap(kQuestionMarkImage)), question_mark);
    EXPECT_EQ(Pixels(images.Icon(1).pixmap(QSize(16, 16), 2.0)), Pixels(Solid(Qt::red, 32)));

    const ImageList before_clear = images;
    images.ClearCustomNodeImage(1);
    EXPECT_EQ(Pixels(images.Pixmap(1)), question_mark);
    EXPECT_EQ(Pixels(before_clear.Pixmap(1)), Pixels(Solid(Qt::red))) << "copies are independent";
}

TEST(ImageList, SlotsOutsideTheCustomRangeCannotBeReplaced) {
    ImageList images;
    for (int slot : {-1, 3, 5, int(kQuestionMarkImage), kNodeImageCount}) {
        images.SetCustomNodeImage(slot, Solid(Qt::red));
        EXPECT_FALSE(images.HasCustomNodeImage(slot));
    }
    for (int index = 0; index < kNodeImageCount; ++index) {
        EXPECT_EQ(Pixels(images.Pixmap(index, 1.0)), Pixels(PaintNodeImage(index, 1.0))) << index;
    }
}

TEST(ImageList, CustomBitmapsAreEnlargedWithoutBlurring) {
    QImage checker(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? 0xFF000000u : 0xFFFFFFFFu);
    }
    ImageList images;
    images.SetCustomNodeImage(0, QPixmap::fromImage(checker));
    const QImage doubled = Pixels(images.Pixmap(0, 2.0));
    ASSERT_EQ(doubled.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(doubled.pixel(x, y), checker.pixel(x / 2, y / 2)) << x << "," << y;
        }
    }
}

TEST(CustomNodeImage, TakesTheTopLeft16PixelsAndClearsTheTransparentColour) {
    QImage big(32, 32, QImage::Format_RGB32);
    big.fill(Qt::blue);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) big.setPixel(x, y, x < 8 ? 0xFFFFFFFFu : 0xFF00FF00u);
    }
    const QImage keyed = Pixels(MakeCustomNodeImage(big, Qt::white));
    ASSERT_EQ(keyed.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(keyed.pixel(7, 15)), 0);
    EXPECT_EQ(keyed.pixel(8, 0), 0xFF00FF00u);
    EXPECT_EQ(keyed.pixel(15, 15), 0xFF00FF00u) << "nothing of the blue outside 16 x 16";

    const QImage unkeyed = Pixels(MakeCustomNodeImage(big, QColor()));
    EXPECT_EQ(unkeyed.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(OpaquePixelCount(unkeyed), 256);
}

TEST(CustomNodeImage, SmallBitmapLeavesTheRestTransparent) {
    QImage small(8, 4, QImage::Format_RGB32);
    small.fill(Qt::red);
    const QImage image = Pixels(MakeCustomNodeImage(small, QColor()));
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(OpaquePixelCount(image), 32);
    EXPECT_EQ(image.pixel(7, 3), 0xFFFF0000u);
    EXPECT_EQ(qAlpha(image.pixel(8, 0)), 0);
    EXPECT_EQ(OpaquePixelCount(Pixels(MakeCustomNodeImage(QImage(), Qt::white))), 0);
}

TEST(ToolGlyphs, AllThirteenAreDrawnDistinctAndSharpAtDoubleDensity) {
    std::vector<QImage> seen;
    for (int g = 0; g < kToolGlyphCount; ++g) {
        SCOPED_TRACE(g);
        const QIcon icon = ToolGlyphIcon(static_cast<ToolGlyph>(g));
        const QPixmap single = icon.pixmap(QSize(16, 16), 1.0);
        const QPixmap doubled = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(single.size(), QSize(16, 16));
        EXPECT_EQ(doubled.size(), QSize(32, 32));
        EXPECT_DOUBLE_EQ(doubled.devicePixelRatio(), 2.0);
        const QImage image = Pixels(single);
        EXPECT_GT(OpaquePixelCount(image), 40);
        EXPECT_LT(OpaquePixelCount(image), 256);
        for (const QImage& other : seen) EXPECT_NE(image, other);
        seen.push_back(image);
    }
}

TEST(ToolGlyphs, NewNoteAndNewFolderShowTheNodeImagesInUse) {
    ImageList images;
    images.SetCustomNodeImage(2, Solid(Qt::magenta));
    const QIcon folder = ToolGlyphIcon(ToolGlyph::NewFolder, images, kCustomImage3, kNotePageImage);
    const QIcon note = ToolGlyphIcon(ToolGlyph::NewNote, images, kCustomImage3, kBlueStarImage);
    // The custom picture shows outside the corner that carries the plus sign.
    const QImage folder_pixels = Pixels(folder.pixmap(QSize(16, 16), 1.0));
    EXPECT_EQ(folder_pixels.pixel(0, 0), QColor(Qt::magenta).rgba());
    EXPECT_EQ(folder_pixels.pixel(4, 12), QColor(Qt::magenta).rgba());

    const QImage default_note = Pixels(ToolGlyphIcon(ToolGlyph::NewNote).pixmap(QSize(16, 16)));
    const QImage star_note = Pixels(note.pixmap(QSize(16, 16), 1.0));
    EXPECT_NE(star_note, default_note);
    EXPECT_EQ(star_note.pixel(8, 1), Pixels(PaintNodeImage(kBlueStarImage, 1.0)).pixel(8, 1));

    // The glyph keeps the pictures it was made from.
    images.ClearCustomNodeImage(2);
    EXPECT_EQ(Pixels(folder.pixmap(QSize(16, 16), 1.0)), folder_pixels);
}

TEST(ToolGlyphs, DisabledGlyphsAreGreyed) {
    for (ToolGlyph glyph : {ToolGlyph::Save, ToolGlyph::Undo, ToolGlyph::Exit}) {
        const QIcon icon = ToolGlyphIcon(glyph);
        const QImage normal = Pixels(icon.pixmap(QSize(16, 16), 1.0, QIcon::Normal));
        const QImage disabled = Pixels(icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled));
        EXPECT_NE(normal, disabled);
        EXPECT_GT(MeanColor(normal).hsvSaturation(), 60);
        EXPECT_LT(MeanColor(disabled).hsvSaturation(), 20);
        EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).size(), QSize(32, 32));
    }
}

TEST(ToolGlyphs, IconPaintsIntoAWidgetSizedRectangle) {
    QImage target(24, 24, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    ToolGlyphIcon(ToolGlyph::Open).paint(&painter, QRect(4, 4, 16, 16));
    painter.end();
    const QImage painted = target.copy(4, 4, 16, 16).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(painted, Pixels(ToolGlyphIcon(ToolGlyph::Open).pixmap(QSize(16, 16), 1.0)));
    EXPECT_EQ(qAlpha(target.pixel(1, 1)), 0);

    // On a double-density surface the glyph is painted with twice the pixels, not enlarged.
    QImage dense(48, 48, QImage::Format_ARGB32_Premultiplied);
    dense.setDevicePixelRatio(2.0);
    dense.fill(Qt::transparent);
    QPainter dense_painter(&dense);
    ToolGlyphIcon(ToolGlyph::Open).paint(&dense_painter, QRect(4, 4, 16, 16));
    dense_painter.end();
    QImage dense_glyph = dense.copy(8, 8, 32, 32).convertToFormat(QImage::Format_ARGB32);
    dense_glyph.setDevicePixelRatio(1.0);
    QImage expected = Pixels(ToolGlyphIcon(ToolGlyph::Open).pixmap(QSize(16, 16), 2.0));
    expected.setDevicePixelRatio(1.0);
    EXPECT_EQ(dense_glyph, expected);
}

}  // namespace
}  // namespace quillora

namespace quillora {
namespace {

// The icon files are rendered at these sizes; at each, the straight outer edges of both designs
// (the notebook's left edge at x 1, the page's at x 2) must fall on a pixel boundary: the pixel
// inside fully opaque, the one outside fully clear, or the icon looks blurred.
TEST(ApplicationIcons, StraightEdgesAreSharpAtEveryWholeScale) {
    struct Design {
        const char* name;
        void (*draw)(QPainter&);
        int left_edge;
    };
    const Design designs[] = {{"application", DrawApplicationIcon, 1},
                              {"document", DrawDocumentIcon, 2}};
    for (const Design& design : designs) {
        for (int size : {16, 32, 48, 64, 128, 256}) {
            SCOPED_TRACE(testing::Message() << design.name << " at " << size);
            const QImage image = RenderDrawing(design.draw, QSize(size, size))
                                     .convertToFormat(QImage::Format_ARGB32);
            const int edge = design.left_edge * size / kDesignGrid;
            const int row = size * 10 / kDesignGrid;
            EXPECT_EQ(qAlpha(image.pixel(edge, row)), 255);
            EXPECT_EQ(qAlpha(image.pixel(edge - 1, row)), 0);
        }
    }
}

}  // namespace
}  // namespace quillora
