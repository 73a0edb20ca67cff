#pragma once

#include <QObject>

namespace quillora {

class CommandHost;

// The main window's commands that show information: the document's properties, the About box
// and the product's home page.
class InfoCommands : public QObject {
    Q_OBJECT
public:
    explicit InfoCommands(CommandHost& host);
    // Enables Properties whenever the File menu opens.
    void AttachMenus();

    // Counts what was just typed too; runs from the status bar whatever the menu item's state.
    void FileMenuPropertiesClick();
    void HelpMenuHomepageClick();
    void HelpMenuAboutClick();

private:
    CommandHost& host_;
};

}  // namespace quillora
