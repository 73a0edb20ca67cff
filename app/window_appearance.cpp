#include "app/window_appearance.h"

#include <QEvent>
#include <QToolBar>
#include <QToolButton>

#include "app/main_form.h"
#include "app/main_menu.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_pane.h"
#include "document/ui/note_panes.h"
#include "gui/appearance.h"
#include "gui/icons/user_bitmap.h"
#include "gui/text_codec.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace keys = settings_keys;

WindowAppearance::WindowAppearance(TMainForm& form) : QObject(&form), form_(form) {
    form_.installEventFilter(this);
}

void WindowAppearance::ApplyFlatButtons() {
    auto* bar = form_.findChild<QToolBar*>(QStringLiteral("ToolBar"));
    if (!bar) return;
    const bool flat = ReadFlag(form_.SettingsFile(), keys::kFlatToolBarButtons);
    for (QToolButton* button : bar->findChildren<QToolButton*>()) button->setAutoRaise(flat);
}

void WindowAppearance::ApplyEditorSettings() {
    const ProfileFile& ini = form_.SettingsFile();
    NotePanes& panes = form_.Panes();
    // Nothing of this is an edit of the user's.
    const NotePanes::QuietChanges quiet(panes);
    const bool wrap = ReadFlag(ini, keys::kWordWrap);
    form_.Actions().SetChecked("EditMenuWordWrap", wrap);
    panes.Memo()->SetWordWrap(wrap);
    panes.FolderMemo()->SetWordWrap(wrap);
    ApplyPaneLooks();
}

void WindowAppearance::ApplyPaneLooks() {
    const ProfileFile& ini = form_.SettingsFile();
    NotePanes& panes = form_.Panes();
    const NotePanes::QuietChanges quiet(panes);
    ApplyAppearance(*panes.Memo(), ReadAppearance(ini, keys::kNotesEditorAppearance));
    ApplyAppearance(*panes.FolderMemo(), ReadAppearance(ini, keys::kFolderEditorAppearance));
}

void WindowAppearance::ApplyNotesListSettings() {
    const ProfileFile& ini = form_.SettingsFile();
    TMyTreeView* tree = form_.Tree();
    ApplyTreeLook();
    tree->SetLinesShown(ReadFlag(ini, keys::kLines));
    tree->SetButtonsShown(ReadFlag(ini, keys::kButtons));
    tree->viewport()->update();
    if (auto* bar = form_.findChild<QToolBar*>(QStringLiteral("ToolBar"))) {
        RefreshNodeGlyphs(*bar, form_.Images(), form_.Document().images);
    }
}

void WindowAppearance::ApplyTreeLook() {
    ApplyAppearance(*form_.Tree(),
                    ReadAppearance(form_.SettingsFile(), keys::kNotesListAppearance));
}

void WindowAppearance::LoadCustomImages() {
    const ProfileFile& ini = form_.SettingsFile();
    for (int n = 1; n <= keys::kCustomImageCount; ++n) {
        const QString path = FromNative(ReadText(ini, keys::CustomImageFile(n)));
        if (path.isEmpty()) continue;
        const UserBitmap bitmap = ReadUserBitmap(path);
        if (bitmap.status != UserBitmapStatus::kOk) continue;
        const QColor transparent = ToQColor(ReadColor(ini, keys::CustomImageColor(n)));
        form_.Images().SetCustomNodeImage(n - 1, MakeCustomNodeImage(bitmap.image, transparent));
    }
    form_.Tree()->viewport()->update();
}

bool WindowAppearance::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && (event->type() == QEvent::ApplicationPaletteChange ||
                              event->type() == QEvent::PaletteChange)) {
        // Only the colours: the word wrap may have been changed since the settings were read.
        ApplyPaneLooks();
        ApplyTreeLook();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quillora
