#pragma once

#include <QDialog>
#include <QImage>

#include "settings/color_text.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace quillora {

class PicturePanel;

// `TCustomImage`: the dialog that makes a custom node image in two steps. Step 1 names a bitmap
// file; step 2 shows its top-left 16 x 16 pixels, enlarged, and a click on one of them makes its
// colour the transparent one. The strip below the picture changes the background behind it, so
// the user can see the picture on dark and light backgrounds.
class TCustomImage final : public QDialog {
    Q_OBJECT
public:
    explicit TCustomImage(QWidget* parent);

    // What OK gives the chooser.
    QString FileName() const;
    bool TransparentColorChosen() const { return transparent_color_chosen_; }
    Color ChosenColor() const { return chosen_color_; }
    // The 16 x 16 picture, opaque.
    const QImage& Picture() const { return picture_; }

    // The dialog's handlers, as the user reaches them.
    void BrowseButtonClick();
    void NextButtonClick();
    void PreviousButtonClick();
    void ChooseAgainButtonClick();
    // A click on the picture at pixel (x, y) of the 16 x 16 image.
    void ImageMouseDown(int x, int y);
    void Panel3Click();

    // The background behind the picture.
    QColor BackgroundColor() const;

private:
    void BuildStep1();
    void BuildStep2();
    void BuildButtons();
    // Loads `path` into the picture; false (after a message naming the file) when it is no
    // readable bitmap, the picture then keeps what it had.
    bool LoadPicture(const QString& path);
    void ShowPicture();

    QStackedWidget* pages_ = nullptr;
    QGroupBox* group_box1_ = nullptr;
    QGroupBox* group_box2_ = nullptr;
    QLineEdit* file_edit_ = nullptr;
    QLabel* st4_ = nullptr;
    QLabel* st2_ = nullptr;
    QFrame* panel1_ = nullptr;
    QFrame* panel2_ = nullptr;
    PicturePanel* image_ = nullptr;
    QPushButton* panel3_ = nullptr;
    QPushButton* choose_again_button_ = nullptr;
    QPushButton* previous_button_ = nullptr;
    QPushButton* next_button_ = nullptr;
    QPushButton* prog_button_ = nullptr;

    QImage picture_;
    bool transparent_color_chosen_ = false;
    Color chosen_color_ = colors::kNone;
};

}  // namespace quillora
