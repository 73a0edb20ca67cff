#include "app/search_commands.h"

#include "app/main_form.h"

namespace quillora {

SearchCommands::SearchCommands(TMainForm& form) : QObject(&form), form_(form) {}

}  // namespace quillora
