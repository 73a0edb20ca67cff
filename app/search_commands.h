#pragma once

#include <QObject>

namespace quillora {

class TMainForm;

// The main window's controller for the Search menu: find, find next and replace.
class SearchCommands : public QObject {
    Q_OBJECT
public:
    explicit SearchCommands(TMainForm& form);

private:
    TMainForm& form_;
};

}  // namespace quillora
