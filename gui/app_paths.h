#pragma once

#include <QString>

namespace quillora {

// The program folder: the folder of the executable, or QUILLORA_HOME when it is set.
QString ProgramFolder();
// Where files the program writes beside itself live (settings, favorites): the program folder
// when it is writable, else the user's configuration folder.
QString WritableDataFolder();
QString SettingsFilePath();  // Quillora.ini
// The user's home folder: what the default folder "\" means here.
QString DefaultFolder();
// A stored folder setting as a real folder ("\" and empty mean the default folder).
QString ResolveFolderSetting(const QString& stored);

}  // namespace quillora
