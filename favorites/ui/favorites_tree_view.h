#pragma once

#include <functional>

#include "document/note_tree.h"
#include "gui/node_drag_view.h"

namespace quillora {

// `TreeView` of the favorites editor: the favorites tree with its root shown as the top node.
// Titles are edited in place (never a placeholder's or a separator's), nodes move by dragging,
// a right-button press selects the node under the pointer, and Ins and Del are commands.
class FavoritesTreeView : public NodeDragView {
public:
    explicit FavoritesTreeView(QWidget* parent);

    struct Handlers {
        std::function<bool(NodeId)> may_edit;      // whether a title may be edited in place
        std::function<bool(NodeId)> may_drag;      // whether a node may be dragged
        std::function<void()> insert_key;          // Ins
        std::function<void()> delete_key;          // Del
        std::function<bool(NodeId)> double_click;  // true when the double click was handled
    };
    void SetHandlers(Handlers handlers) { handlers_ = std::move(handlers); }
    NodeId NodeAtIndex(const QModelIndex& index) const;
    NodeId ClickedNode() const { return clicked_node_; }
    bool IsEditingTitle() const { return state() == QAbstractItemView::EditingState; }

    using NodeDragView::edit;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supported_actions) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Handlers handlers_;
    NodeId clicked_node_ = kNoNode;
};

}  // namespace quillora
