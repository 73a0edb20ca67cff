#include "gui/qt_platform.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

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

std::optional<QFont> QtPlatform::ChooseFont(QWidget* parent, const QFont& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) return {};
    return font;
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

}  // namespace quillora
