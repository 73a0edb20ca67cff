#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace quillora {

// A second start hands its notes file to the running copy over a local socket in the user's
// runtime folder (private to the user), so a file opened from the desktop shows in the copy the
// user already has. One message a connection: the file's absolute path in UTF-8 and a zero byte
// (which no path holds); an empty path only asks the running copy to come to the front.
QString HandoverSocketPath();

// The running copy's end: listens while it lives and says what it was handed.
class FileHandoverServer : public QObject {
    Q_OBJECT
public:
    explicit FileHandoverServer(QObject* parent = nullptr);
    // Whether another start can reach this copy.
    bool Listening() const { return server_.isListening(); }

signals:
    // A second start named this file; empty when it named none.
    void Requested(const QString& path);

private:
    void TakeConnection();

    QLocalServer server_;
};

// The second start's end: hands `path` (absolute, or empty) to the running copy. Gives up at
// once when no copy listens or one does not take the message within `timeout_ms`, so a crashed
// or hung copy never keeps this one from ending.
bool HandOverToRunningCopy(const QString& path, int timeout_ms = 100);

}  // namespace quillora
