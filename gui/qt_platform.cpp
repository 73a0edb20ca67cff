#include "gui/qt_platform.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWidget>

#include "gui/font_color_dialog.h"

#ifdef QUILLORA_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>
#endif

namespace quillora {

namespace {

Platform* g_installed = nullptr;
HelpViewer* g_help_viewer = nullptr;

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

void Prepare(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.title.isEmpty()) dialog.setWindowTitle(request.title);
    dialog.setNameFilters(QtNameFilters(request.filter));
    dialog.setDefaultSuffix(request.default_extension);
    if (!request.initial_folder.isEmpty()) dialog.setDirectory(request.initial_folder);
    if (!request.preset_name.isEmpty()) dialog.selectFile(request.preset_name);
}

}  // namespace

Platform& Platform::Instance() {
    static QtPlatform production;
    return g_installed ? *g_installed : production;
}

void Platform::Install(Platform* platform) {
    g_installed = platform;
}

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    static const QRegularExpression trailing_patterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(trailing_patterns);
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns);
    }
    return out;
}

MessageAnswer QtPlatform::ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                      MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(ToQt(icon), caption, text, ToQt(buttons), parent);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            return buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel
                                                          : MessageAnswer::Ok;
    }
}

QStringList QtPlatform::GetOpenFileNames(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent);
    Prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

std::optional<QString> QtPlatform::GetSaveFileName(QWidget* parent,
                                                   const FileDialogRequest& request) {
    QFileDialog dialog(parent);
    Prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirm_replace);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

std::optional<QString> QtPlatform::GetExistingFolder(QWidget* parent, const QString& title,
                                                     const QString& start_folder) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, title, start_folder, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty()) return {};
    return folder;
}

std::optional<FontChoice> QtPlatform::ChooseFont(QWidget* parent, const QFont& initial,
                                                 const QColor& initial_color) {
    return ShowFontColorDialog(parent, initial, initial_color);
}

std::optional<QColor> QtPlatform::ChooseColor(QWidget* parent, const QColor& initial,
                                              QColor (&custom_colors)[16]) {
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, custom_colors[i]);
    const QColor color = QColorDialog::getColor(initial, parent);
    for (int i = 0; i < 16; ++i) custom_colors[i] = QColorDialog::customColor(i);
    if (!color.isValid()) return {};
    return color;
}

bool QtPlatform::OpenWithDesktop(const QString& path_or_address) {
    const QUrl url = QFileInfo::exists(path_or_address) ? QUrl::fromLocalFile(path_or_address)
                                                        : QUrl(path_or_address);
    return QDesktopServices::openUrl(url);
}

void InstallHelpViewer(HelpViewer* viewer) {
    g_help_viewer = viewer;
}

void QtPlatform::ShowHelpContents() {
    if (g_help_viewer) g_help_viewer->ShowContents();
}

void QtPlatform::ShowHelpTopic(int topic) {
    if (g_help_viewer) g_help_viewer->ShowTopic(topic);
}

void QtPlatform::ShowHelpPopup(int topic, const QPoint& global_position) {
    if (g_help_viewer) g_help_viewer->ShowPopup(topic, global_position);
}

bool QtPlatform::IsSystemTrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

#ifdef QUILLORA_HAVE_XCB
namespace {

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The window's own list of states with `state` added or taken away; the window manager reads
// it when the window is next mapped.
void WriteStateProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t states,
                        xcb_atom_t state, bool add) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, states, XCB_ATOM_ATOM, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::vector<xcb_atom_t> list;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        list.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    std::erase(list, state);
    if (add) list.push_back(state);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, states, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(list.size()), list.data());
}

// Asks the window manager to change the state of a mapped window.
void SendStateMessage(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t states,
                      xcb_atom_t state, bool add) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = states;
    event.data.data32[0] = add ? 1 : 0;  // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
    event.data.data32[1] = state;
    event.data.data32[3] = 1;  // from an ordinary application
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

}  // namespace
#endif

// On X11 the entry is the window's "skip task bar" state; elsewhere windows keep their entry.
void QtPlatform::SetTaskBarEntry(QWidget& window, bool shown) {
#ifdef QUILLORA_HAVE_XCB
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window.isWindow()) return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t states = InternAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = InternAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (states == XCB_ATOM_NONE || skip == XCB_ATOM_NONE) return;
    WriteStateProperty(connection, id, states, skip, !shown);
    if (window.isVisible()) SendStateMessage(connection, id, states, skip, !shown);
    xcb_flush(connection);
#else
    (void)window;
    (void)shown;
#endif
}

}  // namespace quillora
