#include "exchange/ui/export_form.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

#include "document/notes_document.h"
#include "gui/browse_for_folder.h"
#include "gui/context_help.h"
#include "gui/dialog_frame.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "gui/text_codec.h"

namespace quillora {

namespace {
constexpr int kClientWidth = 330;
constexpr int kClientHeight = 109;
constexpr int kGroupWidth = 225;
constexpr int kGroupHeight = 97;
constexpr int kButtonsLeft = 241;
constexpr int kHelpTopic = 24;
constexpr int kFolderHelp = 36;
constexpr int kOverwriteHelp = 37;
constexpr int kBrowseHelp = 35;
// Progress is repainted at most this often, so that thousands of files are not slowed down by
// as many repaints.
constexpr qint64 kPaintIntervalMs = 30;

// A group box's caption: the text with one blank on each side.
QString GroupCaption() {
    return QStringLiteral(" %1 ").arg(Lang(3001, "Export"));
}
}  // namespace

TExport::TExport(NotesDocument& doc, std::function<void()> store_current_text, QWidget* parent)
    : QDialog(parent), doc_(doc), store_current_text_(std::move(store_current_text)) {
    setObjectName(QStringLiteral("Export"));
    setWindowTitle(Lang(3000, "Export All"));
    SetUpFixedDialogWindow(*this, kClientWidth, kClientHeight);
    BuildInputGroup();
    BuildProgressGroup();
    BuildButtons();
    dir_edit_->setFocus();
}

void TExport::BuildInputGroup() {
    group_box1_ = new QGroupBox(GroupCaption(), this);
    group_box1_->setObjectName(QStringLiteral("GroupBox1"));
    group_box1_->setGeometry(kDialogMargin, 4, kGroupWidth, kGroupHeight);
    auto* label = new QLabel(Lang(3002, "&Folder:"), group_box1_);
    label->setObjectName(QStringLiteral("StaticText1"));
    label->setGeometry(10, 18, 120, 16);
    dir_edit_ = new QLineEdit(group_box1_);
    dir_edit_->setObjectName(QStringLiteral("DirEdit"));
    dir_edit_->setGeometry(10, 36, 180, 21);
    label->setBuddy(dir_edit_);
    auto* browse = new QPushButton(QStringLiteral("..."), group_box1_);
    browse->setObjectName(QStringLiteral("BrowseButton"));
    browse->setGeometry(194, 36, 21, 21);
    browse->setAutoDefault(false);
    overwrite_check_box_ = new QCheckBox(Lang(3003, "&Overwrite Files"), group_box1_);
    overwrite_check_box_->setObjectName(QStringLiteral("OverwriteCheckBox"));
    overwrite_check_box_->setGeometry(10, 68, 200, 18);
    SetHelpContext(label, kFolderHelp);
    SetHelpContext(dir_edit_, kFolderHelp);
    SetHelpContext(browse, kBrowseHelp);
    SetHelpContext(overwrite_check_box_, kOverwriteHelp);
    connect(browse, &QPushButton::clicked, this, &TExport::BrowseButtonClick);
}

void TExport::BuildProgressGroup() {
    group_box2_ = new QGroupBox(GroupCaption(), this);
    group_box2_->setObjectName(QStringLiteral("GroupBox2"));
    group_box2_->setGeometry(group_box1_->geometry());
    prog_label_ = new QLabel(group_box2_);
    prog_label_->setObjectName(QStringLiteral("ProgLabel"));
    prog_label_->setGeometry(10, 26, kGroupWidth - 20, 16);
    progress_bar_ = new QProgressBar(group_box2_);
    progress_bar_->setObjectName(QStringLiteral("ProgressBar"));
    progress_bar_->setGeometry(10, 52, kGroupWidth - 20, 18);
    progress_bar_->setTextVisible(false);
    progress_bar_->setValue(0);
    group_box2_->hide();
}

void TExport::BuildButtons() {
    const auto button = [this](const char* name, const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(kButtonsLeft, top, 81, 25);
        return b;
    };
    export_button_ = button("ExportButton", Lang(3004, "&Export"), 10);
    close_button_ = button("CloseButton", Lang(3005, "Close"), 40);
    help_button_ = button("HelpButton", Lang(502, "Help"), 70);
    export_button_->setDefault(true);
    // Escape closes the dialog as Close does (QDialog's reject).
    connect(export_button_, &QPushButton::clicked, this, &TExport::ExportButtonClick);
    connect(close_button_, &QPushButton::clicked, this, &QDialog::reject);
    connect(help_button_, &QPushButton::clicked, this, &TExport::HelpButtonClick);
}

void TExport::BrowseButtonClick() {
    BrowseForFolder(this, Lang(3013, "Export Files to this Folder:"), dir_edit_);
}

void TExport::HelpButtonClick() {
    Platform::Instance().ShowHelpTopic(kHelpTopic);
}

void TExport::Warn(const QString& text) {
    Platform::Instance().ShowMessage(this, text, AppTitle(), MessageIcon::Warning,
                                     MessageButtons::Ok);
}

void TExport::ShowProgress(const QString& text, bool now) {
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    if (!now && ms - last_paint_ms_ < kPaintIntervalMs) return;
    last_paint_ms_ = ms;
    prog_label_->setText(text);
    repaint();
}

ExportAllCallbacks TExport::Callbacks() {
    ExportAllCallbacks callbacks;
    callbacks.naming = [this, naming = Lang(3006, "Creating File Names...")](int index) {
        progress_bar_->setValue(index + 1);
        ShowProgress(naming, index == 0);
    };
    callbacks.writing = [this, exporting = Lang(3007, "Exporting")](int index, NodeId node) {
        if (index == 0) progress_bar_->setValue(0);
        current_ =
            exporting + QLatin1Char(' ') + FromAnsi(doc_.tree.Title(node)) + QStringLiteral("...");
        ShowProgress(current_, index == 0);
    };
    callbacks.handled = [this](int index) { progress_bar_->setValue(index + 1); };
    callbacks.ask_overwrite = [this](const std::string& path) {
        ShowProgress(current_, true);
        const MessageAnswer answer = Platform::Instance().ShowMessage(
            this,
            FormatMessage(Lang(3008, "The file \"%s\" already exists. Overwrite it?"),
                          {FromNative(path)}),
            AppTitle(), MessageIcon::Warning, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Yes) return OverwriteAnswer::Yes;
        if (answer == MessageAnswer::No) return OverwriteAnswer::No;
        return OverwriteAnswer::Cancel;
    };
    return callbacks;
}

void TExport::ExportButtonClick() {
    QString folder = dir_edit_->text();
    if (folder.isEmpty()) {
        Warn(Lang(3010, "Please choose a Folder."));
        return;
    }
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    if (!QFileInfo(folder).isDir()) {
        Warn(FormatMessage(Lang(3011, "The folder \"%s\" does not exist."), {folder}));
        return;
    }
    if (store_current_text_) store_current_text_();
    progress_bar_->setMaximum(std::max(doc_.tree.Count(), 1));
    progress_bar_->setValue(0);
    export_button_->setEnabled(false);
    group_box1_->hide();
    group_box2_->show();

    const ExportAllResult result =
        ExportAll(doc_, ToNative(folder), overwrite_check_box_->isChecked(), Callbacks(), faults_);
    if (result.end == ExportEnd::WriteFailed) {
        ShowProgress(current_, true);
        Warn(
            FormatMessage(Lang(3014, "Unable to write \"%s\"."), {FromNative(result.failed_path)}));
    }
    ShowProgress(result.end == ExportEnd::Finished ? Lang(3012, "Files Successfully Exported")
                                                   : Lang(3009, "Export Aborted!"),
                 true);
}

void TExport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) CenterOnScreen(*this);
}

}  // namespace quillora
