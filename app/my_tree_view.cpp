#include "app/my_tree_view.h"

#include <QHeaderView>

namespace quillora {

TMyTreeView::TMyTreeView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("NotesTree"));
    setHeaderHidden(true);
    setUniformRowHeights(true);  // keeps a 4000-node tree fast to lay out
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setExpandsOnDoubleClick(true);
}

}  // namespace quillora
