#include "app/start_read_ahead.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <exception>
#include <utility>

namespace quillora {

StartReadAhead::StartReadAhead(QWidget& window, std::string path)
    : QObject(&window), window_(window), path_(std::move(path)) {
    setObjectName(QStringLiteral("StartReadAhead"));
    if (!path_.empty()) window_.installEventFilter(this);
}

StartReadAhead::~StartReadAhead() {
    // The thread touches nothing of the window; the future's end waits for it.
    if (result_.valid()) result_.wait();
}

bool StartReadAhead::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Paint) {
        window_.removeEventFilter(this);
        // The read begins once this paint has reached the screen.
        QTimer::singleShot(0, this, [this] { Start(); });
    }
    return false;
}

void StartReadAhead::Start() {
    if (path_.empty() || result_.valid()) return;
    result_ = std::async(std::launch::async, [path = path_] { return PrepareNotesFile(path); });
}

bool StartReadAhead::Done() const {
    return result_.valid() &&
           result_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

PreparedNotesFile StartReadAhead::Take(const std::string& path) {
    window_.removeEventFilter(this);
    const bool wanted = !path.empty() && DocumentPath(path) == DocumentPath(path_);
    path_.clear();
    if (!result_.valid()) return {};
    PreparedNotesFile prepared;
    try {
        prepared = result_.get();
    } catch (const std::exception&) {
        // A read ahead that ran out of memory leaves the file to be read at the tick.
        return {};
    }
    if (!wanted) return {};
    return prepared;
}

}  // namespace quillora
