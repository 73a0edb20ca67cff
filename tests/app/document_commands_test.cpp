#include "app/commands/document_commands.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "document/notes_file.h"
#include "document/ui/note_pane.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

// A notes file with one note titled `title` whose text is `text`.
QByteArray OneNoteFile(const std::string& title, const std::string& text) {
    NotesDocument doc;
    const int slot = *doc.texts.AllocateTextSlot();
    doc.texts.SetText(slot, text);
    doc.tree.Append(kNoNode, title, {kNote, slot}, 5);
    const std::string bytes = NotesFileBytes(doc);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string TitleOfFirstNode(const TMainForm& form) {
    const NotesDocument& doc = const_cast<TMainForm&>(form).Document();
    return doc.tree.Empty() ? std::string() : doc.tree.Title(doc.tree.FirstTopLevel());
}

class DocumentCommandsTest : public UiTest {
protected:
    QString MakeNotesFile(const QString& name, const std::string& title = "N",
                          const std::string& text = "abc") {
        const QString path = HomeFile(name);
        WriteFile(path, OneNoteFile(title, text));
        return path;
    }
    DocumentCommands& Commands() { return *form_->Documents(); }
    // Opens `path` with File > Open.
    void OpenWithCommand(const QString& path) {
        platform_.open_answers.push_back({path});
        Trigger("FileMenuOpen");
    }
    // Types into the visible pane, which marks the document modified.
    void Edit(const QString& text = "typed") { form_->VisiblePane()->setPlainText(text); }
    std::string History(int k) {
        return ProfileFile(ToNative(IniPath()))
            .ReadString("History", "File" + std::to_string(k), "");
    }
    // The re-open items as the File menu shows them: caption, or "-" for a hidden item.
    QStringList ReOpenItems() {
        Commands().FileMenuClick();
        QStringList items;
        for (int i = 1; i <= 10; ++i) {
            auto* item = form_->findChild<QAction*>(QStringLiteral("ReOpen%1").arg(i));
            items.append(item->isVisible() ? item->text() : QStringLiteral("-"));
        }
        return items;
    }
};

TEST_F(DocumentCommandsTest, SavePromptAnswersOnANamedDocument) {
    const QString a = MakeNotesFile("a.qlb", "A", "old");
    const QString b = MakeNotesFile("b.qlb", "B");
    StartMainForm({a});

    // Cancel: nothing happens, not even the open dialog.
    Edit("first");
    platform_.message_answers = {MessageAnswer::Cancel};
    Trigger("FileMenuOpen");
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "Save changes to\n\"" + a + "\"?");
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(platform_.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(platform_.messages[0].caption, "Quillora");
    EXPECT_TRUE(platform_.open_requests.empty());
    EXPECT_TRUE(form_->Document().modified);

    // No: the other file opens and the edit is gone from disk and memory.
    platform_.message_answers = {MessageAnswer::No};
    OpenWithCommand(b);
    EXPECT_EQ(TitleOfFirstNode(*form_), "B");
    NotesDocument on_disk;
    ASSERT_EQ(ReadNotesFile(ToNative(a), on_disk), ReadStatus::Ok);
    EXPECT_EQ(on_disk.TextOf(on_disk.tree.FirstTopLevel()), "old\r\n");

    // Yes: the edit is written before the next file opens; the list is not touched by Save.
    Edit("second");
    platform_.message_answers = {MessageAnswer::Yes};
    OpenWithCommand(a);
    NotesDocument b_on_disk;
    ASSERT_EQ(ReadNotesFile(ToNative(b), b_on_disk), ReadStatus::Ok);
    EXPECT_EQ(b_on_disk.TextOf(b_on_disk.tree.FirstTopLevel()), "second\r\n");
    EXPECT_EQ(TitleOfFirstNode(*form_), "A");
    EXPECT_FALSE(form_->Document().modified);
}

TEST_F(DocumentCommandsTest, UntitledDocumentYesGoesThroughSaveAs) {
    WriteFile(IniPath(), "[Main]\r\nDefaultSaveDir=" + Home().toUtf8() + "/saves\r\n");
    StartMainForm();
    // A new note makes the document non-empty; typing into it marks it modified.
    NotesDocument& doc = form_->Document();
    const int slot = *doc.texts.AllocateTextSlot();
    form_->SelectNode(doc.tree.Append(kNoNode, "fresh", {kNote, slot}, 5));
    form_->UpdatePaneEnabling();
    Edit("unsaved");

    // Yes, then a cancelled Save As dialog: New stops, the document stays open and modified.
    platform_.message_answers = {MessageAnswer::Yes};
    Trigger("FileMenuNew");
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "Save changes to\n\"Untitled.qlb\"?");
    ASSERT_EQ(platform_.save_requests.size(), 1u);
    const FileDialogRequest& request = platform_.save_requests[0];
    EXPECT_EQ(request.preset_name, "Untitled.qlb");
    EXPECT_EQ(request.initial_folder, Home() + "/saves");
    EXPECT_EQ(request.default_extension, "qlb");
    EXPECT_EQ(request.filter, "Quillora Files (*.QLB)|*.qlb|All Files (*.*)|*.*");
    EXPECT_TRUE(request.confirm_replace);
    EXPECT_EQ(doc.tree.Count(), 1);
    EXPECT_TRUE(doc.modified);

    // Closing asks the same; cancelling Save As keeps the window open.
    platform_.message_answers = {MessageAnswer::Yes};
    EXPECT_FALSE(form_->close());
    EXPECT_TRUE(form_->isVisible());

    // Yes with a chosen path: written, named, recorded in the re-open list, then emptied.
    const QString saved = HomeFile("saved.qlb");
    platform_.message_answers = {MessageAnswer::Yes};
    platform_.save_answers = {saved};
    Trigger("FileMenuNew");
    EXPECT_TRUE(doc.tree.Empty());
    EXPECT_TRUE(doc.IsUntitled());
    EXPECT_EQ(History(0), ToNative(saved));
    NotesDocument on_disk;
    ASSERT_EQ(ReadNotesFile(ToNative(saved), on_disk), ReadStatus::Ok);
    EXPECT_EQ(on_disk.TextOf(on_disk.tree.FirstTopLevel()), "unsaved\r\n");
}

TEST_F(DocumentCommandsTest, SaveAsOfANamedFilePresetsItsNameAndRecordsTheNewPath) {
    const QString a = MakeNotesFile("a.qlb");
    StartMainForm({a});
    const QString copy = HomeFile("copy.qlb");
    platform_.save_answers = {copy};
    Trigger("FileMenuSaveAs");
    ASSERT_EQ(platform_.save_requests.size(), 1u);
    EXPECT_EQ(platform_.save_requests[0].preset_name, a);
    EXPECT_EQ(platform_.save_requests[0].initial_folder, Home());
    EXPECT_EQ(form_->Document().current_file_name, ToNative(copy));
    EXPECT_EQ(History(0), ToNative(copy));
    EXPECT_EQ(History(1), ToNative(a));

    // A path that cannot be written: reported, still recorded, the document stays modified.
    Edit();
    const QString bad = Home() + "/missing folder/x.qlb";
    platform_.save_answers = {bad};
    Trigger("FileMenuSaveAs");
    EXPECT_EQ(platform_.messages.back().text, "Unable to save file.");
    EXPECT_TRUE(form_->Document().modified);
    EXPECT_EQ(form_->Document().current_file_name, ToNative(copy));
    EXPECT_EQ(History(0), ToNative(bad));

    // Save writes to the current name and leaves the list alone.
    Trigger("FileMenuSave");
    EXPECT_FALSE(form_->Document().modified);
    EXPECT_EQ(History(0), ToNative(bad));
}

TEST_F(DocumentCommandsTest, ReOpenListKeepsItsOrderAndDropsTheOldest) {
    StartMainForm();
    EXPECT_EQ(ReOpenItems(), QStringList({"[Empty]", "-", "-", "-", "-", "-", "-", "-", "-", "-"}));
    EXPECT_FALSE(form_->findChild<QAction*>("ReOpen1")->isEnabled());
    EXPECT_FALSE(form_->findChild<QAction*>("ReOpenMenuClearList")->isEnabled());

    const QString a = MakeNotesFile("a.qlb", "A");
    const QString b = MakeNotesFile("b.qlb", "B");
    OpenWithCommand(a);
    OpenWithCommand(b);
    OpenWithCommand(a);
    EXPECT_EQ(History(0), ToNative(b));
    EXPECT_EQ(History(1), ToNative(a));
    EXPECT_EQ(ReOpenItems(),
              QStringList({"b.qlb", "a.qlb", "-", "-", "-", "-", "-", "-", "-", "-"}));
    EXPECT_TRUE(form_->findChild<QAction*>("ReOpenMenuClearList")->isEnabled());

    // An item opens the path in its hint.
    form_->findChild<QAction*>("ReOpen1")->trigger();
    EXPECT_EQ(TitleOfFirstNode(*form_), "B");

    for (int i = 0; i < 11; ++i) OpenWithCommand(MakeNotesFile(QStringLiteral("f%1.qlb").arg(i)));
    EXPECT_EQ(History(0), ToNative(HomeFile("f10.qlb")));
    EXPECT_EQ(History(9), ToNative(HomeFile("f1.qlb")));
    for (int k = 0; k < 10; ++k) EXPECT_NE(History(k), ToNative(HomeFile("f0.qlb")));

    form_->findChild<QAction*>("ReOpenMenuClearList")->trigger();
    EXPECT_EQ(History(0), "");
    EXPECT_EQ(ReOpenItems().front(), "[Empty]");
}

TEST_F(DocumentCommandsTest, ARelativeCommandLinePathIsKeptAbsoluteAndReOpensFromElsewhere) {
    const QString path = MakeNotesFile("worked.qlb", "W");
    WriteFile(IniPath(), "[Main]\r\nReOpenLastFile=1\r\n");
    const QString started_in = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Home()));
    StartMainForm({"worked.qlb"});
    EXPECT_EQ(form_->Document().current_file_name, ToNative(path));
    EXPECT_EQ(form_->StatusText(3), path);
    EXPECT_EQ(History(0), ToNative(path));
    form_->close();
    EXPECT_EQ(ProfileFile(ToNative(IniPath())).ReadString("Main", "ReOpenFile", ""),
              ToNative(path));

    // From another working folder the last file and the re-open item still open it.
    ASSERT_TRUE(QDir::setCurrent(QDir::rootPath()));
    form_.reset();
    StartMainForm();
    EXPECT_EQ(TitleOfFirstNode(*form_), "W");
    form_->CloseDocument();
    ReOpenItems();
    Trigger("ReOpen1");
    EXPECT_EQ(TitleOfFirstNode(*form_), "W");
    EXPECT_TRUE(platform_.messages.empty());
    QDir::setCurrent(started_in);
}

TEST_F(DocumentCommandsTest, ReOpenCaptionsAreCutAndAGoneFileStaysListed) {
    const QString seventy(70, QLatin1Char('n'));
    EXPECT_EQ(DocumentCommands::ReOpenCaption("/x/" + seventy), seventy.left(60) + "...");
    const QString sixty_three(63, QLatin1Char('m'));
    EXPECT_EQ(DocumentCommands::ReOpenCaption("/x/" + sixty_three), sixty_three);
    EXPECT_EQ(DocumentCommands::ReOpenCaption("/x/Tom & Jerry.qlb"), "Tom && Jerry.qlb");

    const QString gone = HomeFile("gone.qlb");
    WriteFile(IniPath(), "[History]\r\nFile0=" + gone.toUtf8() + "\r\n");
    StartMainForm();
    ReOpenItems();
    form_->findChild<QAction*>("ReOpen1")->trigger();
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "Unable to open \"" + gone + "\".");
    EXPECT_TRUE(form_->Document().IsUntitled());
    EXPECT_EQ(History(0), ToNative(gone));
}

TEST_F(DocumentCommandsTest, HideReOpenHidesTheSubmenuAndRecordsNothing) {
    WriteFile(IniPath(), "[Main]\r\nHideReOpen=1\r\n");
    StartMainForm();
    OpenWithCommand(MakeNotesFile("a.qlb"));
    EXPECT_EQ(History(0), "");
    Commands().FileMenuClick();
    auto* reopen = form_->findChild<QMenu*>("FileMenuReOpen");
    ASSERT_NE(reopen, nullptr);
    EXPECT_FALSE(reopen->menuAction()->isVisible());
}

TEST_F(DocumentCommandsTest, FavoritePromptForAnUntitledDocumentHasItsOwnWording) {
    const QString a = MakeNotesFile("a.qlb", "A");
    StartMainForm();
    NotesDocument& doc = form_->Document();
    const int slot = *doc.texts.AllocateTextSlot();
    form_->SelectNode(doc.tree.Append(kNoNode, "x", {kNote, slot}, 5));
    form_->UpdatePaneEnabling();
    Edit();
    platform_.message_answers = {MessageAnswer::No};
    Commands().LoadFavorite(a);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "Save changes to \"Untitled.qlb\"?");
    EXPECT_EQ(TitleOfFirstNode(*form_), "A");
}

TEST_F(DocumentCommandsTest, DroppedNotesFileAsksAboutUnsavedChangesFirst) {
    const QString a = MakeNotesFile("a.qlb", "A");
    const QString b = MakeNotesFile("b.qlb", "B");
    const QString text = HomeFile("plain.txt");
    WriteFile(text, "hello");
    StartMainForm({a});

    // Cancel keeps everything; a text file dropped first is not opened (nor asked about).
    Edit("dropped edit");
    platform_.message_answers = {MessageAnswer::Cancel};
    Commands().DropFiles({b, text});
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "Save changes to\n\"" + a + "\"?");
    EXPECT_EQ(TitleOfFirstNode(*form_), "A");
    Commands().DropFiles({text, b});
    EXPECT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(TitleOfFirstNode(*form_), "A");

    // Yes writes the named document, then the dropped file opens and is recorded.
    platform_.message_answers = {MessageAnswer::Yes};
    Commands().DropFiles({b});
    EXPECT_EQ(TitleOfFirstNode(*form_), "B");
    NotesDocument on_disk;
    ASSERT_EQ(ReadNotesFile(ToNative(a), on_disk), ReadStatus::Ok);
    EXPECT_EQ(on_disk.TextOf(on_disk.tree.FirstTopLevel()), "dropped edit\r\n");
    EXPECT_EQ(History(0), ToNative(b));
    EXPECT_TRUE(form_->acceptDrops());

    // Through the window's own drop handling, onto an untitled modified document: the save
    // dialog comes without a preset name, and the chosen path is not recorded.
    form_->CloseDocument();
    NotesDocument& doc = form_->Document();
    const int slot = *doc.texts.AllocateTextSlot();
    form_->SelectNode(doc.tree.Append(kNoNode, "x", {kNote, slot}, 5));
    form_->UpdatePaneEnabling();
    Edit();
    const QString saved = HomeFile("first.qlb");
    platform_.message_answers = {MessageAnswer::Yes};
    platform_.save_answers = {saved};
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(a)});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Qt delivers a drop only to a widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form_.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QCoreApplication::sendEvent(form_.get(), &drop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return TitleOfFirstNode(*form_) == "A"; }, 2000));
    EXPECT_EQ(platform_.messages.back().text, "Save new file first?");
    EXPECT_EQ(platform_.save_requests.back().preset_name, "");
    EXPECT_TRUE(QFile::exists(saved));
    for (int k = 0; k < 10; ++k) EXPECT_NE(History(k), ToNative(saved));
}

TEST_F(DocumentCommandsTest, DroppedOtherFilesGoToTheImportHandlerUntilTheDocumentIsFull) {
    StartMainForm();
    const QString a = MakeNotesFile("a.qlb");
    QStringList imported;
    Commands().SetImportHandler([&](const QString& path) {
        imported.append(path);
        return imported.size() < 2;
    });
    Commands().DropFiles({"/t/1.txt", a, "/t/2.txt", "/t/3.txt"});
    EXPECT_EQ(imported, QStringList({"/t/1.txt", "/t/2.txt"}));
    EXPECT_TRUE(platform_.messages.empty());
}

}  // namespace
}  // namespace quillora::testing
