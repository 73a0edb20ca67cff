#include "app/startup.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QWindow>
#include <exception>
#include <memory>

#include "app/app_context.h"
#include "app/file_handover.h"
#include "app/guarded_application.h"
#include "app/instance_lock.h"
#include "app/main_form.h"
#include "app/splash_screen.h"
#include "app/startup_trace.h"
#include "base/command_line.h"
#include "gui/app_paths.h"
#include "gui/icons/app_icon.h"
#include "gui/immediate_access_keys.h"
#include "gui/lang.h"
#include "gui/qt_platform.h"
#include "gui/text_codec.h"
#include "help/ui/help_window.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace {
constexpr int kSplashBeforeMs = 800;
constexpr int kSplashAfterMs = 280;

constexpr int kExposeWaitMs = 500;

void Wait(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

// The window manager maps a new window in its own time, and what is painted before that is
// lost: the splash screen is painted once it is on screen (or after a short bound).
void ShowOnScreen(QWidget& window) {
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
           waited.elapsed() < kExposeWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        Wait(5);
    }
    window.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The notes file the command line names, absolute against this start's working folder (the
// running copy that is handed it has another), or empty.
QString CommandLineFile(const QStringList& arguments) {
    std::vector<std::string> native;
    native.reserve(static_cast<size_t>(arguments.size()));
    for (const QString& argument : arguments) native.push_back(ToNative(argument));
    const std::string file = ParseCommandLine(native).file;
    return file.empty() ? QString() : QFileInfo(FromNative(file)).absoluteFilePath();
}

// The splash screen, on screen and held for its first moment, when the settings ask for it.
std::unique_ptr<TSplashScreen> ShowSplashIfAsked(const ProfileFile& ini) {
    if (!ReadFlag(ini, settings_keys::kShowSplash)) return nullptr;
    auto splash = std::make_unique<TSplashScreen>();
    ShowOnScreen(*splash);
    Wait(kSplashBeforeMs);
    splash->repaint();
    return splash;
}

// The splash screen's last moment once the main window is made.
void CloseSplash(std::unique_ptr<TSplashScreen> splash) {
    if (!splash) return;
    splash->repaint();
    Wait(kSplashAfterMs);
}

// The program's name, desktop identity and icon, set before its first window.
void SetApplicationIdentity() {
    QApplication::setApplicationName(AppTitle());
    // No display name: on X11 Qt would append it to every window's title. The desktop matches
    // the windows to the menu entry (applications/Quillora/Quillora.desktop).
    QGuiApplication::setDesktopFileName(QStringLiteral("Quillora-Quillora"));
    QApplication::setWindowIcon(ApplicationIcon());
}
}  // namespace

// NOLINTNEXTLINE(readability-function-size): the start-up steps in their order, one after another
int RunQuillora(int argc, char** argv) {
    // Qt needs its application object before any window or path lookup, so it comes first;
    // its title is set where start-up sets it.
    GuardedApplication app(argc, argv);
    InstallImmediateAccessKeys();
    InstallStartupTraceIfAsked();
    InstallHelpViewer(&HelpWindowViewer());
    AppContext context;
    context.arguments = QCoreApplication::arguments().mid(1);
    context.user_data_folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    context.settings_file = std::make_unique<ProfileFile>(ToNative(SettingsFilePath()));
    ProfileFile& ini = *context.settings_file;

    InstanceLock lock(QStringLiteral("QuilloraApp"));
    if (!ReadFlag(ini, settings_keys::kMultipleCopies) && lock.AlreadyExisted()) {
        HandOverToRunningCopy(CommandLineFile(context.arguments));
        return 0;
    }

    context.tray_mode = ReadFlag(ini, settings_keys::kUseTrayIcon);
    context.language_pack_name = LoadLanguagePack(ini);

    std::unique_ptr<TMainForm> main_form;
    std::unique_ptr<FileHandoverServer> handover;
    try {
        std::unique_ptr<TSplashScreen> splash = ShowSplashIfAsked(ini);
        SetApplicationIdentity();
        main_form = std::make_unique<TMainForm>(context);
        // The program ends exactly when the main window's close is accepted: not when another
        // window closes while the main window is hidden in the tray, and not later because a
        // hidden window keeps the run alive.
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(main_form.get(), &TMainForm::Closed, &app, &QCoreApplication::quit);
        if (!lock.AlreadyExisted()) {
            handover = std::make_unique<FileHandoverServer>();
            QObject::connect(handover.get(), &FileHandoverServer::Requested, main_form.get(),
                             &TMainForm::OpenHandedOverFile);
        }
        CloseSplash(std::move(splash));
    } catch (const std::exception& e) {
        ReportException(e.what());
        main_form.reset();
    } catch (...) {
        ReportException("Unknown error.");
        main_form.reset();
    }
    if (main_form) {
        main_form->show();
        QApplication::exec();
        handover.reset();
        main_form.reset();
    }
    lock.Release();
    return 0;
}

}  // namespace quillora
