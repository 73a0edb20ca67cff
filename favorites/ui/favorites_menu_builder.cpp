#include "favorites/ui/favorites_menu_builder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "favorites/favorites_menu.h"
#include "favorites/ui/favorites_texts.h"
#include "gui/lang.h"
#include "gui/text_codec.h"

namespace quillora {

namespace {

constexpr int kFixedItems = 3;

void MakeFavoriteItem(QAction& item, const QString& title, const QString& path,
                      const OpenFavoriteHandler& open) {
    item.setText(EscapedCaption(title));
    item.setToolTip(path);
    item.setStatusTip(path);
    QObject::connect(&item, &QAction::triggered, &item, [open, path] { open(path); });
}

void AddEntries(QMenu& menu, const std::vector<favorites::MenuEntry>& entries,
                const OpenFavoriteHandler& open) {
    using Kind = favorites::MenuEntry::Kind;
    for (const favorites::MenuEntry& entry : entries) {
        const QString title = FromNative(entry.title);
        switch (entry.kind) {
            case Kind::Separator:
                menu.addSeparator();
                break;
            case Kind::Placeholder:
                menu.addAction(EscapedCaption(title))->setEnabled(false);
                break;
            case Kind::Folder: {
                auto* submenu = new QMenu(EscapedCaption(title), &menu);
                submenu->setToolTipsVisible(true);
                submenu->setSeparatorsCollapsible(false);
                AddEntries(*submenu, entry.entries, open);
                menu.addMenu(submenu);
                break;
            }
            case Kind::Favorite:
                MakeFavoriteItem(*menu.addAction(QString()), title, FromNative(entry.path), open);
                break;
        }
    }
}

void RemoveBuiltItems(QMenu& menu) {
    const QList<QAction*> items = menu.actions();
    for (qsizetype i = items.size() - 1; i >= kFixedItems; --i) {
        QAction* item = items[i];
        menu.removeAction(item);
        if (item->menu()) {
            delete item->menu();
        } else {
            delete item;
        }
    }
}

// The access keys of the other menus of the bar, in upper case.
std::u32string TakenAccessKeys(const QMenu& menu, const QMenuBar& bar) {
    std::u32string taken;
    for (const QAction* item : bar.actions()) {
        if (item == menu.menuAction()) continue;
        if (const char32_t key = favorites::AccessKeyOf(ToNative(item->text()))) taken += key;
    }
    return taken;
}

}  // namespace

void BuildFavoritesMenu(QMenu& menu, const QMenuBar& bar, QWidget* owner,
                        const OpenFavoriteHandler& open) {
    const favorites::Markers markers = LocalizedMarkers();
    RemoveBuiltItems(menu);
    const favorites::FavoritesContent content = favorites::OpenFavoritesForMenu(
        FavoritesFile(), ToNative(Lang(7250, "Favorites")), markers.placeholder);
    switch (content.status) {
        case favorites::FavoritesStatus::Ok:
            break;
        case favorites::FavoritesStatus::CannotCreate:
            ReportFavoritesProblem(owner, FavoritesProblem::CannotCreate);
            return;
        case favorites::FavoritesStatus::BadFormat:
            ReportFavoritesProblem(owner, FavoritesProblem::BadFormat);
            return;
        default:
            ReportFavoritesProblem(owner, FavoritesProblem::CannotOpen);
            return;
    }
    const QList<QAction*> fixed = menu.actions();
    menu.setTitle(FromNative(
        favorites::CaptionWithAccessKey(content.root_title, TakenAccessKeys(menu, bar))));
    const QString root = EscapedCaption(FromNative(content.root_title));
    if (fixed.size() >= 2) {
        fixed[0]->setText(FormatMessage(Lang(7251, "&Add to %s"), {root}));
        fixed[1]->setText(FormatMessage(Lang(7252, "&Edit %s..."), {root}));
    }
    menu.setToolTipsVisible(true);
    // Separators show where the file puts them, a folder's last line included.
    menu.setSeparatorsCollapsible(false);
    AddEntries(menu, favorites::MenuEntries(content.records, markers), open);
}

}  // namespace quillora
