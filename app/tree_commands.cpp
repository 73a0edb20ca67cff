#include "app/tree_commands.h"

#include "app/main_form.h"

namespace quillora {

TreeCommands::TreeCommands(TMainForm& form) : QObject(&form), form_(form) {}

}  // namespace quillora
