#pragma once

#include <QStyledItemDelegate>

namespace quillora {

class TMyTreeView;

// Paints a node of the notes tree: its image, then its title in the tree's own font and colours
// (the palette's Base and Text), the selected title always white on navy, whether the tree has
// the focus or not, and the title being edited in place on a blank background.
class TreeTitleDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TreeTitleDelegate(TMyTreeView& view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // The colours of the selected title.
    static QColor SelectedBackground() { return QColor(0x00, 0x00, 0x80); }
    static QColor SelectedText() { return QColor(0xFF, 0xFF, 0xFF); }

    // The area of the title (the label, without the image) in a row at `item_rect`.
    static QRect TitleRect(const QRect& item_rect, const QFontMetrics& metrics,
                           const QString& title);

private:
    const TMyTreeView& view_;
};

}  // namespace quillora
