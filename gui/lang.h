#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>

#include "settings/profile_file.h"

namespace quillora {

// The text to show for string `id`: the language pack's string when a pack is loaded and holds a
// non-empty one, else the built-in English text.
QString Lang(uint16_t id, const char* english);

// Puts `args` in place of the successive "%s" of `format`, as the C formatting of the
// messages does; a missing argument leaves its "%s" empty.
QString FormatMessage(const QString& format, std::initializer_list<QString> args);

// The application title, the caption of every message box.
inline QString AppTitle() {
    return QStringLiteral("Quillora");
}

// Loads the pack named by LanguagePack from the program folder into the program-wide lookup;
// returns the pack name in use (empty when the file is missing).
QString LoadLanguagePack(const ProfileFile& settings);

}  // namespace quillora
