#include "settings/ui/folders_page.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

#include "gui/browse_for_folder.h"
#include "gui/context_help.h"
#include "gui/lang.h"
#include "gui/text_codec.h"
#include "gui/translate.h"
#include "settings/settings_schema.h"

namespace quillora {

namespace keys = settings_keys;

namespace {

struct FolderControls {
    const char* label;
    uint16_t label_id;
    const char* label_caption;
    const char* edit;
    const char* button;
    int help;
    uint16_t title_id;
    const char* title;
    const TextSetting* key;
};

const std::array<FolderControls, 3> kFolders = {{
    {"StaticText1", 11152, "Default &Open Folder:", "OpenDirEdit", "BrowseButton1", 33, 11302,
     "Choose Default File / Open Folder:", &keys::kDefaultOpenDir},
    {"StaticText2", 11153, "Default &Save As Folder:", "SaveDirEdit", "BrowseButton2", 34, 11303,
     "Choose Default File / Save As Folder:", &keys::kDefaultSaveDir},
    {"StaticText6", 11154, "Default &Export Folder:", "ExportDirEdit", "BrowseButton3", 91, 11304,
     "Choose Default Export Folder:", &keys::kDefaultExportDir},
}};

// The default export folder is the user's documents folder where there is one.
std::string DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? ToNative(documents)
                                                                : std::string();
}

}  // namespace

FoldersPage::FoldersPage(const ProfileFile& settings, QWidget* parent)
    : SettingsPage("FoldersSheet", 33, parent) {
    QGroupBox* group =
        AddGroup(this, "GroupBox6", GroupBoxCaption(11151, " Default Folders "), {8, 8, 329, 160});
    const std::string documents = DocumentsFolder();
    DefaultContext context;
    context.documents_folder = documents;
    for (int i = 0; i < 3; ++i) {
        const FolderControls& c = kFolders.at(i);
        auto* label = new QLabel(Lang(c.label_id, c.label_caption), group);
        label->setObjectName(QString::fromLatin1(c.label));
        label->move(16, 22 + 46 * i);
        label->adjustSize();
        auto* edit = new QLineEdit(FromNative(ReadText(settings, *c.key, context)), group);
        edit->setObjectName(QString::fromLatin1(c.edit));
        edit->setGeometry(16, 40 + 46 * i, 266, 21);
        SetHelpContext(edit, c.help);
        label->setBuddy(edit);
        edits_.at(i) = edit;
        QPushButton* browse =
            AddButton(group, c.button, QStringLiteral("..."), {288, 40 + 46 * i, 25, 21});
        SetHelpContext(browse, 35);
        connect(browse, &QPushButton::clicked, this, [this, i] { BrowseButtonClick(i); });
    }
}

void FoldersPage::BrowseButtonClick(int folder) {
    const FolderControls& c = kFolders.at(folder);
    BrowseForFolder(this, Lang(c.title_id, c.title), edits_.at(folder));
}

void FoldersPage::Write(ProfileBatch& batch) const {
    for (int i = 0; i < 3; ++i)
        WriteText(batch, *kFolders.at(i).key, ToNative(edits_.at(i)->text()));
}

}  // namespace quillora
