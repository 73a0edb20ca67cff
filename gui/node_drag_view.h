#pragma once

#include <QTreeView>

class QTimer;

namespace quillora {

class NoteTreeModel;

// A tree view over a NoteTreeModel whose nodes move by dragging them inside the view: the drag
// carries the current node, the model's drop rules decide whether the node under the pointer
// takes it (into it or before it, marked while dragging), and the view scrolls one line at a
// time while the pointer rests at its top or bottom edge. Drags from elsewhere are refused.
class NodeDragView : public QTreeView {
    Q_OBJECT
public:
    explicit NodeDragView(QWidget* parent);

    // The height of the band at the bottom edge where a drag scrolls the tree down; at the top
    // edge the tree scrolls up while the pointer is at the edge itself.
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
    void MarkDropPlace(int place, const QRect& rect);
    void AutoScrollStep();

    QTimer* auto_scroll_timer_ = nullptr;
    QPoint drag_pos_;
    int drop_place_ = 0;  // a NoteTreeModel::DropPlace
    QRect drop_rect_;
};

}  // namespace quillora
