#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/main_form.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/tree_title_delegate.h"
#include "gui/icons/node_images.h"
#include "gui/note_tree_model.h"
#include "settings/ui/custom_image.h"
#include "settings/ui/image_chooser.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

QColor BaseOf(const QWidget* widget) {
    return widget->palette().color(QPalette::Active, QPalette::Base);
}
QColor TextOf(const QWidget* widget) {
    return widget->palette().color(QPalette::Active, QPalette::Text);
}

// One folder holding one note, the folder selected.
void AddFolderAndNote(TMainForm& form) {
    NotesDocument& doc = form.Document();
    const NodeId folder = AddNode(doc, kNoNode, "Folder", kFolder, "f");
    AddNode(doc, folder, "Note", kNote, "n");
    form.Tree()->expandAll();
    form.SelectNode(folder);
}

class AppearanceTest : public UiTest {};

// A 32 x 32 bitmap, red with a white band of 16 x 8 pixels at the top left.
void SaveBandedBitmap(const QString& path) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) image.setPixel(x, y, qRgb(255, 255, 255));
    ASSERT_TRUE(image.save(path, "BMP"));
}

// Runs `drive` on the modal dialog of type D as soon as it is up.
template <typename D>
void WhenShown(std::function<void(D&)> drive) {
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        drive(*dialog);
    });
}

TEST_F(AppearanceTest, WithoutASettingsFileThePanesAndTheTreeHaveTheirDefaults) {
    TMainForm& form = StartMainForm();
    EXPECT_EQ(BaseOf(form.Memo()), QColor(Qt::blue));
    EXPECT_EQ(TextOf(form.Memo()), QColor(Qt::white));
    EXPECT_EQ(BaseOf(form.FolderMemo()), QColor(Qt::yellow));
    EXPECT_EQ(TextOf(form.FolderMemo()), QColor(Qt::black));
    EXPECT_EQ(BaseOf(form.Tree()), QApplication::palette().color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(TextOf(form.Tree()), QColor(Qt::black));
    for (const QWidget* widget :
         {static_cast<const QWidget*>(form.Memo()), static_cast<const QWidget*>(form.FolderMemo()),
          static_cast<const QWidget*>(form.Tree())}) {
        const QFont font = widget->font();
        EXPECT_EQ(font.family(), "MS Sans Serif");
        EXPECT_EQ(font.pointSize(), 8);
        EXPECT_FALSE(font.bold() || font.italic() || font.underline() || font.strikeOut());
        // Shown in a sans-serif font that is installed, not in whatever fallback comes first.
        const QString shown = QFontInfo(font).family();
        EXPECT_TRUE(shown.contains("Sans") || shown == "Arimo" || shown == "Cantarell")
            << shown.toStdString();
    }
    EXPECT_TRUE(form.Tree()->LinesShown());
    EXPECT_TRUE(form.Tree()->ButtonsShown());
    EXPECT_TRUE(Action("EditMenuWordWrap")->isChecked());
    for (QToolButton* button : form.findChild<QToolBar*>("ToolBar")->findChildren<QToolButton*>())
        EXPECT_TRUE(button->autoRaise()) << button->objectName().toStdString();
    EXPECT_FALSE(QFile::exists(IniPath()));  // applying reads only
}

struct ColourCase {
    const char* what;
    const char* settings;
    const char* widget;
    QPalette::ColorRole role;
    QColor expected;
};

void PrintTo(const ColourCase& c, std::ostream* out) {
    *out << c.what;
}

class AppearanceColourTest : public UiTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(AppearanceColourTest, ColourOfTheFileOrTheKeysDefault) {
    const ColourCase& c = GetParam();
    WriteFile(IniPath(), c.settings);
    TMainForm& form = StartMainForm();
    const auto* widget = form.findChild<QWidget*>(c.widget);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->palette().color(QPalette::Active, c.role), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppearanceColourTest,
    ::testing::Values(ColourCase{"decimal 255 is red", "[NotesEditor]\nBGColor=255\n", "Memo",
                                 QPalette::Base, QColor(Qt::red)},
                      ColourCase{"a bogus colour is the default", "[NotesEditor]\nBGColor=bogus\n",
                                 "Memo", QPalette::Base, QColor(Qt::blue)},
                      ColourCase{"a system colour past the table is the default",
                                 "[FolderEditor]\nFontColor=$80000040\n", "FolderMemo",
                                 QPalette::Text, QColor(Qt::black)},
                      ColourCase{"hexadecimal", "[NotesList]\nFontColor=$00563412\n", "NotesTree",
                                 QPalette::Text, QColor(0x12, 0x34, 0x56)},
                      ColourCase{
                          "a system colour from the palette",
                          "[FolderEditor]\nBGColor=clHighlight\n", "FolderMemo", QPalette::Base,
                          QApplication::palette().color(QPalette::Active, QPalette::Highlight)}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(AppearanceTest, FontsAndStylesOfEachPart) {
    WriteFile(IniPath(),
              "[NotesEditor]\nFontName=DejaVu Serif\nFontSize=14\nBold=1\nStrikeOut=1\n"
              "[FolderEditor]\nItalic=1\n[NotesList]\nFontSize=5000\nUnderline=1\n"
              "Lines=0\nButtons=0\n[Main]\nWordWrap=0\nFlatToolBarButtons=0\n");
    TMainForm& form = StartMainForm();
    const QFont memo = form.Memo()->font();
    EXPECT_EQ(memo.family(), "DejaVu Serif");
    EXPECT_EQ(memo.pointSize(), 14);
    EXPECT_TRUE(memo.bold() && memo.strikeOut() && !memo.italic() && !memo.underline());
    const QFont folder = form.FolderMemo()->font();
    EXPECT_TRUE(folder.italic() && !folder.bold());
    EXPECT_EQ(folder.pointSize(), 8);
    EXPECT_EQ(form.Tree()->font().pointSize(), 8);  // a size no window can show
    EXPECT_TRUE(form.Tree()->font().underline());
    EXPECT_FALSE(form.Tree()->LinesShown());
    EXPECT_FALSE(form.Tree()->ButtonsShown());
    EXPECT_FALSE(Action("EditMenuWordWrap")->isChecked());
    EXPECT_EQ(form.Memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_FALSE(form.findChild<QToolButton*>("NewButton")->autoRaise());
}

TEST_F(AppearanceTest, ApplyingLeavesTheModifiedFlagAsItWas) {
    TMainForm& form = StartMainForm();
    AddFolderAndNote(form);
    for (const bool modified : {false, true}) {
        form.Document().modified = modified;
        WriteFile(IniPath(), "[NotesEditor]\nBGColor=clRed\n[FolderEditor]\nFontSize=20\n");
        form.ApplyFlatButtons();
        form.ApplyEditorSettings();
        form.ApplyNotesListSettings();
        QCoreApplication::processEvents();
        EXPECT_EQ(bool(form.Document().modified), modified);
        EXPECT_EQ(BaseOf(form.Memo()), QColor(Qt::red));
        WriteFile(IniPath(), "");
    }
}

TEST_F(AppearanceTest, SystemColoursFollowAPaletteChange) {
    WriteFile(IniPath(), "[NotesEditor]\nFontColor=clInfoText\n");
    TMainForm& form = StartMainForm();
    const QPalette before = QApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Base, QColor(0x10, 0x20, 0x30));
    changed.setColor(QPalette::ToolTipText, QColor(0x40, 0x50, 0x60));
    QApplication::setPalette(changed);
    QCoreApplication::processEvents();
    EXPECT_EQ(BaseOf(form.Tree()), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(TextOf(form.Memo()), QColor(0x40, 0x50, 0x60));
    EXPECT_EQ(BaseOf(form.Memo()), QColor(Qt::blue));  // an RGB colour stays
    QApplication::setPalette(before);
}

// The tree in yellow on black: the selected title white on navy while the focus is in a pane,
// the other titles yellow on black, lines and buttons grey.
TEST_F(AppearanceTest, TitlesInTheTreesColoursAndTheSelectionWhiteOnNavy) {
    WriteFile(IniPath(), "[NotesList]\nBGColor=clBlack\nFontColor=clYellow\n");
    TMainForm& form = StartMainForm();
    AddFolderAndNote(form);
    form.Memo()->setFocus();
    QCoreApplication::processEvents();
    TMyTreeView* tree = form.Tree();
    const QImage shot = tree->viewport()->grab().toImage();
    const auto colours_in = [&](const QModelIndex& index) {
        const QRect row = tree->visualRect(index);
        const QRect title =
            TreeTitleDelegate::TitleRect(row, QFontMetrics(tree->font()), index.data().toString());
        QSet<QRgb> colours;
        for (int y = title.top(); y <= title.bottom(); ++y)
            for (int x = title.left(); x <= title.right(); ++x)
                colours.insert(shot.pixel(x, y) & 0xFFFFFF);
        return colours;
    };
    const QModelIndex folder = tree->model()->index(0, 0);
    const QModelIndex note = tree->model()->index(0, 0, folder);
    const QSet<QRgb> selected = colours_in(folder);
    EXPECT_TRUE(selected.contains(0x000080));
    EXPECT_TRUE(selected.contains(0xFFFFFF));
    const QSet<QRgb> other = colours_in(note);
    EXPECT_TRUE(other.contains(0x000000));
    EXPECT_TRUE(other.contains(0xFFFF00));
    EXPECT_FALSE(other.contains(0x000080));
    // A dotted line left of the note, in its own column.
    const QRect note_row = tree->visualRect(note);
    const int line_x = note_row.left() - tree->indentation() / 2;
    bool grey = false;
    for (int y = note_row.top(); y <= note_row.bottom(); ++y)
        grey = grey || (shot.pixel(line_x, y) & 0xFFFFFF) == 0x808080;
    EXPECT_TRUE(grey);
}

// Without buttons a click beside a folder does not open it, as there is nothing to click.
TEST_F(AppearanceTest, AClickWhereTheButtonWouldBeOpensTheFolderOnlyWithButtons) {
    for (const bool buttons : {true, false}) {
        WriteFile(IniPath(), buttons ? "" : "[NotesList]\nButtons=0\n");
        TMainForm& form = StartMainForm();
        AddFolderAndNote(form);
        TMyTreeView* tree = form.Tree();
        tree->collapseAll();
        const QModelIndex folder = tree->model()->index(0, 0);
        const QRect row = tree->visualRect(folder);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          QPoint(row.left() - tree->indentation() / 2, row.center().y()));
        EXPECT_EQ(tree->isExpanded(folder), buttons);
        form_.reset();
    }
}

TEST_F(AppearanceTest, ImageIndexesOutOfRangeShowTheBlankImage) {
    WriteFile(IniPath(), "[NotesList]\nImage1=18\nImage2=-4\nImage3=99\n");
    TMainForm& form = StartMainForm();
    AddFolderAndNote(form);
    for (const int index : {18, -4, 99}) {
        const QImage image = form.Images().Icon(index).pixmap(16, 16).toImage();
        bool blank = true;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) blank = blank && qAlpha(image.pixel(x, y)) == 0;
        EXPECT_TRUE(blank) << index;
    }
    EXPECT_FALSE(form.Tree()->viewport()->grab().isNull());
    TImageChooser chooser(form.Images(), form.SettingsFile(), {}, &form);
    chooser.SetInitialIndex(99);
    chooser.show();
    EXPECT_EQ(chooser.SelectedIndex(), -1);
}

TEST_F(AppearanceTest, UnreadableBitmapsKeepTheQuestionMarkAndGoodOnesShowTheirCorner) {
    // 32 x 32, red with a white top-left quarter... of 16 x 8 pixels.
    QImage good(32, 32, QImage::Format_RGB32);
    good.fill(Qt::red);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) good.setPixel(x, y, qRgb(255, 255, 255));
    ASSERT_TRUE(good.save(HomeFile("good.bmp"), "BMP"));
    WriteFile(HomeFile("corrupt.bmp"), QByteArray("BM\x10\x00\x00\x00garbage", 14));
    QByteArray huge("BM", 2);
    huge.append(QByteArray(52, '\0'));
    huge[18] = '\xFF';  // a width of 0x7FFFFFFF
    huge[19] = '\xFF';
    huge[20] = '\xFF';
    huge[21] = '\x7F';
    WriteFile(HomeFile("huge.bmp"), huge);
    WriteFile(IniPath(), ("[CustomImages]\nImage1=" + HomeFile("corrupt.bmp") +
                          "\nImage2=" + HomeFile("good.bmp") +
                          "\nColor2=clWhite\nImage3=" + HomeFile("huge.bmp") + "\n")
                             .toUtf8());
    TMainForm& form = StartMainForm();
    const QImage question = form.Images().Pixmap(kQuestionMarkImage).toImage();
    EXPECT_EQ(form.Images().Pixmap(0).toImage(), question);
    EXPECT_EQ(form.Images().Pixmap(2).toImage(), question);
    const QImage slot2 = form.Images().Pixmap(1).toImage();
    EXPECT_EQ(qAlpha(slot2.pixel(3, 3)), 0);  // white made transparent
    EXPECT_EQ(slot2.pixel(3, 12), qRgb(255, 0, 0));
    EXPECT_TRUE(platform_.messages.empty());
}

// In the chooser: custom image 1 changed to a 32 x 32 bitmap with its white made transparent,
// custom image 2 cleared, then the answer to "Save changes to Custom Images?".
class ImageChooserTest : public UiTest {
protected:
    void ChooseAndClose(TMainForm& form, MessageAnswer answer) {
        platform_.message_answers = {answer};
        TImageChooser chooser(
            form.Images(), form.SettingsFile(), [this] { ++saved_; }, &form);
        chooser.SetInitialIndex(0);
        const QString bitmap = HomeFile("banded.bmp");
        WhenShown<TImageChooser>([bitmap](TImageChooser& dialog) {
            WhenShown<TCustomImage>([bitmap](TCustomImage& custom) {
                custom.findChild<QLineEdit*>("FileEdit")->setText(bitmap);
                custom.NextButtonClick();
                custom.ImageMouseDown(2, 2);
                custom.findChild<QPushButton*>("ProgButton")->click();
            });
            dialog.ChangeButtonClick();
            dialog.findChild<QListWidget*>("ListView")->setCurrentRow(1);
            dialog.PopupMenuClearClick();
            dialog.accept();
        });
        chooser.exec();
        EXPECT_EQ(chooser.SelectedIndex(), 1);
    }
    int saved_ = 0;
};

TEST_F(ImageChooserTest, YesSavesTheImagesAndShowsThemInTheMainWindow) {
    SaveBandedBitmap(HomeFile("banded.bmp"));
    WriteFile(IniPath(), ("[CustomImages]\nImage2=" + HomeFile("banded.bmp") + "\n").toUtf8());
    TMainForm& form = StartMainForm();
    ASSERT_TRUE(form.Images().HasCustomNodeImage(1));
    ChooseAndClose(form, MessageAnswer::Yes);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "Save changes to Custom Images?");
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(saved_, 1);
    const ProfileFile& ini = form.SettingsFile();
    EXPECT_EQ(ini.ReadString("CustomImages", "Image1", "-"), ToNative(HomeFile("banded.bmp")));
    EXPECT_EQ(ini.ReadString("CustomImages", "Color1", "-"), "clWhite");
    EXPECT_EQ(ini.ReadString("CustomImages", "Image2", "-"), "");
    EXPECT_EQ(ini.ReadString("CustomImages", "Color2", "-"), "");
    const QImage slot1 = form.Images().Pixmap(0).toImage();
    EXPECT_EQ(qAlpha(slot1.pixel(3, 3)), 0);
    EXPECT_EQ(slot1.pixel(3, 12), qRgb(255, 0, 0));
    EXPECT_FALSE(form.Images().HasCustomNodeImage(1));
}

TEST_F(ImageChooserTest, NoLeavesTheImagesAndTheFileAsTheyWere) {
    SaveBandedBitmap(HomeFile("banded.bmp"));
    TMainForm& form = StartMainForm();
    ChooseAndClose(form, MessageAnswer::No);
    EXPECT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(saved_, 0);
    EXPECT_FALSE(QFile::exists(IniPath()));
    EXPECT_FALSE(form.Images().HasCustomNodeImage(0));
}

TEST_F(AppearanceTest, CustomImageDialogRefusesMissingAndBrokenFilesByName) {
    WriteFile(HomeFile("broken.bmp"), "BM broken");
    TCustomImage dialog(nullptr);
    auto* file_edit = dialog.findChild<QLineEdit*>("FileEdit");
    file_edit->setText(HomeFile("missing.bmp"));
    dialog.NextButtonClick();
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "File not found.");
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(dialog.findChild<QPushButton*>("NextButton")->isEnabled());  // still step 1

    platform_.open_answers = {{HomeFile("broken.bmp")}};
    dialog.BrowseButtonClick();
    ASSERT_EQ(platform_.messages.size(), 2u);
    EXPECT_TRUE(platform_.messages[1].text.contains(HomeFile("broken.bmp")));
    EXPECT_EQ(platform_.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(file_edit->text(), HomeFile("missing.bmp"));
    EXPECT_EQ(platform_.open_requests[0].filter, "Bitmap Files (*.BMP)|*.bmp");

    // The strip below the picture: black, navy, teal, aqua, white.
    std::vector<QRgb> backgrounds;
    for (int i = 0; i < 5; ++i) {
        dialog.Panel3Click();
        backgrounds.push_back(dialog.BackgroundColor().rgb() & 0xFFFFFF);
    }
    EXPECT_EQ(backgrounds, (std::vector<QRgb>{0x000000, 0x000080, 0x008080, 0x00FFFF, 0xFFFFFF}));
}

}  // namespace
}  // namespace quillora::testing
