#include "document/ui/tree_title_delegate.h"

#include <QIcon>
#include <QPainter>

#include "document/ui/my_tree_view.h"

namespace quillora {

namespace {
constexpr int kImageSize = 16;
constexpr int kImageLeft = 1;  // gap before the image
constexpr int kTitleGap = 3;   // between the image and the title's area
constexpr int kTextLeft = 2;   // the text inside the title's area
constexpr int kTextTop = 1;
constexpr int kTitlePadding = 4;  // the title's area is this much wider than its text
}  // namespace

TreeTitleDelegate::TreeTitleDelegate(TMyTreeView& view) : QStyledItemDelegate(&view), view_(view) {}

QRect TreeTitleDelegate::TitleRect(const QRect& item_rect, const QFontMetrics& metrics,
                                   const QString& title) {
    const int height = metrics.height() + 2 * kTextTop;
    const int left = item_rect.left() + kImageLeft + kImageSize + kTitleGap;
    const int top = item_rect.top() + (item_rect.height() - height) / 2;
    return {left, top, metrics.horizontalAdvance(title) + kTitlePadding, height};
}

void TreeTitleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QRect& row = option.rect;
    const QIcon icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
    if (!icon.isNull()) {
        const QRect image(row.left() + kImageLeft, row.top() + (row.height() - kImageSize) / 2,
                          kImageSize, kImageSize);
        icon.paint(painter, image);
    }
    const QString title = index.data(Qt::DisplayRole).toString();
    const QFontMetrics metrics(option.font);
    const QRect area = TitleRect(row, metrics, title);
    const QColor background = option.palette.color(QPalette::Base);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    if (selected && view_.IsEditingTitle() && index == view_.currentIndex()) {
        painter->fillRect(area, background);
        return;
    }
    painter->fillRect(area, selected ? SelectedBackground() : background);
    painter->setFont(option.font);
    painter->setPen(selected ? SelectedText() : option.palette.color(QPalette::Text));
    painter->drawText(area.left() + kTextLeft, area.top() + kTextTop + metrics.ascent(), title);
}

QSize TreeTitleDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const QFontMetrics metrics(option.font);
    const QRect area = TitleRect(QRect(), metrics, index.data(Qt::DisplayRole).toString());
    return {area.right() + 2, qMax(kImageSize + 2, area.height() + 2)};
}

// The editor covers the title's area and what is right of it.
void TreeTitleDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const {
    const QFontMetrics metrics(option.font);
    QRect area = TitleRect(option.rect, metrics, index.data(Qt::DisplayRole).toString());
    area.setRight(qMax(area.right(), option.rect.right()));
    editor->setGeometry(area);
}

}  // namespace quillora
