#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <cstdio>
#include <functional>

#include "app/start_read_ahead.h"
#include "document/notes_file.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "gui/note_tree_model.h"
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
    // While the box is up, the status bar shows nothing of the failed read.
    QStringList panel3_at_message;
    platform_.on_message = [&] { panel3_at_message.append(form_->StatusText(3)); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = HomeFile(c.name);
        if (!c.bytes.isNull()) WriteFile(path, c.bytes);
        platform_.messages.clear();
        panel3_at_message.clear();
        TMainForm& form = StartMainForm({path});
        ASSERT_EQ(platform_.messages.size(), 1u);
        EXPECT_EQ(panel3_at_message.join("|").toStdString(), "");
        EXPECT_TRUE(platform_.messages[0].text.contains(c.message))
            << platform_.messages[0].text.toStdString();
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

// The file is read ahead while the start timer runs; what happens to it before the tick decides
// what the tick opens and says.
TEST_F(MainFormTest, AFileChangedAfterTheReadAheadIsReadAgainAtTheTick) {
    QByteArray other = SmallNotesFile();
    other.replace("folder text", "FOLDER TEXT");
    QByteArray damaged = SmallNotesFile();
    damaged.chop(3);
    struct Case {
        const char* name;
        std::function<void(const QString&)> change;
        const char* message;  // nullptr: opened, showing `shown`
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"unchanged", [](const QString&) {}, nullptr, "folder text\n"},
        {"rewritten in place", [&](const QString& p) { WriteFile(p, other); }, nullptr,
         "FOLDER TEXT\n"},
        {"replaced by a rename",
         [&](const QString& p) {
             WriteFile(p + ".new", other);
             ASSERT_EQ(std::rename(ToNative(p + ".new").c_str(), ToNative(p).c_str()), 0);
         },
         nullptr, "FOLDER TEXT\n"},
        {"damaged", [&](const QString& p) { WriteFile(p, damaged); },
         "is damaged and cannot be opened", nullptr},
        {"removed", [](const QString& p) { QFile::remove(p); }, "Unable to open", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = HomeFile("ahead.qlb");
        WriteFile(path, SmallNotesFile());
        platform_.messages.clear();
        context_.settings_file = std::make_unique<ProfileFile>(ToNative(IniPath()));
        context_.arguments = {path};
        form_ = std::make_unique<TMainForm>(context_);
        auto* timer = form_->findChild<QTimer*>(QStringLiteral("Timer"));
        ASSERT_NE(timer, nullptr);
        timer->stop();  // the tick comes when the test says
        QPointer<StartReadAhead> ahead = form_->findChild<StartReadAhead*>();
        ASSERT_FALSE(ahead.isNull());
        QTest::qWait(50);
        EXPECT_FALSE(ahead->Done());  // the read waits for the window's first paint
        form_->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ahead->Done(); }, 5000));
        // Nothing of the file shows or is recorded before the tick.
        EXPECT_TRUE(form_->Document().tree.Empty());
        EXPECT_EQ(form_->StatusText(3), "");
        EXPECT_EQ(form_->SettingsFile().ReadString("History", "File0", ""), "");
        c.change(path);
        timer->start(0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 5000));
        EXPECT_TRUE(ahead.isNull());  // gone with its memory
        if (c.message) {
            ASSERT_EQ(platform_.messages.size(), 1u);
            EXPECT_TRUE(platform_.messages[0].text.contains(c.message));
            EXPECT_TRUE(form_->Document().tree.Empty());
        } else {
            EXPECT_TRUE(platform_.messages.empty());
            EXPECT_EQ(form_->FolderMemo()->toPlainText(), c.shown);
            EXPECT_EQ(form_->StatusText(3), path);
            EXPECT_FALSE(ChangedOnDisk(form_->Document()));
        }
        form_.reset();
        QFile::remove(path);
        QFile::remove(IniPath());
    }
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

TEST_F(MainFormTest, EveryWindows1252CharacterSurvivesThePaneAndTheFile) {
    const QString path = HomeFile("a.qlb");
    WriteFile(path, SmallNotesFile());
    TMainForm& form = StartMainForm({path});
    NotesDocument& doc = form.Document();
    const NodeId folder = doc.tree.FirstTopLevel();
    const NodeId note = doc.tree.Children(folder).front();
    // A no-break space (0xA0), a euro sign (0x80) and a soft hyphen (0xAD) among plain text.
    form.FolderMemo()->setPlainText(
        FromAnsi("a\xA0"
                 "b \x80 c\xAD"
                 "d"));
    form.SelectNode(note);
    EXPECT_EQ(doc.TextOf(folder),
              "a\xA0"
              "b \x80 c\xAD"
              "d\r\n");
    ASSERT_TRUE(form.WriteNotesFileReporting(path));
    NotesDocument reread;
    ASSERT_EQ(ReadNotesFile(ToNative(path), reread), ReadStatus::Ok);
    EXPECT_EQ(reread.TextOf(reread.tree.FirstTopLevel()),
              "a\xA0"
              "b \x80 c\xAD"
              "d\r\n");
}

TEST_F(MainFormTest, ASaveThatCutsTheShownTextShowsTheCutText) {
    const QString path = HomeFile("a.qlb");
    WriteFile(path, SmallNotesFile());
    TMainForm& form = StartMainForm({path});
    NotesDocument& doc = form.Document();
    const NodeId folder = doc.tree.FirstTopLevel();
    const NodeId note = doc.tree.Children(folder).front();
    std::string long_text;
    while (long_text.size() < 70000) long_text += std::string(98, 'x') + "\r\n";
    doc.texts.SetText(doc.tree.Data(note).TextIndex, long_text);
    form.SelectNode(note);
    form.MarkModified();
    ASSERT_TRUE(form.WriteNotesFileReporting(path));
    const std::string& stored = doc.TextOf(note);
    EXPECT_LE(stored.size(), 65500u);
    // What the pane shows is what the file holds: storing it again changes nothing.
    EXPECT_EQ(form.Memo()->PlainText(), StoreTextToPane(stored));
    form.SelectNode(folder);
    EXPECT_EQ(doc.TextOf(note), stored);
    EXPECT_FALSE(doc.modified);
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
    form.FolderMemo()->setPlainText("x\nyz");
    form.FolderMemo()->moveCursor(QTextCursor::End);
    ASSERT_EQ(form.StatusText(0), "2:3");
    form.CloseDocument();
    EXPECT_EQ(form.StatusText(0), "1:1");
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

TEST_F(MainFormTest, FirstStartTakesItsPlaceFromTheScreenAndShowsEverything) {
    TMainForm& form = StartMainForm();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form.x(), screen.width() / 4);
    EXPECT_EQ(form.y(), screen.height() / 4 - 30);
    EXPECT_EQ(form.width(), screen.width() / 2);
    EXPECT_EQ(form.height(), screen.height() / 2 + 60);
    EXPECT_TRUE(form.findChild<QToolBar*>("ToolBar")->isVisible());
    EXPECT_TRUE(form.statusBar()->isVisible());
    EXPECT_TRUE(form.findChild<QAction*>("ViewMenuToolBar")->isChecked());
    EXPECT_TRUE(form.findChild<QAction*>("ViewMenuStatusBar")->isChecked());
    EXPECT_TRUE(form.findChild<QAction*>("HelpMenuShowHints")->isChecked());
    EXPECT_FALSE(form.findChild<QAction*>("ViewMenuAlwaysOnTop")->isChecked());
    EXPECT_FALSE(form.IsAlwaysOnTop());
    EXPECT_EQ(form.Tree()->width(), 121);
    EXPECT_EQ(form.Document().images.folder, 3);
    EXPECT_EQ(form.Document().images.opened_folder, 4);
    EXPECT_EQ(form.Document().images.note, 5);
}

TEST_F(MainFormTest, ClosingWritesTheWindowSettingsAndTheyComeBack) {
    WriteFile(IniPath(),
              "[Main]\r\nReOpenLastFile=1\r\nReOpenFile=/old/path.qlb\r\n"
              "[NotesList]\r\nImage1=12\r\nImage2=13\r\nImage3=8\r\n");
    TMainForm& form = StartMainForm();
    form.resize(500, 350);
    form.move(40, 50);
    for (const char* name :
         {"ViewMenuToolBar", "ViewMenuStatusBar", "HelpMenuShowHints", "ViewMenuAlwaysOnTop"}) {
        form.findChild<QAction*>(name)->trigger();
    }
    EXPECT_FALSE(form.findChild<QToolBar*>("ToolBar")->isVisible());
    EXPECT_FALSE(form.statusBar()->isVisible());
    EXPECT_TRUE(form.IsAlwaysOnTop());
    EXPECT_TRUE(form.isVisible());
    ASSERT_TRUE(form.close());

    ProfileFile ini(ToNative(IniPath()));
    EXPECT_EQ(ini.ReadString("Main", "Left", ""), "40");
    EXPECT_EQ(ini.ReadString("Main", "Top", ""), "50");
    EXPECT_EQ(ini.ReadString("Main", "Width", ""), "500");
    EXPECT_EQ(ini.ReadString("Main", "Height", ""), "350");
    EXPECT_EQ(ini.ReadString("Main", "ShowToolBar", ""), "0");
    EXPECT_EQ(ini.ReadString("Main", "ShowStatusBar", ""), "0");
    EXPECT_EQ(ini.ReadString("Main", "ShowHints", ""), "0");
    EXPECT_EQ(ini.ReadString("Main", "AlwaysOnTop", ""), "1");
    EXPECT_EQ(ini.ReadString("Main", "WordWrap", ""), "1");
    // The untitled document leaves an empty name to re-open.
    EXPECT_EQ(ini.ReadString("Main", "ReOpenFile", "x"), "");
    EXPECT_EQ(ini.ReadString("NotesList", "Width", ""), std::to_string(form.Tree()->width()));
    EXPECT_EQ(ini.ReadString("NotesList", "Image1", ""), "12");
    EXPECT_EQ(ini.ReadString("NotesList", "Image3", ""), "8");
    form_.reset();

    TMainForm& again = StartMainForm();
    EXPECT_EQ(again.pos(), QPoint(40, 50));
    EXPECT_EQ(again.size(), QSize(500, 350));
    EXPECT_FALSE(again.findChild<QToolBar*>("ToolBar")->isVisible());
    EXPECT_FALSE(again.findChild<QAction*>("HelpMenuShowHints")->isChecked());
    EXPECT_TRUE(again.findChild<QAction*>("ViewMenuAlwaysOnTop")->isChecked());
    EXPECT_TRUE(again.IsAlwaysOnTop());
    EXPECT_EQ(again.Document().images.opened_folder, 13);
}

TEST_F(MainFormTest, AWindowPlacedOffEveryScreenComesBackOntoIt) {
    WriteFile(IniPath(), "[Main]\r\nLeft=-5000\r\nTop=40000\r\nWidth=300\r\nHeight=200\r\n");
    TMainForm& form = StartMainForm();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(QRect(form.pos(), QSize(300, 200)))) << form.x() << "," << form.y();
    EXPECT_EQ(form.size(), QSize(300, 200));
}

TEST_F(MainFormTest, ClosingWhileMaximisedKeepsTheLastNormalPlace) {
    WriteFile(IniPath(), "[Main]\r\nLeft=11\r\nTop=22\r\nWidth=333\r\nHeight=244\r\n");
    const QString path = HomeFile("a.qlb");
    WriteFile(path, SmallNotesFile());
    TMainForm& form = StartMainForm({"/max", path});
    ASSERT_TRUE(form.isMaximized());
    ASSERT_TRUE(form.close());
    const QByteArray ini = ReadFile(IniPath());
    EXPECT_TRUE(ini.contains("Left=11\r\nTop=22\r\nWidth=333\r\nHeight=244\r\n"))
        << ini.toStdString();
    // ReOpenLastFile is off: the file name is not written.
    EXPECT_FALSE(ini.contains("ReOpenFile"));
    form_.reset();
    EXPECT_FALSE(StartMainForm().isMaximized());
}

TEST_F(MainFormTest, ClosingWithUnsavedChangesAsksFirst) {
    const QString path = HomeFile("a.qlb");
    WriteFile(path, SmallNotesFile());
    WriteFile(IniPath(), "[Main]\r\nReOpenLastFile=1\r\n");
    TMainForm& form = StartMainForm({path});
    form.FolderMemo()->setPlainText("changed");
    platform_.message_answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(form.close());
    EXPECT_FALSE(ReadFile(IniPath()).contains("ShowToolBar"));  // nothing written yet
    platform_.message_answers = {MessageAnswer::Yes};
    EXPECT_TRUE(form.close());
    NotesDocument reread;
    ASSERT_EQ(ReadNotesFile(ToNative(path), reread), ReadStatus::Ok);
    EXPECT_EQ(reread.TextOf(reread.tree.FirstTopLevel()), "changed\r\n");
    EXPECT_EQ(ProfileFile(ToNative(IniPath())).ReadString("Main", "ReOpenFile", ""),
              ToNative(path));
}

TEST_F(MainFormTest, ASaveThatFailsOnClosingStillCloses) {
    const QString folder = HomeFile("gone");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/a.qlb";
    WriteFile(path, SmallNotesFile());
    TMainForm& form = StartMainForm({path});
    form.FolderMemo()->setPlainText("lost");
    ASSERT_TRUE(QDir(folder).removeRecursively());
    platform_.message_answers = {MessageAnswer::Yes};
    EXPECT_TRUE(form.close());
    ASSERT_EQ(platform_.messages.size(), 2u);
    EXPECT_EQ(platform_.messages[1].text, "Unable to save file.");
}

// Opening the largest document the program holds from the command line, in the real window.
TEST_F(MainFormTest, OpensAFullDocumentFromTheCommandLine) {
    NotesDocument doc;
    NodeId folder = kNoNode;
    for (int i = 0; i < 4000; ++i) {
        const int slot = *doc.texts.AllocateTextSlot();
        std::string text;
        for (int line = 0; line < 20; ++line)
            text += "Line " + std::to_string(line) + " of note\r\n";
        doc.texts.SetText(slot, text);
        if (i % 40 == 0) {
            folder = doc.tree.Append(kNoNode, "Folder " + std::to_string(i), {kFolder, slot}, 3);
        } else {
            doc.tree.Append(folder, "Note " + std::to_string(i), {kNote, slot}, 5);
        }
    }
    const QString path = HomeFile("full.qlb");
    ASSERT_EQ(WriteNotesFile(ToNative(path), doc), WriteStatus::Ok);

    QElapsedTimer clock;
    clock.start();
    TMainForm& form = StartMainForm({path});
    const qint64 ms = clock.elapsed();
    ASSERT_EQ(form.Document().tree.Count(), 4000);
    EXPECT_EQ(form.SelectedNode(), form.Document().tree.FirstTopLevel());
    // Reading alone, into the window as it stands, until it has been painted.
    form.CloseDocument();
    clock.restart();
    form.ReadNotesFileReporting(path);
    QCoreApplication::processEvents();
    form.repaint();
    const qint64 read_ms = clock.elapsed();
    ASSERT_EQ(form.Document().tree.Count(), 4000);
    // The start-up figure includes creating the window and the start timer's 180 ms.
    std::printf(
        "[ figure ] 4000 nodes: start-up with the file %lld ms, reading into the window %lld ms\n",
        static_cast<long long>(ms), static_cast<long long>(read_ms));
}

}  // namespace
}  // namespace quillora::testing
