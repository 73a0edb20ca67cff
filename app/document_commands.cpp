#include "app/document_commands.h"

#include "app/main_form.h"

namespace quillora {

DocumentCommands::DocumentCommands(TMainForm& form) : QObject(&form), form_(form) {}

}  // namespace quillora
