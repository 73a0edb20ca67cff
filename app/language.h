#pragma once

#include <QString>

#include "settings/profile_file.h"

namespace quillora {

// Loads the pack named by LanguagePack from the program folder into the program-wide lookup;
// returns the pack name in use (empty when the file is missing).
QString LoadLanguagePack(const ProfileFile& settings);

}  // namespace quillora
