#include "settings/ui/settings_dialog.h"

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "gui/dialog_frame.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "settings/profile_file.h"
#include "settings/ui/editors_page.h"
#include "settings/ui/folders_page.h"
#include "settings/ui/language_page.h"
#include "settings/ui/miscellaneous_page.h"
#include "settings/ui/notes_list_page.h"
#include "settings/ui/settings_page.h"

namespace quillora {

namespace {
constexpr int kClientWidth = 369;
constexpr int kClientHeight = 350;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = kClientHeight - kButtonHeight - 8;
constexpr int kButtonGap = 6;
// The width of the tab widget less the width of a page inside it.
constexpr int kPageInset = 8;
}  // namespace

TSettings::TSettings(const SettingsDialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TSettings"));
    setWindowTitle(Lang(11000, "Settings"));
    SetUpFixedDialogWindow(*this, kClientWidth, kClientHeight);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl"));
    pages_->setGeometry(8, 8, kClientWidth - 16, kButtonTop - 16);
    notes_list_ = new NotesListPage(context_, pages_);
    editors_ = new EditorsPage(context_, pages_);
    folders_ = new FoldersPage(*context_.settings, pages_);
    miscellaneous_ = new MiscellaneousPage(*context_.settings, pages_);
    language_ = new LanguagePage(context_.program_folder, context_.pack_in_use, pages_);
    pages_->addTab(notes_list_, Lang(11050, "Notes List"));
    pages_->addTab(editors_, Lang(11100, "Editors"));
    pages_->addTab(folders_, Lang(11150, "Folders"));
    pages_->addTab(miscellaneous_, Lang(11200, "Miscellaneous"));
    pages_->addTab(language_, Lang(11250, "Language"));

    const auto button = [this](const char* name, const QString& caption, int index) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(kClientWidth - 8 - (3 - index) * (kButtonWidth + 6) + 6, kButtonTop,
                       kButtonWidth, kButtonHeight);
        return b;
    };
    QPushButton* ok = button("OKButton", Lang(500, "OK"), 0);
    ok->setDefault(true);
    QPushButton* cancel = button("CancelButton", Lang(501, "Cancel"), 1);
    QPushButton* help = button("HelpButton", Lang(502, "&Help"), 2);
    connect(ok, &QPushButton::clicked, this, &TSettings::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &TSettings::HelpButtonClick);
    FitToCaptions({ok, cancel, help});
    CenterOnScreen(*this);
}

TSettings::~TSettings() = default;

void TSettings::FitToCaptions(const std::array<QPushButton*, 3>& buttons) {
    // The pages' content and the tab row decide the width; the window grows, never shrinks.
    const int page_width = pages_->width() - kPageInset;
    int needed = pages_->tabBar()->sizeHint().width() - pages_->width() + page_width;
    int buttons_width = 0;
    for (QPushButton* b : buttons) {
        b->resize(std::max(kButtonWidth, b->sizeHint().width()), kButtonHeight);
        buttons_width += b->width() + kButtonGap;
    }
    needed = std::max(needed, buttons_width - kButtonGap - kPageInset);
    for (int i = 0; i < pages_->count(); ++i) {
        if (auto* page = qobject_cast<SettingsPage*>(pages_->widget(i))) {
            needed = std::max(needed, page->FitToCaptions());
        }
    }
    const int extra = std::max(0, needed - page_width);
    setFixedSize(width() + extra, height());
    pages_->resize(pages_->width() + extra, pages_->height());
    for (int i = 0; i < pages_->count(); ++i) {
        if (auto* page = qobject_cast<SettingsPage*>(pages_->widget(i))) {
            page->SetPageWidth(page_width + extra);
        }
    }
    int right = width() - kDialogMargin;
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
        (*it)->move(right - (*it)->width(), kButtonTop);
        right -= (*it)->width() + kButtonGap;
    }
}

NodeImages TSettings::ChosenNodeImages() const {
    return notes_list_->ChosenImages();
}

bool TSettings::WriteSettings() {
    return context_.settings->WriteAll([this](ProfileBatch& batch) {
        editors_->Write(batch);
        notes_list_->Write(batch);
        miscellaneous_->Write(batch);
        folders_->Write(batch);
        language_->Write(batch);
    });
}

QString TSettings::RestartNotice() const {
    QString notice;
    const bool tray = miscellaneous_->UseTrayIcon();
    if (tray && !context_.tray_mode) {
        notice = Lang(11300, "Restart Quillora so the Tray Icon can be loaded.");
    } else if (!tray && context_.tray_mode) {
        notice = Lang(11301, "Restart Quillora so the Tray Icon can be removed.");
    }
    if (language_->PackChanged()) {
        if (!notice.isEmpty()) notice += QStringLiteral("\n\n");
        notice += Lang(11305, "Restart Quillora so the Language Pack can be loaded.");
    }
    return notice;
}

void TSettings::OKButtonClick() {
    if (!WriteSettings()) {
        // The dialog stays open with what the user set, so nothing is lost unseen.
        Platform::Instance().ShowMessage(
            this,
            FormatMessage(Lang(11306, "The settings could not be written to %s."),
                          {QString::fromStdString(context_.settings->Path())}),
            AppTitle(), MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    const QString notice = RestartNotice();
    if (!notice.isEmpty()) {
        Platform::Instance().ShowMessage(this, notice, AppTitle(), MessageIcon::Information,
                                         MessageButtons::Ok);
    }
    accept();
}

void TSettings::HelpButtonClick() {
    const auto* page = qobject_cast<const SettingsPage*>(pages_->currentWidget());
    if (page) Platform::Instance().ShowHelpTopic(page->HelpTopic());
}

}  // namespace quillora
