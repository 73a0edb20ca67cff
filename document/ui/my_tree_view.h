#pragma once

#include <QTreeView>
#include <functional>

class QTimer;

namespace quillora {

class NoteTreeModel;

// `NotesTree`: the tree control of the main window, a view of the note tree's model. Nodes move
// by dragging them inside the tree (the model decides where a drop may land); titles are edited
// in place; the tree's keys and mouse presses are handed to the handlers set on it.
class TMyTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit TMyTreeView(QWidget* parent);

    // Returns true when the key was a command of the tree; other keys are the view's own.
    using KeyDownHandler = std::function<bool(QKeyEvent* event)>;
    // Runs before the view acts on a press of any button.
    using MouseDownHandler = std::function<void(QMouseEvent* event)>;

    void SetKeyDownHandler(KeyDownHandler handler) { key_down_ = std::move(handler); }
    void SetMouseDownHandler(MouseDownHandler handler) { mouse_down_ = std::move(handler); }

    bool IsEditingTitle() const { return state() == QAbstractItemView::EditingState; }

    // Where a drop at `pos` (viewport coordinates) would put the dragged node, for the drop
    // indicator: into the node under the pointer or directly before it.
    enum class DropMark { kNone, kInto, kBefore };
    DropMark CurrentDropMark() const { return drop_mark_; }

    // The height of the band at the top and the bottom edge where a drag scrolls the tree.
    int AutoScrollBand() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supported_actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    NoteTreeModel* NotesModel() const;
    // Accepts or refuses the drag at `pos` and sets the drop indicator.
    bool DragOver(const QMimeData* data, QPoint pos);
    void ClearDropMark();
    // One line up or down while the pointer rests in a scroll band.
    void AutoScrollStep();

    KeyDownHandler key_down_;
    MouseDownHandler mouse_down_;
    DropMark drop_mark_ = DropMark::kNone;
    QRect drop_rect_;
    QTimer* auto_scroll_timer_ = nullptr;
    QPoint drag_pos_;
};

}  // namespace quillora
