#pragma once

#include <QObject>
#include <future>
#include <string>

#include "document/notes_file.h"

class QWidget;

namespace quillora {

// Reads the notes file that the start timer will open on a thread of its own, so that at the
// tick the document is built from memory. The thread starts once the window has been painted for
// the first time, so the first paint waits for nothing. Nothing is shown or recorded by it: what
// it read is handed to ReadNotesFile, which reads the file again if it changed meanwhile.
class StartReadAhead : public QObject {
    Q_OBJECT
public:
    // A child of `window`. `path` empty: nothing is read ahead.
    StartReadAhead(QWidget& window, std::string path);
    ~StartReadAhead() override;
    StartReadAhead(const StartReadAhead&) = delete;
    StartReadAhead& operator=(const StartReadAhead&) = delete;

    // What was read ahead for `path`, waiting for the thread if it still runs; an empty result
    // (which ReadNotesFile reads again) when nothing was read ahead for that path. Once only.
    PreparedNotesFile Take(const std::string& path);
    // True once the thread has ended.
    bool Done() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Start();

    QWidget& window_;
    std::string path_;
    std::future<PreparedNotesFile> result_;
};

}  // namespace quillora
