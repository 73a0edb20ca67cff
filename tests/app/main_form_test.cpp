#include <QLabel>
#include <QTest>

#include "app/my_tree_view.h"
#include "app/note_pane.h"
#include "app/note_tree_model.h"
#include "document/notes_file.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

// One folder F (text "folder text") holding one note N (text "abc").
QByteArray SmallNotesFile() {
    NotesDocument doc;
    const int f = *doc.texts.AllocateTextSlot();
    const int n = *doc.texts.AllocateTextSlot();
    doc.texts.SetText(f, "folder text");
    doc.texts.SetText(n, "abc");
    const NodeId folder = doc.tree.Append(kNoNode, "F", {kFolder, f}, 3);
    doc.tree.Append(folder, "N", {kNote, n}, 5);
    const std::string bytes = NotesFileBytes(doc);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

using MainFormTest = UiTest;

TEST_F(MainFormTest, StartsEmptyWithPanesDisabledAndNoFile) {
    TMainForm& form = StartMainForm();
    EXPECT_EQ(form.windowTitle(), "Quillora");
    EXPECT_TRUE(form.Document().tree.Empty());
    EXPECT_FALSE(form.Memo()->isEnabled());
    EXPECT_FALSE(form.FolderMemo()->isEnabled());
    EXPECT_EQ(form.StatusText(0), "1:1");
    EXPECT_EQ(form.StatusText(1), "");
    EXPECT_EQ(form.StatusText(3), "");
    EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(MainFormTest, OpensTheFileNamedOnTheCommandLineAndShowsTheFirstNode) {
    const QString path = HomeFile("two words.qlb");
    WriteFile(path, SmallNotesFile());
    // A path with a space that arrived as two arguments, after the /max switch.
    TMainForm& form = StartMainForm({"/max", Home() + "/two", "words.qlb"});
    EXPECT_TRUE(form.isMaximized());
    ASSERT_EQ(form.Document().tree.Count(), 2);
    EXPECT_EQ(form.Document().current_file_name, ToNative(path));
    EXPECT_EQ(form.StatusText(3), path);
    EXPECT_EQ(form.StatusText(1), "");  // reading does not modify
    const NodeId first = form.Document().tree.FirstTopLevel();
    EXPECT_EQ(form.SelectedNode(), first);
    EXPECT_EQ(form.VisiblePane(), form.FolderMemo());
    EXPECT_EQ(form.FolderMemo()->toPlainText(), "folder text\n");
    EXPECT_TRUE(form.Memo()->isEnabled());
    // The re-open list got the file as soon as its header was accepted.
    EXPECT_EQ(form.SettingsFile().ReadString("History", "File0", ""), ToNative(path));
}

TEST_F(MainFormTest, SelectingANoteShowsItsTextAndKeepsTypedText) {
    const QString path = HomeFile("a.qlb");
    WriteFile(path, SmallNotesFile());
    TMainForm& form = StartMainForm({path});
    NotesDocument& doc = form.Document();
    const NodeId folder = doc.tree.FirstTopLevel();
    const NodeId note = doc.tree.Children(folder).front();

    form.FolderMemo()->setPlainText("changed folder text");
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(form.StatusText(1), "Modified");
    form.SelectNode(note);
    EXPECT_EQ(form.VisiblePane(), form.Memo());
    EXPECT_EQ(form.Memo()->toPlainText(), "abc\n");
    // Leaving the folder stored what was typed in its pane.
    EXPECT_EQ(doc.TextOf(folder), "changed folder text\r\n");

    // Switching nodes alone never marks a document modified.
    form.ClearModified();
    form.SelectNode(folder);
    form.SelectNode(note);
    EXPECT_FALSE(doc.modified);
}

TEST_F(MainFormTest, FilesThatCannotBeReadAreReportedAndLeaveTheDocumentEmpty) {
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* message;
        MessageIcon icon;
    };
    QByteArray wrong_version = SmallNotesFile();
    wrong_version[15] = '1';  // "1.1"
    QByteArray damaged = SmallNotesFile();
    damaged.chop(3);  // ends inside the last text
    const std::vector<Case> cases = {
        {"missing.qlb", QByteArray(), "Unable to open", MessageIcon::Warning},
        {"text.qlb", QByteArray("just some text, long enough to have a header"),
         "is not a Quillora file", MessageIcon::Warning},
        {"short.qlb", QByteArray("Quill"), "is not a Quillora file", MessageIcon::Warning},
        {"newer.qlb", wrong_version, "needs\nto be upgraded", MessageIcon::Information},
        {"cut.qlb", damaged, "is damaged and cannot be opened", MessageIcon::Warning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = HomeFile(c.name);
        if (!c.bytes.isNull()) WriteFile(path, c.bytes);
        platform_.messages.clear();
        TMainForm& form = StartMainForm({path});
        ASSERT_EQ(platform_.messages.size(), 1u);
        EXPECT_TRUE(platform_.messages[0].text.contains(c.message)) << platform_.messages[0].text.toStdString();
        EXPECT_EQ(platform_.messages[0].caption, "Quillora");
        EXPECT_EQ(platform_.messages[0].icon, c.icon);
        EXPECT_TRUE(form.Document().tree.Empty());
        EXPECT_TRUE(form.Document().IsUntitled());
        EXPECT_EQ(form.StatusText(3), "");
        EXPECT_FALSE(form.Memo()->isEnabled());
        form_.reset();
    }
    // None of them reaches the re-open list, a damaged file included.
    EXPECT_EQ(ProfileFile(ToNative(IniPath())).ReadString("History", "File0", ""), "");
}

TEST_F(MainFormTest, SavingFailureKeepsTheDocumentModifiedAndSaysSo) {
    const QString path = HomeFile("a.qlb");
    WriteFile(path, SmallNotesFile());
    TMainForm& form = StartMainForm({path});
    form.FolderMemo()->setPlainText("new text");
    ASSERT_TRUE(form.Document().modified);
    EXPECT_FALSE(form.WriteNotesFileReporting(Home() + "/no such folder/x.qlb"));
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "Unable to save file.");
    EXPECT_TRUE(form.Document().modified);
    EXPECT_EQ(form.StatusText(1), "Modified");

    EXPECT_TRUE(form.WriteNotesFileReporting(path));
    EXPECT_FALSE(form.Document().modified);
    EXPECT_EQ(form.StatusText(1), "");
    NotesDocument reread;
    ASSERT_EQ(ReadNotesFile(ToNative(path), reread), ReadStatus::Ok);
    EXPECT_EQ(reread.TextOf(reread.tree.FirstTopLevel()), "new text\r\n");
}

TEST_F(MainFormTest, ReOpensTheLastFileOnlyWhenItStillExists) {
    const QString path = HomeFile("last.qlb");
    WriteFile(path, SmallNotesFile());
    WriteFile(IniPath(), "[Main]\r\nReOpenLastFile=1\r\nReOpenFile=" + path.toUtf8() + "\r\n");
    EXPECT_EQ(StartMainForm().Document().tree.Count(), 2);
    form_.reset();
    QFile::remove(path);
    EXPECT_TRUE(StartMainForm().Document().tree.Empty());
    EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(MainFormTest, CloseDocumentEmptiesEverything) {
    const QString path = HomeFile("a.qlb");
    WriteFile(path, SmallNotesFile());
    TMainForm& form = StartMainForm({path});
    form.FolderMemo()->setPlainText("x");
    form.CloseDocument();
    EXPECT_TRUE(form.Document().tree.Empty());
    EXPECT_EQ(form.Document().texts.OccupiedCount(), 0);
    EXPECT_FALSE(form.Document().modified);
    EXPECT_EQ(form.VisiblePane(), form.Memo());
    EXPECT_TRUE(form.Memo()->toPlainText().isEmpty());
    EXPECT_TRUE(form.FolderMemo()->toPlainText().isEmpty());
    EXPECT_FALSE(form.Memo()->isEnabled());
    EXPECT_EQ(form.StatusText(1), "");
    EXPECT_EQ(form.StatusText(3), "");
    EXPECT_EQ(form.Document().current_text_index, -1);
}

}  // namespace
}  // namespace quillora::testing
