#pragma once

#include <QFont>
#include <functional>
#include <vector>

#include "gui/node_drag_view.h"

class QTimer;

namespace quillora {

// `NotesTree`: the tree control of the main window, a view of the note tree's model. Nodes move
// by dragging them inside the tree (the model decides where a drop may land); titles are edited
// in place; the tree's keys and mouse presses are handed to the handlers set on it.
//
// As the platform's tree control does, the tree scrolls sideways when titles are wider than it,
// the selected node is always the current one and is scrolled into view, and closing a folder
// that holds the selection selects that folder.
class TMyTreeView : public NodeDragView {
    Q_OBJECT
public:
    explicit TMyTreeView(QWidget* parent);

    // Returns true when the key was a command of the tree; other keys are the view's own.
    using KeyDownHandler = std::function<bool(QKeyEvent* event)>;
    // Runs before the view acts on a press of any button.
    using MouseDownHandler = std::function<void(QMouseEvent* event)>;

    void SetKeyDownHandler(KeyDownHandler handler) { key_down_ = std::move(handler); }
    void SetMouseDownHandler(MouseDownHandler handler) { mouse_down_ = std::move(handler); }

    bool IsEditingTitle() const { return state() == QAbstractItemView::EditingState; }

    // Dotted lines joining each node to its parent and siblings, and the boxes with a plus or a
    // minus that open and close folders; both shown at the start.
    void SetLinesShown(bool on);
    void SetButtonsShown(bool on);
    bool LinesShown() const { return lines_shown_; }
    bool ButtonsShown() const { return buttons_shown_; }

    // Scrolls up and down as the base view does, and sideways so that the node's image and title
    // are shown from their left edge (the base view would show the column's left edge instead).
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void dataChanged(const QModelIndex& top_left, const QModelIndex& bottom_right,
                     const QList<int>& roles) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    // Makes the column as wide as the widest shown title (and at least as wide as the view).
    void FitColumnToTitles(bool titles_changed);
    // The width of the widest row shown, from the column's left edge to the end of its title.
    int WidestShownRow();
    // The width of the widest row shown, from the left edge to the end of its title.
    int WidestShownRow() const;
    // Moves the selection off a node that a closed folder hides, onto that folder.
    void SelectFolderHidingCurrent();
    // Whether `pos` is left of the node's image and title, where the lines and buttons are.
    bool InBranchArea(const QModelIndex& index, QPoint pos) const;

    KeyDownHandler key_down_;
    MouseDownHandler mouse_down_;
    QTimer* refit_timer_ = nullptr;
    int titles_width_ = 0;
    QFont advances_font_;
    std::vector<qreal> latin1_advances_;  // the advance of each of the first 256 characters
    bool fitting_column_ = false;
    bool resizing_ = false;
    bool pressing_ = false;
    bool revealing_ = false;
    bool folder_closed_on_current_ = false;
    bool lines_shown_ = true;
    bool buttons_shown_ = true;
};

}  // namespace quillora
