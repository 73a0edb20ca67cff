#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/instance_lock.h"
#include "base/command_line.h"
#include "gui/lang.h"
#include "gui/text_codec.h"
#include "settings/recent_files.h"

namespace quillora {
namespace {

TEST(CommandLine, SwitchesJoiningAndTrimming) {
    struct Case {
        std::vector<std::string> args;
        bool maximize;
        std::string file;
    };
    const std::vector<Case> cases = {
        {{}, false, ""},
        {{"/max"}, true, ""},
        {{"/MAX"}, false, ""},  // exact comparison; still a switch, not a file
        {{"/max", "/home/ann/My", "Notes.qlb"}, true, "/home/ann/My Notes.qlb"},
        {{"/home/ann/a.qlb"}, false, "/home/ann/a.qlb"},  // a path, not a switch
        {{"", " a.qlb ", "/x"}, false, "a.qlb"},
        {{"one", "", "two"}, false, "one two"},
    };
    for (const Case& c : cases) {
        const CommandLine parsed = ParseCommandLine(c.args);
        EXPECT_EQ(parsed.maximize, c.maximize);
        EXPECT_EQ(parsed.file, c.file);
    }
}

TEST(InstanceLock, ASecondHolderSeesTheFirstAndTheLockGoesWithIt) {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    {
        InstanceLock first("QuilloraAppTest");
        EXPECT_FALSE(first.AlreadyExisted());
        InstanceLock second("QuilloraAppTest");
        EXPECT_TRUE(second.AlreadyExisted());
        {
            InstanceLock third("QuilloraAppTest");  // copies side by side all see the others
            EXPECT_TRUE(third.AlreadyExisted());
        }
        first.Release();
        InstanceLock fourth("QuilloraAppTest");  // the second copy still runs
        EXPECT_TRUE(fourth.AlreadyExisted());
    }
    InstanceLock fresh("QuilloraAppTest");
    EXPECT_FALSE(fresh.AlreadyExisted());
}

TEST(RecentFiles, NewestFirstNoReorderingAndTenAtMost) {
    QTemporaryDir dir;
    ProfileFile ini(ToNative(dir.filePath("Quillora.ini")));
    RecordRecentFile(ini, "A");
    RecordRecentFile(ini, "B");
    RecordRecentFile(ini, "A");  // already listed: the order stays
    EXPECT_EQ(RecentFiles(ini)[0], "B");
    EXPECT_EQ(RecentFiles(ini)[1], "A");
    for (int i = 0; i < 11; ++i) RecordRecentFile(ini, "f" + std::to_string(i));
    const auto files = RecentFiles(ini);
    EXPECT_EQ(files[0], "f10");
    EXPECT_EQ(files[9], "f1");
    ClearRecentFiles(ini);
    EXPECT_EQ(RecentFiles(ini)[0], "");
    ini.WriteString("Main", "HideReOpen", "1");
    RecordRecentFile(ini, "hidden");
    EXPECT_EQ(RecentFiles(ini)[0], "");
}

TEST(TextCodec, Windows1252RoundTripsAndUnrepresentableBecomesQuestionMark) {
    const std::string all_bytes = [] {
        std::string s;
        for (int b = 1; b < 256; ++b) s += static_cast<char>(b);
        return s;
    }();
    EXPECT_EQ(ToAnsi(FromAnsi(all_bytes)), all_bytes);
    EXPECT_EQ(FromAnsi("\x80"), QString(QChar(0x20AC)));  // euro sign
    EXPECT_EQ(ToAnsi(QString::fromUtf8("\xE2\x82\xAC \xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80")),
              "\x80 \xE9 ? ?");
}

TEST(TextCodec, PaneAndStoreFormsConvertWithoutLoss) {
    EXPECT_EQ(StoreTextToPane("a\r\n\r\nb\r\n"), "a\n\nb\n");
    EXPECT_EQ(StoreTextToPane(""), "");
    EXPECT_EQ(PaneTextToStore("x\ny"), "x\ny");
}

TEST(FormatMessage, FillsSuccessivePlaceholders) {
    EXPECT_EQ(FormatMessage("Unable to open \"%s\".", {"/a b"}), "Unable to open \"/a b\".");
    EXPECT_EQ(FormatMessage("%s-%s", {"1", "2"}), "1-2");
    EXPECT_EQ(FormatMessage("%s %s", {"1"}), "1 ");
    EXPECT_EQ(FormatMessage("100% sure", {}), "100% sure");
}

}  // namespace
}  // namespace quillora
