#include "app/commands/info_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/about_box.h"
#include "app/program_info.h"
#include "app/prop_form.h"
#include "document/notes_file.h"
#include "document/ui/note_pane.h"
#include "settings/language_pack.h"
#include "tests/settings/pe_image_builder.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

QString Text(const QWidget& window, const char* name) {
    if (auto* label = window.findChild<QLabel*>(name)) return label->text();
    if (auto* edit = window.findChild<QLineEdit*>(name)) return edit->text();
    ADD_FAILURE() << "no control " << name;
    return {};
}

QColor TextColor(const QWidget& window, const char* name) {
    return window.findChild<QLabel*>(name)->palette().color(QPalette::WindowText);
}

class InfoCommandsTest : public UiTest {
protected:
    // Runs `inspect` on the modal dialog of type D once it is up, then closes it with Escape.
    template <class D>
    void WhenShown(std::function<void(D&)> inspect) {
        QTimer::singleShot(0, form_.get(), [inspect] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            inspect(*dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
    }

    // The figures of the properties once the counting has ended, in the order Edit1,
    // StaticText1, StaticText2, StaticText3, ST4.
    QStringList PropertiesFigures(const std::function<void()>& open) {
        QStringList figures;
        WhenShown<TPropForm>([&figures](TPropForm& form) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return form.CountingDone(); }, 2000));
            for (const char* name : {"Edit1", "StaticText1", "StaticText2", "StaticText3", "ST4"}) {
                figures << Text(form, name);
            }
        });
        open();
        return figures;
    }

    void DoubleClickStatusBar() {
        QTest::mouseDClick(form_->statusBar(), Qt::LeftButton, {}, QPoint(20, 5));
    }
};

TEST_F(InfoCommandsTest, AnEmptyDocumentOpensFromTheStatusBarThoughTheMenuItemIsDisabled) {
    TMainForm& form = StartMainForm();
    emit form.Actions().Menu("FileMenu").aboutToShow();
    EXPECT_FALSE(Action("FileMenuProperties")->isEnabled());
    EXPECT_EQ(PropertiesFigures([&] { DoubleClickStatusBar(); }),
              QStringList({"Untitled.qlb", "0", "0", "0", "0 bytes"}));
}

TEST_F(InfoCommandsTest, CountsEveryNodeAndItsTextIncludingTypedTextAndCollapsedFolders) {
    // Three folders, the last one inside the second and collapsed, and five notes.
    NotesDocument doc;
    const NodeId a = AddNode(doc, kNoNode, "a", kFolder);
    const NodeId b = AddNode(doc, kNoNode, "b", kFolder, "ab");
    const NodeId c = AddNode(doc, b, "c", kFolder);
    AddNode(doc, a, "n1", kNote, "cde");
    for (const char* title : {"n2", "n3", "n4"}) AddNode(doc, c, title, kNote);
    AddNode(doc, kNoNode, "n5", kNote, std::string(1200, 'x'));
    const QString path = HomeFile("stats.qlb");
    ASSERT_EQ(WriteNotesFile(ToNative(path), doc), WriteStatus::Ok);

    TMainForm& form = StartMainForm({path});
    form.SetStatusText(3, QStringLiteral("Saving Note/Folder 3..."));  // not a file name
    // The first node is shown; its typed text counts before it is stored. Each text counts
    // with the CR LF after each line: 4 + 5 + 1202, and 5 for the typed line.
    QTest::keyClicks(form.VisiblePane(), "xyz");
    EXPECT_EQ(PropertiesFigures([&] { Trigger("FileMenuProperties"); }),
              QStringList({"stats.qlb", "5", "3", "8", "1,216 bytes"}));
}

TEST_F(InfoCommandsTest, AboutBoxShowsTheVersionAndOpensOrCopiesTheHomePage) {
    StartMainForm();
    const QString address = QString::fromUtf8(kHomePageAddress);
    ASSERT_FALSE(address.isEmpty());
    Trigger("HelpMenuHomepage");
    EXPECT_EQ(platform_.opened_with_desktop, std::vector<QString>{address});

    for (int round = 0; round < 2; ++round) {
        WhenShown<TAboutBox>([&](TAboutBox& box) {
            EXPECT_EQ(Text(box, "VersionLabel"), "Version: 1.9");
            EXPECT_EQ(Text(box, "Label7"), "Language: English (U.S.)");
            auto* link = box.findChild<QLabel*>("HomepageLabel");
            EXPECT_EQ(link->toolTip(), address);
            EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
            // A new box shows the link unvisited again.
            EXPECT_EQ(TextColor(box, "HomepageLabel"), QColor(Qt::blue));
            QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
            EXPECT_EQ(TextColor(box, "HomepageLabel"), QColor(0, 0, 0x80));
            box.findChild<QAction*>("PopupMenuCopyLinkLocation")->trigger();
        });
        QApplication::clipboard()->clear();
        Trigger("HelpMenuAbout");
        EXPECT_EQ(QApplication::clipboard()->text(), address);
        EXPECT_EQ(platform_.opened_with_desktop.size(), 2u + round);
        EXPECT_TRUE(form_->findChildren<TAboutBox*>().isEmpty());  // Escape closed it
    }
}

// Pack texts used as formats are filled only where they say "%s"; anything else in them is
// shown as it is and a missing value leaves its "%s" empty.
TEST_F(InfoCommandsTest, PackFormatsAreFilledOnlyAtTheirPercentS) {
    std::vector<std::u16string> about(16);
    about[1000 & 15] = u"Info";
    about[1001 & 15] = u"Taal: Nederlands";
    about[1003 & 15] = u"Versie %d%n %s %s%x";
    about[1004 & 15] = u"(c) %s %s %s %n";
    std::vector<ResourceBlock> blocks;
    blocks.push_back({BlockOf(1000), kLanguageUsEnglish, StringBlockBytes(about)});
    auto module = LanguageModule::FromBytes(BuildPeImage(blocks).AsString(), kLanguageUsEnglish);
    ASSERT_TRUE(module);
    LanguageText::Instance().SetModule(std::move(module));

    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), "Info");
    EXPECT_EQ(Text(box, "VersionLabel"), "Versie %d%n 1.9 %x");
    EXPECT_EQ(Text(box, "Label2"), "(c) 2026 the Quillora team  %n");
    EXPECT_EQ(Text(box, "Label7"), "Taal: Nederlands");
    LanguageText::Instance().SetModule(std::nullopt);
}

}  // namespace
}  // namespace quillora::testing
