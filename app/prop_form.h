#pragma once

#include <QDialog>

#include "document/document_counts.h"

class QLabel;
class QTimer;

namespace quillora {

class NotesDocument;

// `TPropForm`: the open document's file name, its numbers of notes, folders and nodes, and the
// size of all its texts. The counting starts once the dialog is on screen and the figures grow
// as it goes. It reads the document and changes nothing.
class TPropForm : public QDialog {
    Q_OBJECT
public:
    TPropForm(const NotesDocument& document, QWidget* parent = nullptr);

    // Counts every node in display order, repainting the figures every 20 nodes.
    void TimerTimer();
    bool CountingDone() const { return counting_done_; }

private:
    void BuildPage(QWidget* page);
    void ShowCounts(const DocumentCounts& counts);

    const NotesDocument& document_;
    QTimer* timer_ = nullptr;
    QWidget* page_ = nullptr;
    QWidget* figures_ = nullptr;  // the strip holding the four figures
    QLabel* notes_ = nullptr;     // StaticText1
    QLabel* folders_ = nullptr;   // StaticText2
    QLabel* total_ = nullptr;     // StaticText3
    QLabel* size_ = nullptr;      // ST4
    bool counting_done_ = false;
};

// The name the properties show for a document: the file-name part of its path, or
// "Untitled.qlb" for an untitled one.
QString DocumentDisplayName(const NotesDocument& document);

}  // namespace quillora
