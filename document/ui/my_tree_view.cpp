#include "document/ui/my_tree_view.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QtMath>

#include "document/ui/tree_title_delegate.h"

namespace quillora {

namespace {
constexpr int kButtonSize = 9;  // the box of an expand button, its frame included
const QColor kLineColor(0x80, 0x80, 0x80);

// A dotted line one pixel wide: every other pixel, in the same checkerboard for all rows.
void DottedLine(QPainter& painter, const QRect& rect, const QColor& color) {
    painter.fillRect(rect, QBrush(color, Qt::Dense4Pattern));
}

// A box with a minus (an open folder) or a plus (a closed one) centred on `centre`.
void ExpandButton(QPainter& painter, QPoint centre, bool open, const QColor& background,
                  const QColor& sign) {
    const QRect box(centre.x() - kButtonSize / 2, centre.y() - kButtonSize / 2, kButtonSize,
                    kButtonSize);
    painter.fillRect(box, background);
    painter.setPen(kLineColor);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.fillRect(QRect(box.left() + 2, centre.y(), kButtonSize - 4, 1), sign);
    if (!open) painter.fillRect(QRect(centre.x(), box.top() + 2, 1, kButtonSize - 4), sign);
}
}  // namespace

TMyTreeView::TMyTreeView(QWidget* parent) : NodeDragView(parent) {
    setObjectName(QStringLiteral("NotesTree"));
    setHeaderHidden(true);
    setUniformRowHeights(true);  // keeps a 4000-node tree fast to lay out
    setIconSize(QSize(16, 16));
    // Only the title shows the selection; the delegate paints it.
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setItemDelegate(new TreeTitleDelegate(*this));
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setExpandsOnDoubleClick(true);
    // Titles are never cut to the view's width: the one column is as wide as the widest shown
    // title (FitColumnToTitles) and the tree scrolls sideways, pixel by pixel.
    header()->setStretchLastSection(false);
    header()->setResizeContentsPrecision(-1);  // every shown row, not only those near the view
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A folder closed around the selected node (by its expander, a key or Close All Folders):
    // the selection moves once the rows are laid out again.
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& folder) {
        for (QModelIndex node = currentIndex().parent(); node.isValid(); node = node.parent()) {
            if (node == folder) folder_closed_on_current_ = true;
        }
    });

    refit_timer_ = new QTimer(this);
    refit_timer_->setSingleShot(true);
    refit_timer_->setInterval(0);
    connect(refit_timer_, &QTimer::timeout, this, &TMyTreeView::updateGeometries);
}

void TMyTreeView::SetLinesShown(bool on) {
    if (lines_shown_ == on) return;
    lines_shown_ = on;
    viewport()->update();
}

void TMyTreeView::SetButtonsShown(bool on) {
    if (buttons_shown_ == on) return;
    buttons_shown_ = on;
    viewport()->update();
}

void TMyTreeView::keyPressEvent(QKeyEvent* event) {
    if (!IsEditingTitle() && key_down_ && key_down_(event)) {
        event->accept();
        return;
    }
    NodeDragView::keyPressEvent(event);
}

void TMyTreeView::mousePressEvent(QMouseEvent* event) {
    // The node under the pointer is in view already; scrolling now would move another node under
    // the pointer before the press selects it.
    QScopedValueRollback<bool> pressing(pressing_, true);
    if (mouse_down_) mouse_down_(event);
    // The right button only selects (done by the handler); the context menu comes on its own.
    if (event->button() == Qt::RightButton) return;
    // A press below the last node or beside the rows keeps the selection, as the platform's tree
    // does; the base view would deselect the node and leave it current.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (!pressed.isValid()) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    // Without buttons there is nothing to click beside a node: the base view would open or
    // close the folder there.
    if (!buttons_shown_ && InBranchArea(pressed, event->position().toPoint())) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    NodeDragView::mousePressEvent(event);
}

// Scrolling to the current node is the base view's auto-scroll, which is off for the sake of
// dragging; a node that a key or a command selects is still brought into view.
void TMyTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    NodeDragView::currentChanged(current, previous);
    if (current.isValid() && !pressing_ && state() != QAbstractItemView::DraggingState) {
        scrollTo(current);
    }
}

void TMyTreeView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar* bar = horizontalScrollBar();
    const int sideways = bar->value();
    {
        // The base view opens the folders above the node on the way: the node is being shown,
        // not hidden.
        QScopedValueRollback<bool> revealing(revealing_, true);
        NodeDragView::scrollTo(index, hint);
    }
    if (!index.isValid()) return;
    bar->setValue(sideways);
    const QRect rect = visualRect(index);
    if (!rect.isValid()) return;
    // In the column's coordinates: the node's expander, its left edge and its title's end.
    const int left = rect.left() + sideways;
    const int from = qMax(0, left - indentation());
    const int right = left + sizeHintForIndex(index).width();
    int value = sideways;
    if (right > value + viewport()->width()) value = right - viewport()->width();
    if (from < value) value = from;  // a title wider than the view is shown from its start
    bar->setValue(value);
}

void TMyTreeView::dataChanged(const QModelIndex& top_left, const QModelIndex& bottom_right,
                              const QList<int>& roles) {
    NodeDragView::dataChanged(top_left, bottom_right, roles);
    // A title may have grown or shrunk. Opening and closing all folders changes hundreds of
    // images one by one, so the titles are measured once, after the last change.
    refit_timer_->start();
}

void TMyTreeView::resizeEvent(QResizeEvent* event) {
    // Only the view's width changed, not the titles: the measured width still holds.
    QScopedValueRollback<bool> resizing(resizing_, true);
    NodeDragView::resizeEvent(event);
}

// Runs after every change of the rows shown: layouts, opened and closed folders, new, moved and
// removed nodes, renamed nodes and the view's own resizing.
void TMyTreeView::updateGeometries() {
    if (fitting_column_) {
        NodeDragView::updateGeometries();
        return;
    }
    FitColumnToTitles(!resizing_);
    NodeDragView::updateGeometries();
    if (folder_closed_on_current_) {
        folder_closed_on_current_ = false;
        // While the view scrolls to a node it opens the folders above it instead.
        if (!revealing_) SelectFolderHidingCurrent();
    }
}

void TMyTreeView::FitColumnToTitles(bool titles_changed) {
    if (!model() || model()->columnCount(rootIndex()) < 1) return;
    QScopedValueRollback<bool> fitting(fitting_column_, true);
    if (titles_changed) titles_width_ = WidestShownRow();
    const int width = qMax(titles_width_, viewport()->width());
    if (columnWidth(0) != width) setColumnWidth(0, width);
}

// Measured as the item delegate measures a row, but with the advances of the title's characters
// added up: the delegate shapes every title as a text layout, too slow for thousands of rows after
// every change. The sum is not short of the shaped width (kerning and ligatures narrow a title,
// they do not widen it), so no title is cut; at worst the column is a few pixels wider.
int TMyTreeView::WidestShownRow() {
    const QModelIndex first = model()->index(0, 0, rootIndex());
    if (!first.isValid()) return 0;
    if (advances_font_ != font() || latin1_advances_.empty()) {
        advances_font_ = font();
        const QFontMetricsF metrics(advances_font_);
        latin1_advances_.resize(256);
        for (int ch = 0; ch < 256; ++ch)
            latin1_advances_[ch] = metrics.horizontalAdvance(QChar(ch));
    }
    const QFontMetricsF metrics(advances_font_);
    const auto title_width = [&](const QModelIndex& index) {
        qreal width = 0;
        for (const QChar ch : index.data(Qt::DisplayRole).toString()) {
            width +=
                ch.unicode() < 256 ? latin1_advances_[ch.unicode()] : metrics.horizontalAdvance(ch);
        }
        return width;
    };
    // What the delegate adds to a title: the image, the gaps and the margins.
    const qreal extra = sizeHintForIndex(first).width() - title_width(first);
    qreal widest = 0;
    for (QModelIndex index = first; index.isValid(); index = indexBelow(index)) {
        int level = rootIsDecorated() ? 1 : 0;
        for (QModelIndex folder = index.parent(); folder.isValid(); folder = folder.parent()) {
            ++level;
        }
        widest = qMax(widest, level * indentation() + title_width(index));
    }
    return qCeil(widest + extra);
}

// As the platform's tree control does when a folder closes around the selected node, the closed
// folder becomes the selected node, so that what is shown and what the next command acts on is
// a node the user can see. With folders closed inside each other, the outermost one is shown.
void TMyTreeView::SelectFolderHidingCurrent() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    QModelIndex shown;
    for (QModelIndex folder = current.parent(); folder.isValid(); folder = folder.parent()) {
        if (!isExpanded(folder)) shown = folder;
    }
    if (shown.isValid()) setCurrentIndex(shown);
}

// The drag carries the selected node; the move itself is made by the drop, so nothing is removed
// here when the drag ends (the base class would remove the dragged rows).
bool TMyTreeView::InBranchArea(const QModelIndex& index, QPoint pos) const {
    return pos.x() < visualRect(index).left();
}

// The branch area of a row: one column of `indentation()` pixels per level, the node's own level
// rightmost. Lines run down the middle of each column: through the columns of the ancestors that
// have a next sibling, and in the node's own column from the row above (or from the middle for
// the very first node) to the row below (or to the middle for a last child), with a stroke to the
// right towards the node's image.
void TMyTreeView::drawBranches(QPainter* painter, const QRect& rect,
                               const QModelIndex& index) const {
    const int indent = indentation();
    const int own_left = rect.right() + 1 - indent;
    const int middle_x = own_left + indent / 2;
    const int middle_y = rect.top() + rect.height() / 2;
    if (lines_shown_) {
        const bool has_next = index.sibling(index.row() + 1, 0).isValid();
        const bool very_first = index.row() == 0 && !index.parent().isValid();
        const int top = very_first ? middle_y : rect.top();
        const int bottom = has_next ? rect.bottom() : middle_y;
        DottedLine(*painter, QRect(middle_x, top, 1, bottom - top + 1), kLineColor);
        DottedLine(*painter, QRect(middle_x, middle_y, own_left + indent - middle_x, 1),
                   kLineColor);
        int x = middle_x - indent;
        for (QModelIndex folder = index.parent(); folder.isValid() && x >= rect.left();
             folder = folder.parent(), x -= indent) {
            if (folder.sibling(folder.row() + 1, 0).isValid()) {
                DottedLine(*painter, QRect(x, rect.top(), 1, rect.height()), kLineColor);
            }
        }
    }
    if (buttons_shown_ && model()->hasChildren(index)) {
        const QPalette& colors = palette();
        ExpandButton(*painter, QPoint(middle_x, middle_y), isExpanded(index),
                     colors.color(QPalette::Base), colors.color(QPalette::Text));
    }
}

// Only the title shows the selection (the delegate paints it): the style's highlight of the rest
// of the row is painted in the background colour.
void TMyTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QStyleOptionViewItem row = option;
    row.palette.setBrush(QPalette::Highlight, row.palette.brush(QPalette::Base));
    NodeDragView::drawRow(painter, row, index);
}

}  // namespace quillora
