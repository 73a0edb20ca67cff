#pragma once

#include <QDialog>
#include <functional>

#include "exchange/export_files.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quillora {

class NotesDocument;

// `TExport`: the modal Export All dialog, created for one use. The user names a folder (typed
// or browsed) and starts the export; every node whose text is not empty is written to its own
// ".txt" file there. While and after the export the progress group stands in place of the
// settings, and the dialog stays open until Close.
class TExport : public QDialog {
    Q_OBJECT
public:
    // `store_current_text` stores what the panes show into the document before the export.
    TExport(NotesDocument& doc, std::function<void()> store_current_text,
            QWidget* parent = nullptr);

    QLineEdit* DirEdit() const { return dir_edit_; }
    QCheckBox* OverwriteCheckBox() const { return overwrite_check_box_; }
    QPushButton* ExportButton() const { return export_button_; }
    QLabel* ProgLabel() const { return prog_label_; }
    QProgressBar* ProgressBar() const { return progress_bar_; }
    QGroupBox* GroupBox1() const { return group_box1_; }
    QGroupBox* GroupBox2() const { return group_box2_; }

    // Failures to inject into the export's writes (tests).
    void SetFaults(const ExportFaults& faults) { faults_ = faults; }

    void BrowseButtonClick();
    void ExportButtonClick();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildInputGroup();
    void BuildProgressGroup();
    void BuildButtons();
    // Shows `text` in ProgLabel; the dialog is repainted at most every few milliseconds (and
    // always when `now`), so that a long export shows its progress without slowing down.
    void ShowProgress(const QString& text, bool now);
    void Warn(const QString& text);
    // What the export tells the dialog: the progress, the node written, the question to ask.
    ExportAllCallbacks Callbacks();

    NotesDocument& doc_;
    std::function<void()> store_current_text_;
    ExportFaults faults_;
    qint64 last_paint_ms_ = 0;
    QString current_;  // what ProgLabel shows for the node being written

    QGroupBox* group_box1_ = nullptr;
    QLineEdit* dir_edit_ = nullptr;
    QCheckBox* overwrite_check_box_ = nullptr;
    QGroupBox* group_box2_ = nullptr;
    QLabel* prog_label_ = nullptr;
    QProgressBar* progress_bar_ = nullptr;
    QPushButton* export_button_ = nullptr;
    QPushButton* close_button_ = nullptr;
    QPushButton* help_button_ = nullptr;
};

}  // namespace quillora
