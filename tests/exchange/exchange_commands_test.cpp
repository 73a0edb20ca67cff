#include "app/commands/exchange_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "app/commands/document_commands.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "exchange/ui/export_form.h"
#include "settings/settings_schema.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

class ExchangeCommandsTest : public UiTest {
protected:
    QString MakeFile(const QString& name, const QByteArray& bytes) {
        const QString path = HomeFile(name);
        WriteFile(path, bytes);
        return path;
    }
    NotesDocument& Doc() { return form_->Document(); }
    std::vector<std::string> TopLevelTitles() {
        std::vector<std::string> titles;
        for (NodeId n : Doc().tree.Children(kNoNode)) titles.push_back(Doc().tree.Title(n));
        return titles;
    }
    // Runs `drive` on the export dialog while Export All has it open, then closes it.
    void WithExportDialog(const std::function<void(TExport&)>& drive) {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TExport*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            drive(*dialog);
            driven = true;
            dialog->reject();
        });
        Trigger("FileMenuExportAll");
        EXPECT_TRUE(driven);
    }
    // Two notes and a folder with an empty text; the second note is selected.
    void MakeDocument() {
        AddNode(Doc(), kNoNode, "Shopping list", kNote, "milk\r\n");
        const NodeId folder = AddNode(Doc(), kNoNode, "Folder", kFolder);
        const NodeId plan = AddNode(Doc(), folder, "Plan?", kNote, "caf\xE9\r\n");
        form_->UpdatePaneEnabling();
        form_->SelectNode(plan);
    }
};

TEST_F(ExchangeCommandsTest, ImportsFilesAtTheEndOfTheTopLevelAndSelectsTheLast) {
    StartMainForm();
    Trigger("NotesMenuNewNote");
    const QString rtf = MakeFile("Letter.rtf", "{\\rtf1\\ansi Dear caf\\'e9,\\par bye\\par}");
    const QString utf8 = MakeFile("accents.txt", "na\xC3\xAFve \xE2\x82\xAC\nline");
    const QString ansi = MakeFile("old.2003.txt", "na\xEFve \x80\r\n");
    platform_.open_answers.push_back({rtf, utf8, ansi});
    Trigger("FileMenuImportFile");

    const FileDialogRequest& asked = platform_.open_requests.back();
    EXPECT_EQ(asked.title, "Choose Files To Import");
    EXPECT_EQ(asked.filter,
              "Text Files (*.TXT)|*.txt|Rich Text Files (*.RTF)|*.rtf|All Files (*.*)|*.*");
    EXPECT_TRUE(asked.multiple);
    // The open dialog itself is as it was.
    EXPECT_FALSE(form_->Documents()->OpenDialog().multiple);
    EXPECT_TRUE(form_->Documents()->OpenDialog().title.isEmpty());

    EXPECT_EQ(TopLevelTitles(),
              (std::vector<std::string>{"New Note", "Letter", "accents", "old.2003"}));
    const std::vector<NodeId>& top = Doc().tree.Children(kNoNode);
    EXPECT_EQ(Doc().TextOf(top[1]), "Dear caf\xE9,\r\nbye\r\n");
    EXPECT_EQ(Doc().TextOf(top[2]), "na\xEFve \x80\r\nline\r\n");
    EXPECT_EQ(Doc().TextOf(top[3]), "na\xEFve \x80\r\n");
    EXPECT_EQ(form_->SelectedNode(), top[3]);
    EXPECT_EQ(form_->Memo()->PlainText(), QString::fromUtf8("na\xC3\xAFve \xE2\x82\xAC\n"));
    // Its title is open for editing.
    bool editing = false;
    for (QLineEdit* editor : form_->Tree()->viewport()->findChildren<QLineEdit*>()) {
        if (editor->isVisible() && editor->text() == "old.2003") editing = true;
    }
    EXPECT_TRUE(editing);
    EXPECT_TRUE(Doc().modified);
    EXPECT_EQ(form_->StatusText(1), "Modified");
}

TEST_F(ExchangeCommandsTest, AFileThatCannotBeReadIsReportedAndTakesNoSlot) {
    StartMainForm();
    const QString missing = HomeFile("missing.txt");
    const QString good = MakeFile("good.txt", "text");
    platform_.open_answers.push_back({missing, Home(), good});
    Trigger("FileMenuImportFile");
    ASSERT_EQ(platform_.messages.size(), 2u);
    EXPECT_EQ(platform_.messages[0].text, "Unable to open \"" + missing + "\".");
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(platform_.messages[1].text, "Unable to open \"" + Home() + "\".");
    EXPECT_EQ(TopLevelTitles(), std::vector<std::string>{"good"});
    EXPECT_EQ(Doc().texts.OccupiedCount(), 1);
}

TEST_F(ExchangeCommandsTest, WithOneFreeSlotTheSecondFileReportsTheLimitOnce) {
    StartMainForm();
    Doc().tree.BulkChange([&] {
        for (int i = 0; i < TextStore::kCapacity - 1; ++i) AddNode(Doc(), kNoNode, "n", kNote);
    });
    const QString a = MakeFile("a.txt", "a");
    const QString b = MakeFile("b.txt", "b");
    const QString c = MakeFile("c.txt", "c");
    platform_.open_answers.push_back({a, b, c});
    Trigger("FileMenuImportFile");
    EXPECT_EQ(Doc().tree.Count(), TextStore::kCapacity);
    EXPECT_EQ(Doc().tree.Title(Doc().tree.Children(kNoNode).back()), "a");
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text,
              "Quillora supports up to 4000 Notes/Folders.\nYou have reached the limit.");
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Information);
}

TEST_F(ExchangeCommandsTest, ADroppedTextFileBecomesANote) {
    TMainForm& form = StartMainForm();
    const QString path = MakeFile("dropped.txt", "from the desktop");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Qt delivers a drop only to a widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QApplication::sendEvent(&form, &drop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Doc().tree.Count() == 1; }, 2000));
    EXPECT_EQ(TopLevelTitles(), std::vector<std::string>{"dropped"});
    EXPECT_EQ(form.Memo()->PlainText(), "from the desktop\n");
}

TEST_F(ExchangeCommandsTest, ExportSelectedWritesThePaneAsShown) {
    StartMainForm();
    const QString out = Home() + "/out";
    QDir().mkpath(out);
    WriteText(form_->SettingsFile(), settings_keys::kDefaultExportDir, ToNative(out));
    MakeDocument();
    form_->Memo()->InsertText("new ");  // typed, not stored yet
    platform_.save_answers.push_back(out + "/plan.txt");
    Trigger("FileMenuExportSelected");
    const FileDialogRequest& asked = platform_.save_requests.back();
    EXPECT_EQ(asked.title, "Export To");
    EXPECT_EQ(asked.filter, "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(asked.preset_name, "Plan_.txt");
    EXPECT_EQ(asked.initial_folder, out);
    EXPECT_TRUE(asked.confirm_replace);
    EXPECT_EQ(ReadFile(out + "/plan.txt"), "new caf\xE9\r\n");

    // A target that cannot be written is reported by name.
    platform_.save_answers.push_back(out + "/missing/plan.txt");
    Trigger("FileMenuExportSelected");
    EXPECT_EQ(platform_.messages.back().text, "Unable to write \"" + out + "/missing/plan.txt\".");

    // Without a selection nothing is asked.
    form_->SelectNode(kNoNode);
    const size_t asked_before = platform_.save_requests.size();
    TriggerAsItIs("FileMenuExportSelected");
    EXPECT_EQ(platform_.save_requests.size(), asked_before);
}

TEST_F(ExchangeCommandsTest, ExportAllDialogChecksTheFolderThenExportsAndStaysOpen) {
    StartMainForm();
    const QString out = Home() + "/out";
    QDir().mkpath(out);
    WriteText(form_->SettingsFile(), settings_keys::kDefaultExportDir, ToNative(out));
    MakeDocument();
    WriteFile(out + "/Shopping list.txt", "old");
    WithExportDialog([&](TExport& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Export All");
        EXPECT_EQ(dialog.DirEdit()->text(), out);
        EXPECT_FALSE(dialog.OverwriteCheckBox()->isChecked());
        EXPECT_FALSE(dialog.GroupBox2()->isVisible());

        platform_.folder_answers.push_back(Home());
        dialog.findChild<QPushButton*>("BrowseButton")->click();
        EXPECT_EQ(platform_.folder_requests.back().title, "Export Files to this Folder:");
        EXPECT_EQ(platform_.folder_requests.back().start_folder, out);
        EXPECT_EQ(dialog.DirEdit()->text(), Home());

        dialog.DirEdit()->clear();
        dialog.ExportButton()->click();
        EXPECT_EQ(platform_.messages.back().text, "Please choose a Folder.");
        dialog.DirEdit()->setText(out + "/none");
        dialog.ExportButton()->click();
        EXPECT_EQ(platform_.messages.back().text,
                  "The folder \"" + out + "/none/\" does not exist.");
        EXPECT_TRUE(dialog.ExportButton()->isEnabled());

        dialog.DirEdit()->setText(out);
        platform_.message_answers.push_back(MessageAnswer::No);
        dialog.ExportButton()->click();
        EXPECT_EQ(platform_.messages.back().text,
                  "The file \"" + out + "/Shopping list.txt\" already exists. Overwrite it?");
        EXPECT_EQ(platform_.messages.back().buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(dialog.ProgLabel()->text(), "Files Successfully Exported");
        EXPECT_TRUE(dialog.GroupBox2()->isVisible());
        EXPECT_FALSE(dialog.GroupBox1()->isVisible());
        EXPECT_FALSE(dialog.ExportButton()->isEnabled());
    });
    EXPECT_EQ(ReadFile(out + "/Shopping list.txt"), "old");
    EXPECT_EQ(ReadFile(out + "/Plan_.txt"), "caf\xE9\r\n");
    EXPECT_FALSE(QFile::exists(out + "/Folder.txt"));
}

TEST_F(ExchangeCommandsTest, ExportAllStopsAtCancelAndAtAWriteFault) {
    StartMainForm();
    const QString out = Home() + "/out";
    QDir().mkpath(out);
    MakeDocument();
    WriteFile(out + "/Shopping list.txt", "old");
    WithExportDialog([&](TExport& dialog) {
        dialog.DirEdit()->setText(out);
        platform_.message_answers.push_back(MessageAnswer::Cancel);
        dialog.ExportButton()->click();
        EXPECT_EQ(dialog.ProgLabel()->text(), "Export Aborted!");
    });
    EXPECT_FALSE(QFile::exists(out + "/Plan_.txt"));

    ExportFaults faults;
    faults.fail_file = 1;
    faults.faults.fail_after_bytes = 0;
    form_->Exchanges()->SetExportFaults(faults);
    WithExportDialog([&](TExport& dialog) {
        dialog.DirEdit()->setText(out);
        dialog.OverwriteCheckBox()->setChecked(true);
        dialog.ExportButton()->click();
        EXPECT_EQ(platform_.messages.back().text, "Unable to write \"" + out + "/Plan_.txt\".");
        EXPECT_EQ(dialog.ProgLabel()->text(), "Export Aborted!");
    });
    EXPECT_EQ(ReadFile(out + "/Shopping list.txt"), "milk\r\n");
    EXPECT_FALSE(QFile::exists(out + "/Plan_.txt"));
}

}  // namespace
}  // namespace quillora::testing
