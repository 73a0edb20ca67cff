#pragma once

#include <QApplication>

namespace quillora {

// The application object: an exception that escapes a handler is shown in an error box with
// its message, and the message loop goes on.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an error box with the exception's message and the application title as caption.
void ReportException(const char* what);

}  // namespace quillora
