#include "gui/font_color_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "gui/platform.h"

namespace quillora {

namespace {

constexpr const char* kColorNames[16] = {"Black", "Maroon",  "Green",  "Olive", "Navy", "Purple",
                                         "Teal",  "Gray",    "Silver", "Red",   "Lime", "Yellow",
                                         "Blue",  "Fuchsia", "Aqua",   "White"};

QIcon Swatch(const QColor& color) {
    QPixmap pixmap(24, 12);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

}  // namespace

const QColor (&StandardFontColors())[16] {
    static const QColor colors[16] = {
        QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),   QColor(128, 128, 0),
        QColor(0, 0, 128),     QColor(128, 0, 128), QColor(0, 128, 128), QColor(128, 128, 128),
        QColor(192, 192, 192), QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
        QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 255, 255)};
    return colors;
}

std::optional<FontChoice> ShowFontColorDialog(QWidget* parent, const QFont& initial,
                                              const QColor& initial_color) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QFontDialog::tr("Select Font"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* fonts = new QFontDialog(initial, &dialog);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts->setWindowFlags(Qt::Widget);
    layout->addWidget(fonts);
    // Escape and Enter reach the embedded font dialog first; they close the whole dialog.
    QObject::connect(fonts, &QDialog::rejected, &dialog, &QDialog::reject);
    QObject::connect(fonts, &QDialog::accepted, &dialog, &QDialog::accept);

    auto* row = new QHBoxLayout;
    auto* colors = new QComboBox(&dialog);
    colors->setObjectName(QStringLiteral("FontColorList"));
    // A starting colour that is none of the standard ones stays choosable, as "Custom".
    const QColor(&standard)[16] = StandardFontColors();
    if (std::find(std::begin(standard), std::end(standard), initial_color.toRgb()) ==
        std::end(standard)) {
        colors->addItem(Swatch(initial_color), QStringLiteral("Custom"), initial_color);
    }
    for (int i = 0; i < 16; ++i) {
        colors->addItem(Swatch(standard[i]), QString::fromLatin1(kColorNames[i]), standard[i]);
    }
    colors->setCurrentIndex(std::max(0, colors->findData(initial_color.toRgb())));
    auto* caption = new QLabel(QStringLiteral("&Color:"), &dialog);
    caption->setBuddy(colors);
    row->addWidget(caption);
    row->addWidget(colors);
    row->addStretch();
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FontChoice{fonts->currentFont(), colors->currentData().value<QColor>()};
}

}  // namespace quillora
