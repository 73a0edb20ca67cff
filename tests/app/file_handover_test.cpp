#include "app/file_handover.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>

#include "app/instance_lock.h"
#include "document/notes_file.h"
#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

// A runtime folder of the test's own, so that no copy of the program running on this machine
// answers in its place.
class FileHandoverTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    }

    // Starts the real program as a second copy in `folder` and waits for it to end.
    void StartSecondCopy(const QString& folder, const QStringList& arguments) {
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        second.setProcessEnvironment(env);
        second.setWorkingDirectory(folder);
        second.start(QStringLiteral(QUILLORA_PROGRAM), arguments);
        ASSERT_TRUE(second.waitForFinished(20000));
        EXPECT_EQ(second.exitCode(), 0);
    }

    QTemporaryDir runtime_;
};

TEST_F(FileHandoverTest, ASecondStartHandsItsFileOrItsWishToComeToTheFront) {
    InstanceLock running(QStringLiteral("QuilloraApp"));
    FileHandoverServer server;
    ASSERT_TRUE(server.Listening());
    QSignalSpy requested(&server, &FileHandoverServer::Requested);
    ASSERT_TRUE(QDir(Home()).mkpath(QStringLiteral("sub")));

    // A relative path is made absolute against the second start's working folder.
    StartSecondCopy(HomeFile(QStringLiteral("sub")), {QStringLiteral("My Notes.qlb")});
    ASSERT_TRUE(requested.wait(5000));
    EXPECT_EQ(requested.takeFirst().front().toString(),
              HomeFile(QStringLiteral("sub/My Notes.qlb")));

    StartSecondCopy(Home(), {});
    ASSERT_TRUE(requested.wait(5000));
    EXPECT_EQ(requested.takeFirst().front().toString(), QString());
}

TEST_F(FileHandoverTest, ASocketLeftByAKilledCopyNeitherHoldsASecondStartNorBlocksTheNextCopy) {
    WriteFile(HandoverSocketPath(), QByteArray());
    QElapsedTimer took;
    took.start();
    EXPECT_FALSE(HandOverToRunningCopy(QStringLiteral("/a.qlb")));
    EXPECT_LT(took.elapsed(), 100);

    FileHandoverServer next;
    EXPECT_TRUE(next.Listening());
}

TEST_F(FileHandoverTest, TheRunningWindowAsksAboutItsChangesThenOpensTheHandedFile) {
    NotesDocument other;
    AddNode(other, kNoNode, "Handed", kNote, "over");
    const QString path = HomeFile(QStringLiteral("other.qlb"));
    const std::string bytes = NotesFileBytes(other);
    WriteFile(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    StartMainForm();
    Trigger("NotesMenuNewNote");
    ASSERT_TRUE(form_->Document().modified);

    platform_.message_answers.push_back(MessageAnswer::No);
    form_->OpenHandedOverFile(path);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(FromNative(form_->Document().current_file_name), path);
    EXPECT_EQ(form_->Document().tree.Title(form_->Document().tree.FirstTopLevel()), "Handed");
}

}  // namespace
}  // namespace quillora::testing
