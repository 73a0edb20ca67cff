#pragma once

#include <QObject>

namespace quillora {

class TMainForm;

// The main window's controller for the Edit menu's commands on the panes.
class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(TMainForm& form);

private:
    TMainForm& form_;
};

}  // namespace quillora
