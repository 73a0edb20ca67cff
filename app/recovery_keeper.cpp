#include "app/recovery_keeper.h"

#include <QDateTime>
#include <QMetaObject>
#include <ctime>

#include "gui/lang.h"
#include "gui/platform.h"
#include "gui/text_codec.h"

namespace quillora {

RecoveryKeeper::RecoveryKeeper(NotesDocument& doc, std::unique_ptr<RecoveryStore> store,
                               int interval_ms, std::function<void()> store_shown_text,
                               QObject* parent)
    : QObject(parent),
      doc_(doc),
      store_(std::move(store)),
      interval_ms_(interval_ms),
      store_shown_text_(std::move(store_shown_text)) {
    quiet_timer_.setSingleShot(true);
    connect(&quiet_timer_, &QTimer::timeout, this, &RecoveryKeeper::Start);
}

RecoveryKeeper::~RecoveryKeeper() {
    if (worker_.joinable()) worker_.join();
}

void RecoveryKeeper::DocumentChanged() {
    if (!doc_.modified) return;
    if (writing_) {
        again_ = true;
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 earliest = last_write_ms_ == 0 ? now : last_write_ms_ + interval_ms_;
    quiet_timer_.start(static_cast<int>(std::max<qint64>(kQuietMs, earliest - now)));
}

void RecoveryKeeper::ModifiedChanged(bool modified) {
    if (modified) {
        DocumentChanged();
        return;
    }
    quiet_timer_.stop();
    again_ = false;
    snapshot_.Clear();
    // A write in flight removes its copy when it ends (Finished sees the flag off).
    if (!writing_) store_->Remove();
}

void RecoveryKeeper::Start() {
    if (writing_ || !doc_.modified || doc_.tree.Empty()) return;
    if (store_shown_text_) store_shown_text_();
    Step();
}

// Copies the next piece of changed texts; once every copy is current the document is frozen and
// written on a worker thread.
void RecoveryKeeper::Step() {
    if (!doc_.modified) return;
    if (!snapshot_.Refresh(doc_, kCopyBudgetBytes)) {
        QMetaObject::invokeMethod(this, &RecoveryKeeper::Step, Qt::QueuedConnection);
        return;
    }
    std::optional<FrozenDocument> frozen = snapshot_.Freeze(doc_);
    if (!frozen) {
        QMetaObject::invokeMethod(this, &RecoveryKeeper::Step, Qt::QueuedConnection);
        return;
    }
    RecoveryInfo info{doc_.current_file_name, static_cast<std::int64_t>(std::time(nullptr)),
                      doc_.disk_identity};
    if (worker_.joinable()) worker_.join();
    writing_ = true;
    worker_ = std::thread([this, frozen = std::move(*frozen), info = std::move(info)] {
        const bool ok = store_->Write(frozen, info);
        QMetaObject::invokeMethod(
            this, [this, ok] { Finished(ok); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::Finished(bool ok) {
    writing_ = false;
    last_write_ms_ = QDateTime::currentMSecsSinceEpoch();
    if (!doc_.modified) {
        store_->Remove();
    } else if (again_) {
        again_ = false;
        DocumentChanged();
    }
    emit Written(ok);
}

bool RecoveryKeeper::OfferLeftChanges(QWidget* parent,
                                      const std::function<bool(const LeftRecovery&)>& restore) {
    for (const LeftRecovery& left : store_->FindLeft()) {
        const QString name = left.info.document_path.empty() ? Lang(7753, "Untitled.qlb")
                                                             : FromNative(left.info.document_path);
        const QString when = QDateTime::fromSecsSinceEpoch(left.info.written_at)
                                 .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        const MessageAnswer answer = Platform::Instance().ShowMessage(
            parent,
            FormatMessage(Lang(7788,
                               "Quillora found unsaved changes to \"%s\" from %s. Restore "
                               "them?"),
                          {name, when}),
            AppTitle(), MessageIcon::Question, MessageButtons::YesNo);
        if (answer == MessageAnswer::Yes && restore(left)) {
            RecoveryStore::Discard(left);
            return true;
        }
        if (answer != MessageAnswer::Yes) RecoveryStore::Discard(left);
    }
    return false;
}

}  // namespace quillora
