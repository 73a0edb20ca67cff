#pragma once

#include <QObject>

namespace quillora {

class TMainForm;

// The appearance settings on the main window: the tool bar's buttons, the two panes and the
// notes tree with its node images. Each Apply reads its keys from the settings file at the
// moment it runs, so the settings dialog's OK applies what it has just written. None of it marks
// the document modified. System colours follow the desktop: when its palette changes, the panes
// and the tree are given their colours again.
class WindowAppearance final : public QObject {
    Q_OBJECT
public:
    explicit WindowAppearance(TMainForm& form);

    // The tool bar's buttons are flat (framed only under the pointer) as FlatToolBarButtons says.
    void ApplyFlatButtons();
    // Word wrap, and each pane's colours, font and styles.
    void ApplyEditorSettings();
    // The tree's colours, font, styles, lines and buttons, and the New Note and New Folder
    // glyphs drawn from the images in use.
    void ApplyNotesListSettings();
    // The user's bitmaps into the three custom slots of the image list. A file that is missing,
    // is no bitmap or cannot be read leaves its slot as it was (the question mark at the start).
    void LoadCustomImages();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The colours and fonts of the panes and of the tree.
    void ApplyPaneLooks();
    void ApplyTreeLook();

    TMainForm& form_;
};

}  // namespace quillora
