#include "app/main_menu.h"

#include "app/main_form.h"

namespace quillora {

void BuildMainMenu(TMainForm&) {}

}  // namespace quillora
