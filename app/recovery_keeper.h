#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "document/notes_document.h"
#include "document/recovery_store.h"

class QWidget;

namespace quillora {

// Writes a recovery copy of the open document while it has unsaved changes: a few seconds after
// the last change, at most once every `interval_ms`, off the user-interface thread (which only
// copies the texts that changed, a piece at a time). The copy goes when the document is saved
// or closed, and when the program ends normally.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kQuietMs = 3000;
    static constexpr std::size_t kCopyBudgetBytes = std::size_t{4} << 20;  // per step

    // `store_shown_text` puts the pane's unsaved typing into the document before a copy.
    RecoveryKeeper(NotesDocument& doc, std::unique_ptr<RecoveryStore> store, int interval_ms,
                   std::function<void()> store_shown_text, QObject* parent = nullptr);
    ~RecoveryKeeper() override;

    // Something in the document changed.
    void DocumentChanged();
    // The modified flag changed: off means saved or closed, so the copy is removed.
    void ModifiedChanged(bool modified);

    // Asks about each copy left by a copy of the program that did not end normally, the newest
    // first. Yes hands it to `restore` and ends the asking; No deletes it. True when one was
    // restored.
    bool OfferLeftChanges(QWidget* parent, const std::function<bool(const LeftRecovery&)>& restore);

    // For tests: write now (the steps and the write itself still run as they would).
    void WriteSoon() { Start(); }
    bool Writing() const { return writing_; }
    const RecoveryStore& Store() const { return *store_; }

signals:
    void Written(bool ok);

private:
    void Start();
    void Step();
    void Finished(bool ok);

    NotesDocument& doc_;
    std::unique_ptr<RecoveryStore> store_;
    int interval_ms_;
    std::function<void()> store_shown_text_;
    RecoverySnapshot snapshot_;
    QTimer quiet_timer_;
    qint64 last_write_ms_ = 0;
    bool writing_ = false;
    bool again_ = false;  // changed while a copy was being written
    std::thread worker_;
};

}  // namespace quillora
