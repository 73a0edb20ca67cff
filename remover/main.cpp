// Quillrid: removes the installed Quillora. It has no window of its own, only its two message
// boxes, takes no arguments and ends with exit code 0 whatever happened.
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QUrl>
#include <cstdlib>
#include <exception>

#include "remover/places.h"
#include "remover/removal.h"

namespace {

using quillora::remover::kCaption;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class MessageBoxRemoverUi : public quillora::remover::RemoverUi {
public:
    bool AskToRemove(std::string_view text) override {
        QMessageBox box(QMessageBox::Warning, ToQString(kCaption), ToQString(text),
                        QMessageBox::Yes | QMessageBox::No);
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    void ShowDone(std::string_view text) override {
        QMessageBox box(QMessageBox::Information, ToQString(kCaption), ToQString(text),
                        QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

    void OpenFolder(const std::filesystem::path& folder) override {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(folder.c_str())));
    }
};

std::optional<std::string> ReadEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillrid");
    try {
        const std::filesystem::path executable_folder =
            QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
        MessageBoxRemoverUi ui;
        quillora::remover::RunRemoval(
            quillora::remover::LocatePlaces(ReadEnvironment, executable_folder), ui);
    } catch (const std::exception&) {
        // Nothing is reported: the closing notice already tells the user to finish by hand.
    }
    return 0;
}
