#include "app/commands/settings_commands.h"

#include <QAction>

#include "app/main_form.h"
#include "document/tree_operations.h"
#include "document/ui/my_tree_view.h"
#include "document/ui/note_panes.h"
#include "gui/app_paths.h"
#include "gui/lang.h"
#include "gui/note_tree_model.h"
#include "settings/ui/settings_dialog.h"

namespace quillora {

namespace {

// The example tree is the notes tree's own class, so that its lines and buttons look the same.
ExampleTreeFactory NotesTreeExample() {
    return {[](QWidget* parent) -> QTreeView* { return new TMyTreeView(parent); },
            [](QTreeView& view, bool lines, bool buttons) {
                auto& tree = static_cast<TMyTreeView&>(view);
                tree.SetLinesShown(lines);
                tree.SetButtonsShown(buttons);
            }};
}

}  // namespace

SettingsCommands::SettingsCommands(TMainForm& form) : form_(form) {
    connect(&form_.Actions().Create("EditMenuSettings", Lang(7064, "&Settings...")),
            &QAction::triggered, this, &SettingsCommands::EditMenuSettingsClick);
}

void SettingsCommands::EditMenuSettingsClick() {
    SettingsDialogContext context;
    context.settings = &form_.SettingsFile();
    context.images = &form_.Images();
    context.node_images = form_.Document().images;
    context.tray_mode = form_.Tray() != nullptr;
    context.pack_in_use = form_.LanguagePackName();
    context.program_folder = ProgramFolder();
    context.example_tree = NotesTreeExample();
    context.images_saved = [this] { form_.Tree()->viewport()->update(); };

    TSettings dialog(context, &form_);
    if (dialog.exec() != QDialog::Accepted) return;
    // Applying the settings changes how the document looks, not the document.
    form_.ApplyFlatButtons();
    form_.ApplyEditorSettings();
    form_.Document().images = dialog.ChosenNodeImages();
    form_.ApplyNotesListSettings();
    // Every node shows the image of its kind again, an open folder the opened-folder image.
    const NoteTreeModel* model = form_.TreeModel();
    TMyTreeView* tree = form_.Tree();
    ReapplyImages(form_.Document(),
                  [&](NodeId node) { return tree->isExpanded(model->IndexOf(node)); });
    tree->viewport()->update();
}

}  // namespace quillora
