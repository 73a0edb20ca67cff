#pragma once

#include <QObject>

namespace quillora {

class TMainForm;

// The main window's controller for the File menu's document commands, the re-open list and dropped files.
class DocumentCommands : public QObject {
    Q_OBJECT
public:
    explicit DocumentCommands(TMainForm& form);

private:
    TMainForm& form_;
};

}  // namespace quillora
