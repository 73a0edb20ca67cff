#pragma once

#include <QTreeView>

class QMimeData;
class QTimer;

namespace quillora {

class NoteTreeModel;

// A tree view over a NoteTreeModel whose nodes move by dragging them inside the view: the drag
// carries the current node (shown under the pointer as its row), the model's drop rules decide
// whether the node under the pointer takes it (into it or before it, marked while dragging), and
// the view scrolls one line at a time while the pointer rests in a band at its top or bottom
// edge. Drags from elsewhere are refused.
class NodeDragView : public QTreeView {
    Q_OBJECT
public:
    explicit NodeDragView(QWidget* parent);

    // Where a drop at the pointer would put the dragged node, as the view marks it.
    enum class DropMark { kNone, kInto, kBefore };
    DropMark CurrentDropMark() const { return drop_mark_; }

    // The height of the band at the bottom edge where a drag scrolls the tree down; the band at
    // the top edge is half as high.
    int AutoScrollBand() const;

protected:
    void startDrag(Qt::DropActions supported_actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    NoteTreeModel* NodesModel() const;

private:
    // Accepts or refuses the drag at `pos` and sets the drop mark.
    bool DragOver(const QMimeData* data, QPoint pos);
    void ClearDropMark();
    // One line up or down while the pointer rests in a scroll band.
    void AutoScrollStep();

    QTimer* auto_scroll_timer_ = nullptr;
    QPoint drag_pos_;
    DropMark drop_mark_ = DropMark::kNone;
    QRect drop_rect_;
};

}  // namespace quillora
