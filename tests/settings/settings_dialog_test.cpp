#include "settings/ui/settings_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <map>

#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "settings/language_pack.h"
#include "settings/settings_schema.h"
#include "tests/settings/pe_image_builder.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

// Runs `drive` on the settings dialog as soon as it is up.
void WhenShown(const std::function<void(TSettings&)>& drive) {
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<TSettings*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        drive(*dialog);
    });
}

template <typename W>
W* Child(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Click(QWidget& dialog, const char* button) {
    if (auto* b = Child<QPushButton>(dialog, button)) b->click();
}

class SettingsDialogTest : public UiTest {
protected:
    void WritePack(const QString& name, const std::map<uint16_t, std::u16string>& strings) {
        const std::string bytes = PackBytes(strings);
        WriteFile(HomeFile(name), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    std::string Key(const char* section, const char* key) {
        return form_->SettingsFile().ReadString(section, key, "<missing>");
    }
};

constexpr char kEverySetting[] =
    "[Main]\r\nWordWrap=0\r\nShowSplash=0\r\nReOpenLastFile=1\r\nFlatToolBarButtons=0\r\n"
    "UseTrayIcon=0\r\nMultipleCopies=1\r\nHideReOpen=0\r\nDefaultOpenDir=/no/such/folder\r\n"
    "DefaultSaveDir=\\\r\nDefaultExportDir=/srv/out\r\nLanguagePack=Gone.dll\r\n"
    "[NotesEditor]\r\nBGColor=clWindow\r\nFontName=MS Sans Serif\r\nFontSize=10\r\n"
    "FontColor=clWindowText\r\nBold=1\r\nItalic=0\r\nUnderline=0\r\nStrikeOut=0\r\n"
    "[FolderEditor]\r\nBGColor=$00563412\r\nFontName=MS Sans Serif\r\nFontSize=8\r\n"
    "FontColor=clBlack\r\nBold=0\r\nItalic=1\r\nUnderline=0\r\nStrikeOut=0\r\n"
    "[NotesList]\r\nBGColor=clBtnFace\r\nFontName=MS Sans Serif\r\nFontSize=9\r\n"
    "FontColor=clBlack\r\nBold=0\r\nItalic=0\r\nUnderline=1\r\nStrikeOut=0\r\nLines=0\r\n"
    "Buttons=1\r\n[History]\r\nFile0=/tmp/a.qlb\r\n";

// OK on a dialog nobody touched leaves every key's text as it was: system colours stay named,
// and a pack in use that is missing is not erased.
TEST_F(SettingsDialogTest, OkWithoutChangesKeepsEveryKey) {
    WriteFile(IniPath(), kEverySetting);
    StartMainForm();
    WhenShown([](TSettings& dialog) { Click(dialog, "OKButton"); });
    Trigger("EditMenuSettings");
    EXPECT_EQ(ReadFile(IniPath()), QByteArray(kEverySetting));
    EXPECT_TRUE(platform_.messages.empty());
}

// Every page's controls reach their keys, and the window shows the new look at once without the
// document becoming modified.
TEST_F(SettingsDialogTest, PagesWriteTheirKeysAndTheWindowAppliesThem) {
    WriteFile(IniPath(), kEverySetting);
    TMainForm& form = StartMainForm();
    QFont chosen(QStringLiteral("MS Sans Serif"));
    chosen.setPointSize(12);
    chosen.setBold(true);
    platform_.font_answers.push_back({chosen, QColor()});
    platform_.font_answers.push_back({chosen, QColor(Qt::red)});
    QFont in_pixels(QStringLiteral("MS Sans Serif"));
    in_pixels.setPixelSize(16);
    platform_.font_answers.push_back({in_pixels, QColor()});
    platform_.color_answers.push_back(QColor(0x12, 0x34, 0x56));
    platform_.folder_answers.push_back(QStringLiteral("/picked"));
    WhenShown([](TSettings& dialog) {
        Click(dialog, "NotesFontSettingsButton");
        Click(dialog, "FolderFontSettingsButton");
        Click(dialog, "TreeFontSettingsButton");
        Click(dialog, "TreeBGColorButton");
        Click(dialog, "BrowseButton1");
        Child<QLineEdit>(dialog, "ExportDirEdit")->setText(QStringLiteral("typed"));
        Child<QCheckBox>(dialog, "WordWrapCheckBox")->setChecked(true);
        Child<QCheckBox>(dialog, "LinesCheckBox")->setChecked(true);
        Child<QCheckBox>(dialog, "ShowSplashCheckBox")->setChecked(true);
        Child<QCheckBox>(dialog, "FlatButtonsCheckBox")->setChecked(true);
        Child<QCheckBox>(dialog, "DisableReOpenCheckBox")->setChecked(true);
        Click(dialog, "OKButton");
    });
    Trigger("EditMenuSettings");

    EXPECT_EQ(Key("NotesEditor", "FontSize"), "12");
    EXPECT_EQ(Key("NotesEditor", "Bold"), "1");
    EXPECT_EQ(Key("NotesEditor", "FontColor"), "clWindowText");
    EXPECT_EQ(Key("FolderEditor", "FontColor"), "clRed");
    EXPECT_EQ(Key("FolderEditor", "FontSize"), "12");
    EXPECT_EQ(Key("NotesList", "BGColor"), "$00563412");
    EXPECT_NE(Key("NotesList", "FontSize"), "-1");
    EXPECT_EQ(Key("NotesList", "FontColor"), "clBlack");
    EXPECT_EQ(Key("NotesList", "Lines"), "1");
    EXPECT_EQ(Key("Main", "WordWrap"), "1");
    EXPECT_EQ(Key("Main", "ShowSplash"), "1");
    EXPECT_EQ(Key("Main", "FlatToolBarButtons"), "1");
    EXPECT_EQ(Key("Main", "HideReOpen"), "1");
    EXPECT_EQ(Key("Main", "DefaultOpenDir"), "/picked");
    EXPECT_EQ(Key("Main", "DefaultExportDir"), "typed");
    EXPECT_EQ(Key("History", "File0"), "<missing>");
    EXPECT_EQ(form.Memo()->font().pointSize(), 12);
    EXPECT_TRUE(form.Memo()->font().bold());
    EXPECT_TRUE(form.Tree()->LinesShown());
    EXPECT_TRUE(Action("EditMenuWordWrap")->isChecked());
    EXPECT_FALSE(form.Document().modified);
}

// A colour chosen and then Cancel writes the colour dialog's custom colours and nothing else.
TEST_F(SettingsDialogTest, CancelWritesOnlyTheCustomColours) {
    WriteFile(IniPath(), kEverySetting);
    StartMainForm();
    platform_.color_answers.push_back(QColor(Qt::red));
    platform_.on_custom_colors = [](QColor(&custom)[16]) { custom[2] = QColor(0, 0, 255); };
    WhenShown([](TSettings& dialog) {
        Click(dialog, "NotesBGColorButton");
        Click(dialog, "CancelButton");
    });
    Trigger("EditMenuSettings");
    const QByteArray written = ReadFile(IniPath());
    ASSERT_TRUE(written.startsWith(kEverySetting));
    const QByteArray added = written.mid(static_cast<qsizetype>(strlen(kEverySetting)));
    EXPECT_TRUE(
        added.startsWith("[CustomColors]\r\nColorA=FFFFFFFF\r\nColorB=FFFFFFFF\r\n"
                         "ColorC=FF0000\r\n"))
        << added.toStdString();
    EXPECT_FALSE(added.contains("BGColor"));
}

// A settings file that cannot be written is reported once, by name, and the dialog stays open
// with what the user set.
TEST_F(SettingsDialogTest, AFailedWriteIsReportedOnceAndKeepsTheDialog) {
    WriteFile(IniPath(), kEverySetting);
    StartMainForm();
    bool still_open = false;
    WhenShown([this, &still_open](TSettings& dialog) {
        Child<QCheckBox>(dialog, "ShowSplashCheckBox")->setChecked(true);
        QDir(Home()).removeRecursively();  // nowhere left to write the file
        Click(dialog, "OKButton");
        still_open = dialog.isVisible();
        Click(dialog, "CancelButton");
    });
    Trigger("EditMenuSettings");
    EXPECT_TRUE(still_open);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_TRUE(platform_.messages[0].text.contains(IniPath()))
        << platform_.messages[0].text.toStdString();
}

struct NoticeCase {
    const char* what;
    bool tray_on;
    int language_row;  // -1: untouched
    const char* expected;
};

class SettingsNoticeTest : public SettingsDialogTest,
                           public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(SettingsNoticeTest, RestartNoticesInOneBox) {
    const NoticeCase& c = GetParam();
    WritePack(QStringLiteral("Dutch.dll"), {{1, u"QuilloraApp"}, {101, u"Nederlands"}});
    WriteFile(IniPath(), "[Main]\r\nLanguagePack=Dutch.dll\r\n");
    context_.language_pack_name = QStringLiteral("Dutch.dll");
    StartMainForm();
    WhenShown([c](TSettings& dialog) {
        Child<QCheckBox>(dialog, "UseTrayIconCheckBox")->setChecked(c.tray_on);
        if (c.language_row >= 0) {
            Child<QListWidget>(dialog, "Languages")->setCurrentRow(c.language_row);
        }
        Click(dialog, "OKButton");
    });
    Trigger("EditMenuSettings");
    if (*c.expected == '\0') {
        EXPECT_TRUE(platform_.messages.empty()) << c.what;
    } else {
        ASSERT_EQ(platform_.messages.size(), 1u) << c.what;
        EXPECT_EQ(platform_.messages[0].text.toStdString(), c.expected) << c.what;
        EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Information);
    }
    EXPECT_EQ(Key("Main", "LanguagePack"), c.language_row == 0 ? "" : "Dutch.dll") << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsNoticeTest,
    ::testing::Values(NoticeCase{"nothing changed", false, -1, ""},
                      NoticeCase{"the pack in use chosen again", false, 1, ""},
                      NoticeCase{"tray switched on", true, -1,
                                 "Restart Quillora so the Tray Icon can be loaded."},
                      NoticeCase{"English chosen", false, 0,
                                 "Restart Quillora so the Language Pack can be loaded."},
                      NoticeCase{"tray and pack", true, 0,
                                 "Restart Quillora so the Tray Icon can be loaded.\n\n"
                                 "Restart Quillora so the Language Pack can be loaded."}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

// The Language page lists the packs after English, selects the pack in use by its exact file
// name, describes the selected pack in its own words and offers its information file.
TEST_F(SettingsDialogTest, LanguagePageListsDescribesAndOpensTheInformationFile) {
    WritePack(QStringLiteral("Dutch.dll"), {{1, u"QuilloraApp"},
                                            {101, u"Nederlands"},
                                            {102, u"Jan"},
                                            {11254, u"Taal:"},
                                            {11252, u"&Meer informatie..."}});
    WritePack(QStringLiteral("OldDutch.dll"), {{1, u"QuilloraApp"}, {101, u"Oudnederlands"}});
    WritePack(QStringLiteral("NotAPack.dll"), {{1, u"Something"}});
    WriteFile(HomeFile(QStringLiteral("Dutch.txt")), "info");
    context_.language_pack_name = QStringLiteral("Dutch.dll");
    StartMainForm();
    WhenShown([this](TSettings& dialog) {
        auto* list = Child<QListWidget>(dialog, "Languages");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), "English");
        EXPECT_EQ(list->item(1)->text(), "Nederlands        Dutch.dll");
        EXPECT_EQ(list->currentRow(), 1);
        EXPECT_EQ(Child<QLabel>(dialog, "ST9")->text(), "Taal:");
        EXPECT_EQ(Child<QLabel>(dialog, "ST14")->text(), "Jan");
        auto* more = Child<QPushButton>(dialog, "MoreInfoButton");
        EXPECT_FALSE(more->isHidden());
        EXPECT_EQ(more->text(), "&Meer informatie...");
        more->click();
        list->setCurrentRow(2);
        EXPECT_TRUE(more->isHidden());
        EXPECT_EQ(Child<QLabel>(dialog, "ST9")->text(), "Language:");
        EXPECT_EQ(Child<QLabel>(dialog, "ST13")->text(), "Unknown");
        Click(dialog, "CancelButton");
        ASSERT_EQ(platform_.opened_with_desktop.size(), 1u);
        EXPECT_EQ(platform_.opened_with_desktop[0], HomeFile(QStringLiteral("Dutch.txt")));
    });
    Trigger("EditMenuSettings");
}

// A loaded pack translates the dialog's title, pages, group boxes and buttons.
TEST_F(SettingsDialogTest, ALoadedPackTranslatesTheDialog) {
    const std::string bytes = PackBytes(
        {{11000, u"Instellingen"},
         {11050, u"Notitielijst"},
         {11054, u"&Achtergrondkleur"},
         {11206, u"&Systeemvakpictogram gebruiken in het systeemvak rechts onderaan het scherm"},
         {500, u"Akkoord"}});
    LanguageText::Instance().SetModule(LanguageModule::FromBytes(bytes, kLanguageUsEnglish));
    StartMainForm();
    WhenShown([](TSettings& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Instellingen");
        EXPECT_EQ(dialog.Pages()->tabText(0), "Notitielijst");
        EXPECT_EQ(Child<QPushButton>(dialog, "TreeBGColorButton")->text(), "&Achtergrondkleur");
        EXPECT_EQ(Child<QPushButton>(dialog, "OKButton")->text(), "Akkoord");
        EXPECT_EQ(Child<QGroupBox>(dialog, "GroupBox1")->title(), " Notitielijst ");
        auto* tray = Child<QCheckBox>(dialog, "UseTrayIconCheckBox");
        EXPECT_GE(tray->width(), tray->fontMetrics().horizontalAdvance(tray->text()) + 20);
        // The group and the window grew with the caption: nothing is cut at the group's edge.
        EXPECT_LT(tray->geometry().right(), tray->parentWidget()->width());
        Click(dialog, "CancelButton");
    });
    Trigger("EditMenuSettings");
    LanguageText::Instance().SetModule(std::nullopt);
}

}  // namespace
}  // namespace quillora::testing
