#pragma once

#include <QTreeView>

namespace quillora {

// `NotesTree`: the tree control of the main window, a view of the note tree's model.
class TMyTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit TMyTreeView(QWidget* parent);
};

}  // namespace quillora
