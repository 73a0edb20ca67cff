#include "app/guarded_application.h"

#include <exception>

#include "gui/lang.h"
#include "gui/platform.h"

namespace quillora {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportException(e.what());
    } catch (...) {
        ReportException("Unknown error.");
    }
    return false;
}

void ReportException(const char* what) {
    Platform::Instance().ShowMessage(nullptr, QString::fromUtf8(what), AppTitle(),
                                     MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace quillora
