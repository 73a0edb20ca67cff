#pragma once

#include <QString>

class QLineEdit;
class QWidget;

namespace quillora {

// Lets the user pick a folder with the platform's folder picker, titled `title` and opened on
// the folder typed in `edit` (its first 259 characters). A chosen folder's path replaces the
// edit's text; cancelling leaves it as it was.
void BrowseForFolder(QWidget* owner, const QString& title, QLineEdit* edit);

}  // namespace quillora
