#include "app/edit_commands.h"

#include "app/main_form.h"

namespace quillora {

EditCommands::EditCommands(TMainForm& form) : QObject(&form), form_(form) {}

}  // namespace quillora
