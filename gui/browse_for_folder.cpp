#include "gui/browse_for_folder.h"

#include <QLineEdit>

#include "gui/platform.h"

namespace quillora {

namespace {
constexpr int kMaxFolderLength = 259;
}  // namespace

void BrowseForFolder(QWidget* owner, const QString& title, QLineEdit* edit) {
    const QString start = edit->text().left(kMaxFolderLength);
    const std::optional<QString> chosen =
        Platform::Instance().GetExistingFolder(owner, title, start);
    if (chosen && !chosen->isEmpty()) edit->setText(*chosen);
}

}  // namespace quillora
