#pragma once

#include <QAbstractItemModel>
#include <functional>
#include <string>

#include "document/note_tree.h"

namespace quillora {

// The tree control's view of the core NoteTree: an item model that forwards the tree's change
// notifications to Qt. It holds no copy of the tree; each index carries a NodeId.
class NoteTreeModel : public QAbstractItemModel, private NoteTreeObserver {
    Q_OBJECT
public:
    using IconProvider = std::function<QIcon(int32_t image_index)>;
    // Commits a title typed in place; returns nothing, the tree tells the view what changed.
    using TitleEditor = std::function<void(NodeId node, const std::string& title)>;
    // Where a node dropped on the node under the pointer would go.
    enum class DropPlace { kRefused, kOnItself, kInto, kBefore };
    using DropRule = std::function<DropPlace(NodeId dragged, NodeId target)>;
    // Carries out an accepted drop.
    using DropApplier = std::function<void(NodeId dragged, NodeId target)>;

    // The mime type of a node dragged inside this tree.
    static QString NodeMimeType();

    NoteTreeModel(NoteTree& tree, IconProvider icons, QObject* parent = nullptr);
    ~NoteTreeModel() override;

    QModelIndex IndexOf(NodeId node) const;
    NodeId NodeAt(const QModelIndex& index) const;

    // Titles are Windows-1252 bytes unless set to UTF-8 (the favorites tree's titles).
    void SetTitlesUtf8(bool utf8) { titles_utf8_ = utf8; }
    // Without a title editor, in-place edits only set the title; without drop rules nothing can
    // be dropped.
    void SetTitleEditor(TitleEditor editor) { title_editor_ = std::move(editor); }
    void SetDropRules(DropRule rule, DropApplier apply) {
        drop_rule_ = std::move(rule);
        drop_apply_ = std::move(apply);
    }
    // The node a payload made by mimeData() of this model carries; kNoNode for any other payload
    // (another window's or another program's drag).
    NodeId DraggedNode(const QMimeData* data) const;
    // The drop rules' answer for this payload dropped on `target`.
    DropPlace DropPlaceFor(const QMimeData* data, const QModelIndex& target) const;

    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    // A drop always lands on the node under the pointer (`parent`); whether it goes into that
    // node or before it is the drop rules' decision, not the row Qt computed.
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

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
    void AboutToReorder() override;
    void Reordered() override;

    QByteArray PayloadToken() const;

    NoteTree& tree_;
    QModelIndexList reordering_;  // the persistent indexes while siblings are reordered
    IconProvider icons_;
    TitleEditor title_editor_;
    DropRule drop_rule_;
    DropApplier drop_apply_;
    bool titles_utf8_ = false;
};

}  // namespace quillora
