#include "app/startup_trace.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/ui/note_pane.h"

namespace quillora {

namespace {

long long SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class StartupTrace final : public QObject {
public:
    StartupTrace(std::string path, QObject* parent) : QObject(parent), path_(std::move(path)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (!window_painted_ && widget->objectName() == QLatin1String("MainForm")) {
            window_painted_ = true;
            AfterThisPaint("window-painted");
        }
        auto* pane = qobject_cast<NotePane*>(widget->parentWidget());
        if (!text_painted_ && pane && pane->viewport() == widget && !pane->document()->isEmpty()) {
            text_painted_ = true;
            AfterThisPaint("text-painted");
        }
        if (window_painted_ && text_painted_) qApp->removeEventFilter(this);
        return false;
    }

private:
    // The moment is written once the paint under way has been drawn and handed to the screen.
    void AfterThisPaint(const char* moment) {
        QTimer::singleShot(0, this, [this, moment] {
            if (std::FILE* out = std::fopen(path_.c_str(), "a")) {
                std::fprintf(out, "%s %lld\n", moment, SteadyNs());
                std::fclose(out);
            }
        });
    }

    std::string path_;
    bool window_painted_ = false;
    bool text_painted_ = false;
};

}  // namespace

void InstallStartupTraceIfAsked() {
    const char* path = std::getenv("QUILLORA_STARTUP_TRACE");
    if (path == nullptr || *path == '\0' || !qApp) return;
    qApp->installEventFilter(new StartupTrace(path, qApp));
}

}  // namespace quillora
