#include "app/file_handover.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace quillora {

namespace {

// A path is at most a few kilobytes; anything longer is not a message of ours.
constexpr qsizetype kMaxMessageBytes = 64 * 1024;

}  // namespace

QString HandoverSocketPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + QStringLiteral("/QuilloraApp.socket");
}

FileHandoverServer::FileHandoverServer(QObject* parent) : QObject(parent) {
    const QString path = HandoverSocketPath();
    // Only the copy holding the instance lock listens, so a socket file found here was left by a
    // copy that ended without removing it.
    QLocalServer::removeServer(path);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(path);
    connect(&server_, &QLocalServer::newConnection, this, &FileHandoverServer::TakeConnection);
}

void FileHandoverServer::TakeConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray received = socket->peek(kMaxMessageBytes + 1);
            const qsizetype end = received.indexOf('\0');
            if (end < 0) {
                if (received.size() > kMaxMessageBytes) socket->abort();
                return;
            }
            socket->read(end + 1);
            socket->disconnectFromServer();
            emit Requested(QString::fromUtf8(received.left(end)));
        });
    }
}

bool HandOverToRunningCopy(const QString& path, int timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(HandoverSocketPath());
    if (!socket.waitForConnected(timeout_ms)) return false;
    socket.write(path.toUtf8() + '\0');
    if (!socket.waitForBytesWritten(timeout_ms)) return false;
    socket.disconnectFromServer();
    return true;
}

}  // namespace quillora
