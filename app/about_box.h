#pragma once

#include <QDialog>

class QLabel;
class QMenu;

namespace quillora {

// `TAboutBox`: the program's name, version, rights notices, the language in use and a link to
// the home page. Enter or Escape closes it.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Opens the home page in the browser and shows the link as visited.
    void HomepageLabelClick();
    // Puts the home page's address on the clipboard.
    void PopupMenuCopyLinkLocationClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLabels();
    void BuildHomepageLabel();

    QLabel* homepage_label_ = nullptr;
    QMenu* popup_menu_ = nullptr;
};

// Shows the About box modally over `parent` and destroys it when it closes; for every window
// with a Help > About item.
void ShowAboutBox(QWidget* parent);

}  // namespace quillora
