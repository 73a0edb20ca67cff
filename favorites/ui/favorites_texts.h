#pragma once

#include <QString>
#include <string>

#include "favorites/favorites_file.h"

class QWidget;

namespace quillora {

// Where the favorites file lives: beside the settings file.
std::string FavoritesFile();

// The marker titles of the language pack in use (the English literals count as well).
favorites::Markers LocalizedMarkers();

// A title as a menu caption: "&" shows as itself instead of marking an access key.
QString EscapedCaption(const QString& title);

// The warning box of a favorites file problem: text 7754 (it cannot be opened), 7770 (it cannot
// be created or written) or 7769 (its format is wrong), naming the file by its bare name only.
enum class FavoritesProblem { CannotOpen, CannotCreate, BadFormat };
void ReportFavoritesProblem(QWidget* owner, FavoritesProblem problem);

// A notes file whose path does not fit a favourite's record: refused rather than cut.
void ReportPathTooLong(QWidget* owner, const QString& path);

}  // namespace quillora
