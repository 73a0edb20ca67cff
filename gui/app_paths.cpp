#include "gui/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "gui/text_codec.h"
#include "settings/settings_schema.h"

namespace quillora {

QString ProgramFolder() {
    const QString home = qEnvironmentVariable("QUILLORA_HOME");
    if (!home.isEmpty()) return QDir(home).absolutePath();
    return QCoreApplication::applicationDirPath();
}

namespace {
bool IsWritableFolder(const QString& folder) {
    // QFileInfo::isWritable reads permission bits only; creating a file is the real test.
    QTemporaryFile probe(folder + QStringLiteral("/.quillora-write-test-XXXXXX"));
    return probe.open();
}
}  // namespace

QString WritableDataFolder() {
    QString program = ProgramFolder();
    if (IsWritableFolder(program)) return program;
    QString config =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Quillora";
    QDir().mkpath(config);
    return config;
}

QString SettingsFilePath() {
    return WritableDataFolder() + QStringLiteral("/Quillora.ini");
}

QString DefaultFolder() {
    return QDir::homePath();
}

QString ResolveFolderSetting(const QString& stored) {
    if (stored.trimmed().isEmpty()) return DefaultFolder();
    return FromNative(FolderFromSetting(ToNative(stored.trimmed()), ToNative(DefaultFolder())));
}

}  // namespace quillora
