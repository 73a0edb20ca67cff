#include "favorites/ui/favorites_tree_view.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/note_tree_model.h"

namespace quillora {

FavoritesTreeView::FavoritesTreeView(QWidget* parent) : NodeDragView(parent) {
    setObjectName(QStringLiteral("TreeView"));
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setRootIsDecorated(false);  // the root is the top node, without a line or button of its own
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

NodeId FavoritesTreeView::NodeAtIndex(const QModelIndex& index) const {
    const NoteTreeModel* nodes = NodesModel();
    return nodes ? nodes->NodeAt(index) : kNoNode;
}

bool FavoritesTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (handlers_.may_edit && !handlers_.may_edit(NodeAtIndex(index))) return false;
    return NodeDragView::edit(index, trigger, event);
}

void FavoritesTreeView::startDrag(Qt::DropActions supported_actions) {
    if (handlers_.may_drag && !handlers_.may_drag(NodeAtIndex(currentIndex()))) return;
    NodeDragView::startDrag(supported_actions);
}

void FavoritesTreeView::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState && event->modifiers() == Qt::NoModifier) {
        if (event->key() == Qt::Key_Insert && handlers_.insert_key) {
            handlers_.insert_key();
            return;
        }
        if (event->key() == Qt::Key_Delete && handlers_.delete_key) {
            handlers_.delete_key();
            return;
        }
    }
    NodeDragView::keyPressEvent(event);
}

void FavoritesTreeView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex under = indexAt(event->position().toPoint());
    clicked_node_ = NodeAtIndex(under);
    if (event->button() == Qt::RightButton && under.isValid()) setCurrentIndex(under);
    NodeDragView::mousePressEvent(event);
}

void FavoritesTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    clicked_node_ = NodeAtIndex(indexAt(event->position().toPoint()));
    if (handlers_.double_click && handlers_.double_click(clicked_node_)) return;
    NodeDragView::mouseDoubleClickEvent(event);
}

}  // namespace quillora
