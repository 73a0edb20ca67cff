#pragma once

#include <QObject>

namespace quillora {

class TMainForm;

// The main window's controller for the Notes menu, the tree's keys and drag and drop.
class TreeCommands : public QObject {
    Q_OBJECT
public:
    explicit TreeCommands(TMainForm& form);

private:
    TMainForm& form_;
};

}  // namespace quillora
