#pragma once

#include <QDialog>

#include "gui/platform.h"

class QLineEdit;

namespace quillora {

// `TFavProperties`: a favourite's title and notes file. Browse picks the file with the main
// window's open dialog, titled "Choose Favorite" for the occasion.
class TFavProperties : public QDialog {
    Q_OBJECT
public:
    TFavProperties(const QString& title, const QString& file_name, FileDialogRequest open_dialog,
                   QWidget* parent);

    QLineEdit* TitleEdit() const { return title_edit_; }
    QLineEdit* FileEdit() const { return file_edit_; }

    void BrowseButtonClick();
    void HelpButtonClick();

private:
    void BuildFields();
    void BuildButtons();

    FileDialogRequest open_dialog_;
    QLineEdit* title_edit_ = nullptr;
    QLineEdit* file_edit_ = nullptr;
};

}  // namespace quillora
