#include "gui/node_drag_view.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include "gui/note_tree_model.h"

namespace quillora {

namespace {
constexpr int kAutoScrollIntervalMs = 80;
using Place = NoteTreeModel::DropPlace;
}  // namespace

NodeDragView::NodeDragView(QWidget* parent) : QTreeView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);  // the mark is painted here: into a node or before it
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setAutoScroll(false);
    auto_scroll_timer_ = new QTimer(this);
    auto_scroll_timer_->setInterval(kAutoScrollIntervalMs);
    connect(auto_scroll_timer_, &QTimer::timeout, this, &NodeDragView::AutoScrollStep);
}

NoteTreeModel* NodeDragView::NodesModel() const {
    return qobject_cast<NoteTreeModel*>(model());
}

int NodeDragView::AutoScrollBand() const {
    return fontMetrics().height();
}

// The move is made by the drop; the base class would also remove the dragged rows afterwards.
void NodeDragView::startDrag(Qt::DropActions) {
    NoteTreeModel* nodes = NodesModel();
    const QModelIndex current = currentIndex();
    QMimeData* data = nodes && current.isValid() ? nodes->mimeData({current}) : nullptr;
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    MarkDropPlace(static_cast<int>(Place::kRefused), {});
}

void NodeDragView::dragEnterEvent(QDragEnterEvent* event) {
    NoteTreeModel* nodes = NodesModel();
    if (event->source() != this || !nodes || nodes->DraggedNode(event->mimeData()) == kNoNode) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    dragMoveEvent(event);
}

void NodeDragView::dragMoveEvent(QDragMoveEvent* event) {
    NoteTreeModel* nodes = NodesModel();
    if (event->source() != this || !nodes) {
        event->ignore();
        return;
    }
    drag_pos_ = event->position().toPoint();
    AutoScrollStep();
    if (!auto_scroll_timer_->isActive()) auto_scroll_timer_->start();
    const QModelIndex target = indexAt(drag_pos_);
    const Place place = nodes->DropPlaceFor(event->mimeData(), target);
    MarkDropPlace(static_cast<int>(place), visualRect(target));
    if (place == Place::kRefused) {
        event->ignore();
    } else {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    }
}

void NodeDragView::AutoScrollStep() {
    QScrollBar* bar = verticalScrollBar();
    const int y = drag_pos_.y();
    if (y >= viewport()->height() - AutoScrollBand()) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (y <= 0) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else {
        auto_scroll_timer_->stop();
    }
}

void NodeDragView::dragLeaveEvent(QDragLeaveEvent* event) {
    MarkDropPlace(static_cast<int>(Place::kRefused), {});
    event->accept();
}

void NodeDragView::dropEvent(QDropEvent* event) {
    NoteTreeModel* nodes = NodesModel();
    const QModelIndex target = indexAt(event->position().toPoint());
    MarkDropPlace(static_cast<int>(Place::kRefused), {});
    if (event->source() != this || !nodes ||
        !nodes->dropMimeData(event->mimeData(), Qt::MoveAction, -1, -1, target)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void NodeDragView::MarkDropPlace(int place, const QRect& rect) {
    const bool marked =
        place == static_cast<int>(Place::kInto) || place == static_cast<int>(Place::kBefore);
    if (!marked) auto_scroll_timer_->stop();
    const QRect shown = marked ? rect : QRect();
    if (place == drop_place_ && shown == drop_rect_) return;
    drop_place_ = marked ? place : 0;
    drop_rect_ = shown;
    viewport()->update();
}

void NodeDragView::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (drop_rect_.isNull()) return;
    QPainter painter(viewport());
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(2);
    painter.setPen(pen);
    if (drop_place_ == static_cast<int>(Place::kInto)) {
        painter.drawRect(drop_rect_.adjusted(1, 1, -1, -1));
    } else {
        painter.drawLine(drop_rect_.left(), drop_rect_.top() + 1, viewport()->width(),
                         drop_rect_.top() + 1);
    }
}

}  // namespace quillora
