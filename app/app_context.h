#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "settings/profile_file.h"

namespace quillora {

// What start-up hands the main window for the whole run.
struct AppContext {
    std::unique_ptr<ProfileFile> settings_file;  // Quillora.ini
    bool tray_mode = false;
    QString language_pack_name;  // empty when no pack is in use
    QStringList arguments;       // the command line without the program name
    // Where recovery copies and previous versions are kept; empty keeps neither.
    QString user_data_folder;
};

}  // namespace quillora
