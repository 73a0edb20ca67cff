#include "app/commands/info_commands.h"

#include <QAction>
#include <QMenu>

#include "app/about_box.h"
#include "app/commands/command_host.h"
#include "app/program_info.h"
#include "app/prop_form.h"
#include "document/notes_document.h"
#include "document/ui/note_panes.h"
#include "gui/action_registry.h"
#include "gui/lang.h"
#include "gui/platform.h"

namespace quillora {

InfoCommands::InfoCommands(CommandHost& host) : host_(host) {
    ActionRegistry& a = host_.Actions();
    connect(&a.Create("FileMenuProperties", Lang(7010, "&Properties...")), &QAction::triggered,
            this, &InfoCommands::FileMenuPropertiesClick);
    connect(&a.Create("HelpMenuHomepage", Lang(7304, "&Homepage")), &QAction::triggered, this,
            &InfoCommands::HelpMenuHomepageClick);
    connect(&a.Create("HelpMenuAbout", Lang(7305, "&About...")), &QAction::triggered, this,
            &InfoCommands::HelpMenuAboutClick);
}

void InfoCommands::AttachMenus() {
    connect(&host_.Actions().Menu("FileMenu"), &QMenu::aboutToShow, this, [this] {
        host_.Actions().SetEnabled("FileMenuProperties", !host_.Document().tree.Empty());
    });
}

void InfoCommands::FileMenuPropertiesClick() {
    host_.Panes().StoreShownText();
    TPropForm form(host_.Document(), &host_.Window());
    form.exec();
}

void InfoCommands::HelpMenuHomepageClick() {
    // A failure of the desktop to open the address is not reported.
    Platform::Instance().OpenWithDesktop(QString::fromUtf8(kHomePageAddress));
}

void InfoCommands::HelpMenuAboutClick() {
    ShowAboutBox(&host_.Window());
}

}  // namespace quillora
