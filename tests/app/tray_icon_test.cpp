#include "app/tray_icon.h"

#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include "tests/support/ui_fixture.h"

namespace quillora::testing {
namespace {

class TrayTest : public UiTest {
protected:
    TMainForm& StartInTrayMode(bool area) {
        platform_.tray_available = area;
        context_.tray_mode = true;
        TMainForm& form = StartMainForm();
        EXPECT_NE(form.Tray(), nullptr);
        return form;
    }
    TrayController& Tray() { return *form_->Tray(); }
    void Minimise() {
        form_->setWindowState(form_->windowState() | Qt::WindowMinimized);
        QCoreApplication::processEvents();
    }
};

TEST_F(TrayTest, MinimiseHidesToTheTrayAndAClickOrDoubleClickBringsItBackAsItWas) {
    TMainForm& form = StartInTrayMode(true);
    EXPECT_TRUE(Tray().Icon().isVisible());
    EXPECT_EQ(Tray().Icon().toolTip(), "Quillora");
    EXPECT_EQ(platform_.task_bar_entry, false);

    form.showMaximized();
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}) {
        Minimise();
        QTRY_VERIFY(!form.isVisible());
        // A right or middle click leaves the window in the tray.
        emit Tray().Icon().activated(QSystemTrayIcon::Context);
        emit Tray().Icon().activated(QSystemTrayIcon::MiddleClick);
        EXPECT_FALSE(form.isVisible());
        emit Tray().Icon().activated(reason);
        EXPECT_TRUE(form.isVisible()) << reason;
        EXPECT_TRUE(form.isMaximized()) << reason;
        EXPECT_FALSE(form.isMinimized()) << reason;
        EXPECT_EQ(platform_.task_bar_entry, false);
    }

    form.showNormal();
    Trigger("TrayPopupMenuMinimize");
    EXPECT_FALSE(form.isVisible());
    Trigger("TrayPopupMenuRestore");
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isMaximized());
}

// Without a notification area the window stays reachable: it minimises with its task-bar
// entry, and takes the tray only when an area appears; when the area goes, it comes back.
TEST_F(TrayTest, WithoutANotificationAreaTheWindowKeepsItsTaskBarEntry) {
    TMainForm& form = StartInTrayMode(false);
    EXPECT_FALSE(Tray().Icon().isVisible());
    EXPECT_NE(platform_.task_bar_entry, false);
    Minimise();
    QTest::qWait(10);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isMinimized());

    platform_.tray_available = true;
    Tray().TrayIconTimerTimer();
    EXPECT_TRUE(Tray().Icon().isVisible());
    EXPECT_EQ(platform_.task_bar_entry, false);
    EXPECT_FALSE(form.isVisible());  // a minimised window goes to the tray with its entry

    platform_.tray_available = false;
    Tray().TrayIconTimerTimer();
    EXPECT_EQ(platform_.task_bar_entry, true);
    EXPECT_TRUE(form.isVisible());
    Trigger("TrayPopupMenuMinimize");
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isMinimized());
}

TEST_F(TrayTest, TheTimerRunsOnlyInTrayMode) {
    TMainForm& plain = StartMainForm();
    EXPECT_EQ(plain.Tray(), nullptr);
    EXPECT_EQ(plain.findChild<QSystemTrayIcon*>(), nullptr);
    EXPECT_EQ(plain.findChild<QTimer*>("TrayIconTimer"), nullptr);
    form_.reset();

    StartInTrayMode(true);
    auto* timer = form_->findChild<QTimer*>("TrayIconTimer");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1500);
}

// Close shows the window before the save prompt, and the program ends exactly when the close
// is accepted.
TEST_F(TrayTest, CloseFromTheTrayAsksOverTheShownWindowAndEndsOnlyWhenAccepted) {
    TMainForm& form = StartInTrayMode(true);
    QSignalSpy closed(&form, &TMainForm::Closed);
    form.MarkModified();
    Minimise();
    QTRY_VERIFY(!form.isVisible());

    std::vector<bool> shown_while_asking;
    platform_.on_message = [&] { shown_while_asking.push_back(form.isVisible()); };
    platform_.message_answers = {MessageAnswer::Cancel};
    Trigger("TrayPopupMenuClose");
    EXPECT_EQ(shown_while_asking, std::vector<bool>{true});
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(form.isVisible());

    platform_.message_answers = {MessageAnswer::No};
    Trigger("TrayPopupMenuClose");
    EXPECT_EQ(closed.count(), 1);
}

}  // namespace
}  // namespace quillora::testing
