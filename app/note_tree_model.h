#pragma once

#include <QAbstractItemModel>
#include <functional>

#include "document/note_tree.h"

namespace quillora {

// The tree control's view of the core NoteTree: an item model that forwards the tree's change
// notifications to Qt. It holds no copy of the tree; each index carries a NodeId.
class NoteTreeModel : public QAbstractItemModel, private NoteTreeObserver {
    Q_OBJECT
public:
    using IconProvider = std::function<QIcon(int32_t image_index)>;

    NoteTreeModel(NoteTree& tree, IconProvider icons, QObject* parent = nullptr);
    ~NoteTreeModel() override;

    QModelIndex IndexOf(NodeId node) const;
    NodeId NodeAt(const QModelIndex& index) const;
    // Asks the view to fetch every node's icon again (after the image list changed).
    void RefreshImages();

    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent) const override;

private:
    void AboutToInsert(NodeId parent, int row) override;
    void Inserted(NodeId node) override;
    void AboutToRemove(NodeId node) override;
    void Removed() override;
    void AboutToMove(NodeId node, NodeId new_parent, int row) override;
    void Moved(NodeId node) override;
    void Changed(NodeId node) override;
    void AboutToReset() override;
    void Reset() override;

    NoteTree& tree_;
    IconProvider icons_;
};

}  // namespace quillora
