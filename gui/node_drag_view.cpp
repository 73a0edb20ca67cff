#include "gui/node_drag_view.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
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
    setAutoScroll(false);  // scrolling while dragging is done here, one line at a time
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
    if (!nodes || !current.isValid()) return;
    QMimeData* data = nodes->mimeData({current});
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QRect rect = visualRect(current);
    if (rect.isValid()) {
        QPixmap pixmap(rect.size());
        pixmap.fill(Qt::transparent);
        viewport()->render(&pixmap, QPoint(), QRegion(rect));
        drag->setPixmap(pixmap);
        drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rect.topLeft());
    }
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    ClearDropMark();
}

bool NodeDragView::DragOver(const QMimeData* data, QPoint pos) {
    NoteTreeModel* nodes = NodesModel();
    const QModelIndex target = indexAt(pos);
    const Place place = nodes ? nodes->DropPlaceFor(data, target) : Place::kRefused;
    DropMark mark = DropMark::kNone;
    QRect rect;
    if (place == Place::kInto || place == Place::kBefore) {
        rect = visualRect(target);
        mark = place == Place::kInto ? DropMark::kInto : DropMark::kBefore;
    }
    if (mark != drop_mark_ || rect != drop_rect_) {
        drop_mark_ = mark;
        drop_rect_ = rect;
        viewport()->update();
    }
    return place != Place::kRefused;
}

void NodeDragView::ClearDropMark() {
    auto_scroll_timer_->stop();
    if (drop_mark_ == DropMark::kNone && drop_rect_.isNull()) return;
    drop_mark_ = DropMark::kNone;
    drop_rect_ = QRect();
    viewport()->update();
}

void NodeDragView::dragEnterEvent(QDragEnterEvent* event) {
    // Only nodes of this view are dragged here; files from the desktop go to the window.
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
    if (event->source() != this) {
        event->ignore();
        return;
    }
    drag_pos_ = event->position().toPoint();
    const int y = drag_pos_.y();
    const bool in_band = y >= viewport()->height() - AutoScrollBand() || y <= AutoScrollBand() / 2;
    if (in_band && !auto_scroll_timer_->isActive()) {
        AutoScrollStep();
        auto_scroll_timer_->start();
    } else if (!in_band) {
        auto_scroll_timer_->stop();
    }
    if (DragOver(event->mimeData(), drag_pos_)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void NodeDragView::AutoScrollStep() {
    QScrollBar* bar = verticalScrollBar();
    const int y = drag_pos_.y();
    const int before = bar->value();
    if (y >= viewport()->height() - AutoScrollBand()) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (y <= AutoScrollBand() / 2) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else {
        auto_scroll_timer_->stop();
        return;
    }
    if (bar->value() != before) viewport()->repaint();
}

void NodeDragView::dragLeaveEvent(QDragLeaveEvent* event) {
    ClearDropMark();
    event->accept();
}

void NodeDragView::dropEvent(QDropEvent* event) {
    NoteTreeModel* nodes = NodesModel();
    const QModelIndex target = indexAt(event->position().toPoint());
    ClearDropMark();
    if (event->source() != this || !nodes ||
        !nodes->dropMimeData(event->mimeData(), Qt::MoveAction, -1, -1, target)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void NodeDragView::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (drop_mark_ == DropMark::kNone || drop_rect_.isNull()) return;
    QPainter painter(viewport());
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(2);
    painter.setPen(pen);
    if (drop_mark_ == DropMark::kInto) {
        painter.drawRect(drop_rect_.adjusted(1, 1, -1, -1));
    } else {
        const int y = drop_rect_.top() + 1;
        painter.drawLine(drop_rect_.left(), y, viewport()->width(), y);
    }
}

}  // namespace quillora
