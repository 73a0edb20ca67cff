#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <csignal>

#include "app/recovery_keeper.h"
#include "document/notes_file.h"
#include "document/ui/note_pane.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

constexpr char kChildHome[] = "QUILLORA_SAFETY_CHILD_HOME";

QByteArray NotesBytes(const std::string& text) {
    NotesDocument doc;
    AddNode(doc, kNoNode, "N", kNote, text);
    const std::string bytes = NotesFileBytes(doc);
    return {bytes.data(), static_cast<qsizetype>(bytes.size())};
}

class SafetyTest : public UiTest {
protected:
    // Starts the window on a notes file of one note, with recovery copies and versions kept
    // below `home`.
    TMainForm& Start(const QString& home) {
        path_ = home + QStringLiteral("/notes.qlb");
        if (!QFile::exists(path_)) WriteFile(path_, NotesBytes("on disk"));
        context_.user_data_folder = home + QStringLiteral("/data");
        return StartMainForm({path_});
    }
    void Type(const QString& text) { form_->VisiblePane()->setPlainText(text); }
    // Writes the recovery copy now and waits until it is written.
    void WriteRecoveryCopy() {
        RecoveryKeeper* keeper = form_->Recovery();
        ASSERT_NE(keeper, nullptr);
        QSignalSpy written(keeper, &RecoveryKeeper::Written);
        keeper->WriteSoon();
        ASSERT_TRUE(written.wait(5000));
        EXPECT_TRUE(written.front().front().toBool());
    }
    QString path_;
};

TEST_F(SafetyTest, TypingLeavesARecoveryCopyUntilTheDocumentIsSaved) {
    Start(Home());
    Type(QStringLiteral("typed, not saved"));
    WriteRecoveryCopy();
    const RecoveryStore& store = form_->Recovery()->Store();
    ASSERT_TRUE(store.HasCopy());
    NotesDocument copy;
    ASSERT_EQ(ReadNotesFile(store.CopyPath(), copy), ReadStatus::Ok);
    EXPECT_EQ(copy.TextOf(copy.tree.FirstTopLevel()), "typed, not saved\r\n");

    Trigger("FileMenuSave");
    EXPECT_FALSE(store.HasCopy());
    EXPECT_EQ(ReadFile(path_), NotesBytes("typed, not saved"));
}

// The child half of the next test: types, lets the copy be written, and is killed.
TEST_F(SafetyTest, ChildTypesAndIsKilled) {
    const QString home = qEnvironmentVariable(kChildHome);
    if (home.isEmpty()) GTEST_SKIP() << "runs only as the child of the test below";
    Start(home);
    Type(QStringLiteral("typed before the crash"));
    WriteRecoveryCopy();
    std::raise(SIGKILL);
}

TEST_F(SafetyTest, ChangesOfAKilledProgramAreOfferedAtTheNextStartAndRestored) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildHome), Home());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SafetyTest.ChildTypesAndIsKilled")});
    ASSERT_TRUE(child.waitForFinished(20000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardOutput().data();

    platform_.message_answers.push_back(MessageAnswer::Yes);
    Start(Home());
    ASSERT_FALSE(platform_.messages.empty());
    EXPECT_TRUE(platform_.messages.front().text.contains(path_))
        << platform_.messages.front().text.toStdString();
    NotesDocument& doc = form_->Document();
    EXPECT_EQ(doc.TextOf(doc.tree.FirstTopLevel()), "typed before the crash\r\n");
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(FromNative(doc.current_file_name), path_);
    EXPECT_EQ(ReadFile(path_), NotesBytes("on disk"));  // nothing saved unasked
}

TEST_F(SafetyTest, SavingOverAFileAnotherProgramChangedAsksFirst) {
    struct Case {
        MessageAnswer answer;
        bool overwritten;
        bool save_as_asked;
    };
    for (const Case& c :
         {Case{MessageAnswer::Yes, true, false}, Case{MessageAnswer::No, false, true},
          Case{MessageAnswer::Cancel, false, false}}) {
        QTemporaryDir home;
        platform_.messages.clear();
        platform_.save_requests.clear();
        Start(home.path());
        Type(QStringLiteral("mine"));
        WriteFile(path_, NotesBytes("theirs"));  // another copy saved meanwhile
        platform_.message_answers.push_back(c.answer);
        const QString other = home.path() + QStringLiteral("/other.qlb");
        platform_.save_answers.push_back(other);
        Trigger("FileMenuSave");
        ASSERT_EQ(platform_.messages.size(), 1U);
        EXPECT_EQ(ReadFile(path_), NotesBytes(c.overwritten ? "mine" : "theirs"));
        EXPECT_EQ(platform_.save_requests.size(), c.save_as_asked ? 1U : 0U);
        EXPECT_EQ(form_->Document().modified, c.answer == MessageAnswer::Cancel);
        platform_.save_answers.clear();
        platform_.message_answers.clear();
        form_->Document().modified = false;
        form_.reset();
    }
}

TEST_F(SafetyTest, ASaveKeepsTheFileItReplacesAsAPreviousVersion) {
    Start(Home());
    Type(QStringLiteral("second"));
    Trigger("FileMenuSave");
    const PreviousVersions versions(ToNative(Home() + QStringLiteral("/data/versions")), 10);
    const std::vector<std::string> kept = versions.Of(ToNative(path_));
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(ReadFile(FromNative(kept.front())), NotesBytes("on disk"));
}

}  // namespace
}  // namespace quillora::testing
