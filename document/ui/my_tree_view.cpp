#include "document/ui/my_tree_view.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include "document/ui/note_tree_model.h"

namespace quillora {

namespace {
constexpr int kAutoScrollIntervalMs = 80;
}  // namespace

TMyTreeView::TMyTreeView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("NotesTree"));
    setHeaderHidden(true);
    setUniformRowHeights(true);  // keeps a 4000-node tree fast to lay out
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setExpandsOnDoubleClick(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);  // the tree paints its own: into a node or before it
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setAutoScroll(false);  // scrolling while dragging is done below, one line at a time

    auto_scroll_timer_ = new QTimer(this);
    auto_scroll_timer_->setInterval(kAutoScrollIntervalMs);
    connect(auto_scroll_timer_, &QTimer::timeout, this, &TMyTreeView::AutoScrollStep);
}

NoteTreeModel* TMyTreeView::NotesModel() const {
    return qobject_cast<NoteTreeModel*>(model());
}

int TMyTreeView::AutoScrollBand() const {
    return fontMetrics().height();
}

void TMyTreeView::keyPressEvent(QKeyEvent* event) {
    if (!IsEditingTitle() && key_down_ && key_down_(event)) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TMyTreeView::mousePressEvent(QMouseEvent* event) {
    if (mouse_down_) mouse_down_(event);
    // The right button only selects (done by the handler); the context menu comes on its own.
    if (event->button() == Qt::RightButton) return;
    QTreeView::mousePressEvent(event);
}

// The drag carries the selected node; the move itself is made by the drop, so nothing is removed
// here when the drag ends (the base class would remove the dragged rows).
void TMyTreeView::startDrag(Qt::DropActions) {
    NoteTreeModel* notes = NotesModel();
    const QModelIndex current = currentIndex();
    if (!notes || !current.isValid()) return;
    QMimeData* data = notes->mimeData({current});
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

bool TMyTreeView::DragOver(const QMimeData* data, QPoint pos) {
    NoteTreeModel* notes = NotesModel();
    const QModelIndex target = indexAt(pos);
    const NoteTreeModel::DropPlace place =
        notes ? notes->DropPlaceFor(data, target) : NoteTreeModel::DropPlace::kRefused;
    const bool accepted = place != NoteTreeModel::DropPlace::kRefused;
    DropMark mark = DropMark::kNone;
    QRect rect;
    if (place == NoteTreeModel::DropPlace::kInto || place == NoteTreeModel::DropPlace::kBefore) {
        rect = visualRect(target);
        mark = place == NoteTreeModel::DropPlace::kInto ? DropMark::kInto : DropMark::kBefore;
    }
    if (mark != drop_mark_ || rect != drop_rect_) {
        drop_mark_ = mark;
        drop_rect_ = rect;
        viewport()->update();
    }
    return accepted;
}

void TMyTreeView::ClearDropMark() {
    auto_scroll_timer_->stop();
    if (drop_mark_ == DropMark::kNone && drop_rect_.isNull()) return;
    drop_mark_ = DropMark::kNone;
    drop_rect_ = QRect();
    viewport()->update();
}

void TMyTreeView::dragEnterEvent(QDragEnterEvent* event) {
    // Only nodes of this tree are dragged here; files from the shell go to the window.
    NoteTreeModel* notes = NotesModel();
    if (event->source() != this || !notes || notes->DraggedNode(event->mimeData()) == kNoNode) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    dragMoveEvent(event);
}

void TMyTreeView::dragMoveEvent(QDragMoveEvent* event) {
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

void TMyTreeView::AutoScrollStep() {
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

void TMyTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
    ClearDropMark();
    event->accept();
}

void TMyTreeView::dropEvent(QDropEvent* event) {
    NoteTreeModel* notes = NotesModel();
    const QModelIndex target = indexAt(event->position().toPoint());
    ClearDropMark();
    if (event->source() != this || !notes || !target.isValid() ||
        !notes->canDropMimeData(event->mimeData(), Qt::MoveAction, -1, -1, target)) {
        event->ignore();
        return;
    }
    notes->dropMimeData(event->mimeData(), Qt::MoveAction, -1, -1, target);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TMyTreeView::paintEvent(QPaintEvent* event) {
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
