#include "app/about_box.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "app/face_pictures.h"
#include "app/program_info.h"
#include "gui/dialog_frame.h"
#include "gui/lang.h"
#include "gui/platform.h"

namespace quillora {

namespace {

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 268;
constexpr int kLeft = 16;
const QColor kLinkColor(0x00, 0x00, 0xFF);
const QColor kVisitedLinkColor(0x00, 0x00, 0x80);

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(kLeft, top, kClientWidth - kLeft - 8, 16);
    return label;
}

void SetTextColor(QLabel& label, const QColor& color) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

// The white head of the box: the banner and the rule beneath it.
void PaintHead(QPainter& painter) {
    painter.fillRect(QRect(0, 0, kClientWidth, 46), Qt::white);
    PaintTitleBanner(painter, QPoint(15, 6));
    PaintRule(painter, QPoint(0, 43));
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(Lang(1000, "About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);

    new PictureBox(QStringLiteral("Image1"), QRect(0, 0, kClientWidth, 46), PaintHead, this);
    auto* sign = new QLabel(TrademarkSign(), this);
    sign->setObjectName(QStringLiteral("Label6"));
    QFont sign_font(QStringLiteral("Arial"));
    sign_font.setStyleHint(QFont::SansSerif);
    sign_font.setPixelSize(11);
    sign->setFont(sign_font);
    sign->setGeometry(282, 2, 14, 14);
    BuildLabels();
    BuildHomepageLabel();

    auto* ok = new QPushButton(Lang(500, "OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(216, 236, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    CenterOnScreen(*this);
}

void TAboutBox::BuildLabels() {
    AddLabel(this, "VersionLabel",
             FormatMessage(Lang(1003, "Version: %s"), {QString::fromLatin1(kVersionText)}), 56);
    AddLabel(this, "Label3", Lang(1002, "Freeware"), 80);
    AddLabel(this, "Label1", MakerName(), 104);
    AddLabel(this, "Label5", RightsStatement(), 128);
    AddLabel(this, "Label2", OwnershipLine(), 144);
    AddLabel(this, "Label4", TrademarkLine(), 160);
    AddLabel(this, "Label7", Lang(1001, "Language: English (U.S.)"), 184);
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setGeometry(kLeft, 208, 275, 2);
}

void TAboutBox::BuildHomepageLabel() {
    const QString address = QString::fromUtf8(kHomePageAddress);
    homepage_label_ = AddLabel(this, "HomepageLabel", Lang(1006, "Homepage"), 220);
    homepage_label_->adjustSize();
    QFont link = homepage_label_->font();
    link.setUnderline(true);
    homepage_label_->setFont(link);
    SetTextColor(*homepage_label_, kLinkColor);
    homepage_label_->setCursor(Qt::PointingHandCursor);
    homepage_label_->setToolTip(address);
    homepage_label_->setContextMenuPolicy(Qt::CustomContextMenu);
    homepage_label_->installEventFilter(this);

    popup_menu_ = new QMenu(this);
    popup_menu_->setObjectName(QStringLiteral("PopupMenu"));
    QAction* open = popup_menu_->addAction(Lang(1008, "&Open in Browser"));
    open->setObjectName(QStringLiteral("PopupMenuOpenInBrowser"));
    connect(open, &QAction::triggered, this, &TAboutBox::HomepageLabelClick);
    popup_menu_->addSeparator();
    QAction* copy = popup_menu_->addAction(Lang(1007, "&Copy Link Location"));
    copy->setObjectName(QStringLiteral("PopupMenuCopyLinkLocation"));
    connect(copy, &QAction::triggered, this, &TAboutBox::PopupMenuCopyLinkLocationClick);
    connect(homepage_label_, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { popup_menu_->popup(homepage_label_->mapToGlobal(at)); });
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == homepage_label_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        homepage_label_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        HomepageLabelClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::HomepageLabelClick() {
    SetTextColor(*homepage_label_, kVisitedLinkColor);
    // A failure of the desktop to open the address is not reported.
    Platform::Instance().OpenWithDesktop(QString::fromUtf8(kHomePageAddress));
}

void TAboutBox::PopupMenuCopyLinkLocationClick() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromUtf8(kHomePageAddress));
    }
}

void ShowAboutBox(QWidget* parent) {
    TAboutBox box(parent);
    box.exec();
}

}  // namespace quillora
