#pragma once

#include <QObject>
#include <QString>

#include "exchange/export_files.h"

namespace quillora {

class CommandHost;
class DocumentCommands;

// The main window's controller for the File menu's import and export commands: files become
// notes at the end of the top level (from the menu, and dropped files that are not notes files),
// and notes are written out as text files, the selected one or all of them.
class ExchangeCommands : public QObject {
    Q_OBJECT
public:
    // Takes over the import of dropped files from `documents`, whose open dialog the import
    // dialog starts from.
    ExchangeCommands(CommandHost& host, DocumentCommands& documents);
    // Enables the export commands whenever the File menu opens.
    void AttachMenus();

    void FileMenuImportFileClick();
    // Imports one file as a new note; false only when the document is full (message 7761). A
    // file that cannot be read is reported by name and takes no slot.
    bool ImportFileAsNote(const QString& path);
    void FileMenuExportSelectedClick();
    void FileMenuExportAllClick();
    void FileMenuClick();

    // The folder DefaultExportDir names, as a real folder.
    QString DefaultExportFolder() const;

    // Failures to inject into the writes of Export All (tests).
    void SetExportFaults(const ExportFaults& faults) { export_faults_ = faults; }

private:
    CommandHost& host_;
    DocumentCommands& documents_;
    QString import_folder_;  // where the import dialog opens; empty: as the open dialog does
    ExportFaults export_faults_;
};

}  // namespace quillora
