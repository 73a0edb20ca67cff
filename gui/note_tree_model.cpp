#include "gui/note_tree_model.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMimeData>

#include "gui/text_codec.h"

namespace quillora {

NoteTreeModel::NoteTreeModel(NoteTree& tree, IconProvider icons, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), icons_(std::move(icons)) {
    tree_.SetObserver(this);
}

NoteTreeModel::~NoteTreeModel() {
    tree_.SetObserver(nullptr);
}

QModelIndex NoteTreeModel::IndexOf(NodeId node) const {
    if (!tree_.Exists(node)) return {};
    return createIndex(tree_.Row(node), 0, static_cast<quintptr>(node));
}

NodeId NoteTreeModel::NodeAt(const QModelIndex& index) const {
    if (!index.isValid()) return kNoNode;
    const auto node = static_cast<NodeId>(index.internalId());
    return tree_.Exists(node) ? node : kNoNode;
}

QModelIndex NoteTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const NodeId parent_node = parent.isValid() ? NodeAt(parent) : kNoNode;
    if (parent.isValid() && parent_node == kNoNode) return {};
    const auto& kids = tree_.Children(parent_node);
    if (row >= static_cast<int>(kids.size())) return {};
    return createIndex(row, 0, static_cast<quintptr>(kids[static_cast<size_t>(row)]));
}

QModelIndex NoteTreeModel::parent(const QModelIndex& child) const {
    const NodeId node = NodeAt(child);
    if (node == kNoNode) return {};
    return IndexOf(tree_.Parent(node));
}

int NoteTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    if (!parent.isValid()) return static_cast<int>(tree_.Children(kNoNode).size());
    const NodeId node = NodeAt(parent);
    return node == kNoNode ? 0 : static_cast<int>(tree_.Children(node).size());
}

int NoteTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool NoteTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant NoteTreeModel::data(const QModelIndex& index, int role) const {
    const NodeId node = NodeAt(index);
    if (node == kNoNode) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return titles_utf8_ ? FromNative(tree_.Title(node)) : FromAnsi(tree_.Title(node));
        case Qt::DecorationRole:
            return icons_ ? QVariant(icons_(tree_.Image(node))) : QVariant();
        default:
            return {};
    }
}

Qt::ItemFlags NoteTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

bool NoteTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const NodeId node = NodeAt(index);
    if (node == kNoNode || role != Qt::EditRole) return false;
    const std::string title = titles_utf8_ ? ToNative(value.toString()) : ToAnsi(value.toString());
    if (title_editor_) {
        title_editor_(node, title);
    } else {
        tree_.SetTitle(node, title);
    }
    return true;
}

QString NoteTreeModel::NodeMimeType() {
    return QStringLiteral("application/x-quillora-node");
}

// Ties a payload to this model in this process, so a node id from another window or program is
// never taken for one of ours.
QByteArray NoteTreeModel::PayloadToken() const {
    return QByteArray::number(QCoreApplication::applicationPid()) + '.' +
           QByteArray::number(reinterpret_cast<quintptr>(this));
}

QStringList NoteTreeModel::mimeTypes() const {
    return {NodeMimeType()};
}

QMimeData* NoteTreeModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.size() != 1) return nullptr;
    const NodeId node = NodeAt(indexes.front());
    if (node == kNoNode) return nullptr;
    auto* data = new QMimeData;
    data->setData(NodeMimeType(), PayloadToken() + ':' + QByteArray::number(node));
    return data;
}

NodeId NoteTreeModel::DraggedNode(const QMimeData* data) const {
    if (!data || !data->hasFormat(NodeMimeType())) return kNoNode;
    const QByteArray payload = data->data(NodeMimeType());
    const qsizetype colon = payload.lastIndexOf(':');
    if (colon < 0 || payload.left(colon) != PayloadToken()) return kNoNode;
    bool ok = false;
    const int node = payload.mid(colon + 1).toInt(&ok);
    return ok && tree_.Exists(node) ? node : kNoNode;
}

Qt::DropActions NoteTreeModel::supportedDropActions() const {
    return Qt::MoveAction;
}

Qt::DropActions NoteTreeModel::supportedDragActions() const {
    return Qt::MoveAction;
}

NoteTreeModel::DropPlace NoteTreeModel::DropPlaceFor(const QMimeData* data,
                                                     const QModelIndex& target) const {
    if (!drop_rule_) return DropPlace::kRefused;
    const NodeId dragged = DraggedNode(data);
    const NodeId node = NodeAt(target);
    if (dragged == kNoNode || node == kNoNode) return DropPlace::kRefused;
    return drop_rule_(dragged, node);
}

bool NoteTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                    const QModelIndex& parent) const {
    return action == Qt::MoveAction && DropPlaceFor(data, parent) != DropPlace::kRefused;
}

bool NoteTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                 const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent) || !drop_apply_) return false;
    drop_apply_(DraggedNode(data), NodeAt(parent));
    return true;
}

void NoteTreeModel::AboutToInsert(NodeId parent, int row) {
    beginInsertRows(IndexOf(parent), row, row);
}

void NoteTreeModel::Inserted(NodeId) {
    endInsertRows();
}

void NoteTreeModel::AboutToRemove(NodeId node) {
    const int row = tree_.Row(node);
    beginRemoveRows(IndexOf(tree_.Parent(node)), row, row);
}

void NoteTreeModel::Removed() {
    endRemoveRows();
}

void NoteTreeModel::AboutToMove(NodeId node, NodeId new_parent, int row) {
    const int from = tree_.Row(node);
    beginMoveRows(IndexOf(tree_.Parent(node)), from, from, IndexOf(new_parent), row);
}

void NoteTreeModel::Moved(NodeId) {
    endMoveRows();
}

void NoteTreeModel::Changed(NodeId node) {
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index);
}

void NoteTreeModel::AboutToReset() {
    beginResetModel();
}

void NoteTreeModel::Reset() {
    endResetModel();
}

void NoteTreeModel::AboutToReorder() {
    emit layoutAboutToBeChanged();
    reordering_ = persistentIndexList();
}

// Each index names its node, so every persistent index moves to its node's new row.
void NoteTreeModel::Reordered() {
    QModelIndexList moved;
    moved.reserve(reordering_.size());
    for (const QModelIndex& old : reordering_) {
        const NodeId node = NodeAt(old);
        moved.append(node == kNoNode || !tree_.Exists(node)
                         ? QModelIndex()
                         : createIndex(tree_.Row(node), old.column(), old.internalId()));
    }
    changePersistentIndexList(reordering_, moved);
    reordering_.clear();
    emit layoutChanged();
}

}  // namespace quillora
