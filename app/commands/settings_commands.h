#pragma once

#include <QObject>

namespace quillora {

class TMainForm;

// The Edit menu's Settings command: the settings dialog, and on OK the new settings applied to
// the main window at once.
class SettingsCommands : public QObject {
    Q_OBJECT
public:
    explicit SettingsCommands(TMainForm& form);

    void EditMenuSettingsClick();

private:
    TMainForm& form_;
};

}  // namespace quillora
