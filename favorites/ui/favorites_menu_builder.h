#pragma once

#include <QString>
#include <functional>

class QMenu;
class QMenuBar;
class QWidget;

namespace quillora {

// Opens the notes file of a chosen favourite.
using OpenFavoriteHandler = std::function<void(const QString& path)>;

// `BuildFavoritesMenu`: fills `menu` from the favorites file after its three fixed items (Add,
// Edit and a separator), which it keeps: favourites as items that carry their path as hint,
// folders as submenus, separators as lines and placeholders as disabled items. The menu's caption
// and those of Add and Edit follow the root title; the caption's access key is one that no other
// menu of `bar` uses. A file that cannot be read or created, or has the wrong format, is
// reported (owned by `owner`) and leaves only the fixed items with their captions as they were.
// A missing file is created with the default content first.
void BuildFavoritesMenu(QMenu& menu, const QMenuBar& bar, QWidget* owner,
                        const OpenFavoriteHandler& open);

}  // namespace quillora
