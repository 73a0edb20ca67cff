#include "settings/ui/custom_image.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <array>
#include <functional>

#include "gui/app_paths.h"
#include "gui/dialog_frame.h"
#include "gui/icons/image_list.h"
#include "gui/icons/user_bitmap.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "gui/translate.h"

namespace quillora {

namespace {
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 216;
constexpr int kZoom = 4;  // the picture is shown four times enlarged
constexpr int kPictureSide = kNodeImageSize * kZoom;

// The backgrounds the strip below the picture steps through: black, navy, teal, aqua, white.
// The place in the cycle is kept for the whole run, not per dialog.
constexpr std::array<QRgb, 5> kBackgrounds = {0x000000, 0x000080, 0x008080, 0x00FFFF, 0xFFFFFF};
int background_step = -1;  // just before black

void SetPanelColor(QWidget& panel, const QColor& color) {
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, color);
    panel.setPalette(palette);
    panel.setAutoFillBackground(true);
}

// A bitmap that cannot be used, named in the message: missing, too large, not a Windows bitmap
// or damaged.
QString BitmapError(const QString& path) {
    return FormatMessage(Lang(2014, "The file \"%s\" cannot be read as a Windows Bitmap."), {path});
}
}  // namespace

// The 16 x 16 picture, enlarged without blurring; a click reports the pixel under the pointer.
class PicturePanel final : public QWidget {
public:
    explicit PicturePanel(QWidget* parent) : QWidget(parent) {}

    void SetPicture(const QImage& picture) {
        picture_ = picture;
        update();
    }
    void SetClickHandler(std::function<void(int x, int y)> handler) {
        clicked_ = std::move(handler);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(rect(), picture_);
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        if (clicked_ && rect().contains(at)) clicked_(at.x() / kZoom, at.y() / kZoom);
    }

private:
    QImage picture_;
    std::function<void(int, int)> clicked_;
};

TCustomImage::TCustomImage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CustomImage"));
    setWindowTitle(Lang(2000, "Custom Image"));
    SetUpFixedDialogWindow(*this, kClientWidth, kClientHeight);
    picture_ = QImage(kNodeImageSize, kNodeImageSize, QImage::Format_ARGB32);
    picture_.fill(Qt::transparent);
    pages_ = new QStackedWidget(this);
    pages_->setGeometry(kDialogMargin, kDialogMargin, kClientWidth - 2 * kDialogMargin, 168);
    BuildStep1();
    BuildStep2();
    BuildButtons();
    PreviousButtonClick();
    file_edit_->setFocus();
}

void TCustomImage::BuildStep1() {
    group_box2_ = new QGroupBox(GroupBoxCaption(2001, " Step 1: Choose Image "), pages_);
    group_box2_->setObjectName(QStringLiteral("GroupBox2"));
    auto* st3 = new QLabel(Lang(2002,
                                "Choose a 16 x 16 or larger image. If the image is larger, only "
                                "the top/left 16 x 16 pixels will be used.  The image must be a "
                                "Windows Bitmap (*.BMP)."),
                           group_box2_);
    st3->setObjectName(QStringLiteral("ST3"));
    st3->setWordWrap(true);
    st3->setGeometry(12, 22, 318, 60);
    auto* st1 = new QLabel(Lang(2003, "&File Name:"), group_box2_);
    st1->setObjectName(QStringLiteral("ST1"));
    st1->setGeometry(12, 94, 200, 16);
    file_edit_ = new QLineEdit(group_box2_);
    file_edit_->setObjectName(QStringLiteral("FileEdit"));
    file_edit_->setGeometry(12, 112, 286, 22);
    st1->setBuddy(file_edit_);
    auto* browse = new QPushButton(QStringLiteral("..."), group_box2_);
    browse->setObjectName(QStringLiteral("BrowseButton"));
    browse->setGeometry(302, 112, 28, 22);
    connect(browse, &QPushButton::clicked, this, &TCustomImage::BrowseButtonClick);
    pages_->addWidget(group_box2_);
}

void TCustomImage::BuildStep2() {
    group_box1_ =
        new QGroupBox(GroupBoxCaption(2004, " Step 2: Choose Transparent Color "), pages_);
    group_box1_->setObjectName(QStringLiteral("GroupBox1"));
    panel2_ = new QFrame(group_box1_);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel2_->setGeometry(12, 24, kPictureSide + 16, kPictureSide + 16);
    SetPanelColor(*panel2_, Qt::white);
    image_ = new PicturePanel(panel2_);
    image_->setObjectName(QStringLiteral("Image"));
    image_->setGeometry(8, 8, kPictureSide, kPictureSide);
    image_->setCursor(Qt::CrossCursor);
    image_->SetClickHandler([this](int x, int y) { ImageMouseDown(x, y); });
    panel3_ = new QPushButton(group_box1_);
    panel3_->setObjectName(QStringLiteral("Panel3"));
    panel3_->setGeometry(12, kPictureSide + 44, kPictureSide + 16, 14);
    connect(panel3_, &QPushButton::clicked, this, &TCustomImage::Panel3Click);

    st4_ = new QLabel(group_box1_);
    st4_->setObjectName(QStringLiteral("ST4"));
    st4_->setWordWrap(true);
    st4_->setGeometry(112, 22, 218, 80);
    st2_ = new QLabel(Lang(2008, "Transparent Color:"), group_box1_);
    st2_->setObjectName(QStringLiteral("ST2"));
    st2_->setGeometry(112, 108, 120, 16);
    panel1_ = new QFrame(group_box1_);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFrameShape(QFrame::Box);
    panel1_->setGeometry(236, 104, 24, 24);
    choose_again_button_ = new QPushButton(Lang(2007, "Choose &Again"), group_box1_);
    choose_again_button_->setObjectName(QStringLiteral("ChooseAgainButton"));
    choose_again_button_->setGeometry(112, 134, 110, 24);
    connect(choose_again_button_, &QPushButton::clicked, this,
            &TCustomImage::ChooseAgainButtonClick);
    pages_->addWidget(group_box1_);
}

void TCustomImage::BuildButtons() {
    const auto button = [this](const char* name, const QString& caption, int left) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, kClientHeight - 33, 80, 25);
        return b;
    };
    previous_button_ = button("PreviousButton", Lang(2010, "< &Previous"), 102);
    next_button_ = button("NextButton", Lang(2011, "&Next >"), 186);
    prog_button_ = button("ProgButton", Lang(501, "Cancel"), 272);
    connect(previous_button_, &QPushButton::clicked, this, &TCustomImage::PreviousButtonClick);
    connect(next_button_, &QPushButton::clicked, this, &TCustomImage::NextButtonClick);
    // Cancel on step 1, OK on step 2.
    connect(prog_button_, &QPushButton::clicked, this, [this] {
        if (pages_->currentWidget() == group_box1_) {
            accept();
        } else {
            reject();
        }
    });
}

QString TCustomImage::FileName() const {
    return file_edit_->text();
}

QColor TCustomImage::BackgroundColor() const {
    return panel2_->palette().color(QPalette::Window);
}

bool TCustomImage::LoadPicture(const QString& path) {
    const UserBitmap bitmap = ReadUserBitmap(path);
    if (bitmap.status != UserBitmapStatus::kOk) {
        Platform::Instance().ShowMessage(this, BitmapError(path), AppTitle(), MessageIcon::Warning,
                                         MessageButtons::Ok);
        return false;
    }
    // A fresh picture each time: a small bitmap leaves the rest transparent, never the last one.
    picture_ = MakeCustomNodeImage(bitmap.image, QColor())
                   .toImage()
                   .convertToFormat(QImage::Format_ARGB32);
    ShowPicture();
    return true;
}

void TCustomImage::ShowPicture() {
    QImage shown = picture_;
    if (transparent_color_chosen_) {
        const QRgb key =
            QColor(chosen_color_.Red(), chosen_color_.Green(), chosen_color_.Blue()).rgb();
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (shown.pixel(x, y) == key) shown.setPixel(x, y, 0);
            }
        }
    }
    image_->SetPicture(shown);
}

void TCustomImage::BrowseButtonClick() {
    FileDialogRequest request;
    request.title = Lang(2013, "Choose Bitmap");
    request.filter = Lang(2012, "Bitmap Files (*.BMP)|*.bmp");
    request.initial_folder = ProgramFolder();
    const QStringList chosen = Platform::Instance().GetOpenFileNames(this, request);
    if (chosen.isEmpty()) return;
    if (LoadPicture(chosen.front())) file_edit_->setText(chosen.front());
}

void TCustomImage::NextButtonClick() {
    const QFileInfo file(FileName());
    if (FileName().isEmpty() || !file.isFile()) {
        Platform::Instance().ShowMessage(this, Lang(2009, "File not found."), AppTitle(),
                                         MessageIcon::Warning, MessageButtons::Ok);
        file_edit_->setFocus();
        return;
    }
    pages_->setCurrentWidget(group_box1_);
    prog_button_->setText(Lang(500, "OK"));
    previous_button_->setEnabled(true);
    next_button_->setEnabled(false);
    ChooseAgainButtonClick();
}

void TCustomImage::ChooseAgainButtonClick() {
    st4_->setText(Lang(2005,
                       "Click in the area of the image that you want to be \"see-thru\" to set the "
                       "Transparent color. Click the area below the image to test the image on "
                       "different backgrounds."));
    transparent_color_chosen_ = false;
    if (QFileInfo(FileName()).isFile()) LoadPicture(FileName());
    ShowPicture();
    st2_->hide();
    panel1_->hide();
    choose_again_button_->hide();
}

void TCustomImage::ImageMouseDown(int x, int y) {
    if (transparent_color_chosen_ || !picture_.valid(x, y)) return;
    const QColor pixel = picture_.pixelColor(x, y);
    chosen_color_ =
        Color::FromRgb(static_cast<uint8_t>(pixel.red()), static_cast<uint8_t>(pixel.green()),
                       static_cast<uint8_t>(pixel.blue()));
    transparent_color_chosen_ = true;
    SetPanelColor(*panel1_, pixel);
    ShowPicture();
    st4_->setText(Lang(2006,
                       "If you are satisfied with the image, press the OK button. If you want to "
                       "choose another color, press the Choose Again button."));
    st2_->show();
    panel1_->show();
    choose_again_button_->show();
}

void TCustomImage::Panel3Click() {
    background_step = (background_step + 1) % static_cast<int>(kBackgrounds.size());
    SetPanelColor(*panel2_, QColor(kBackgrounds[static_cast<size_t>(background_step)]));
}

void TCustomImage::PreviousButtonClick() {
    pages_->setCurrentWidget(group_box2_);
    prog_button_->setText(Lang(501, "Cancel"));
    next_button_->setEnabled(true);
    previous_button_->setEnabled(false);
}

}  // namespace quillora
