// Renders the application icon and the notes-file icon into the PNG sizes of the desktop's
// icon theme:
//   make_icons <folder>
// writes <folder>/hicolor/<N>x<N>/apps/quillora.png and
// <folder>/hicolor/<N>x<N>/mimetypes/application-x-quillora-notes.png.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

#include "gui/icons/app_icon.h"
#include "gui/icons/drawing.h"

namespace {

bool WriteIcon(const QString& root, int size, const char* context, const char* name,
               const quillora::Drawing& draw) {
    const QString folder =
        QStringLiteral("%1/hicolor/%2x%2/%3").arg(root).arg(size).arg(QLatin1String(context));
    const QString path = folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    if (!QDir().mkpath(folder) || !quillora::RenderDrawing(draw, QSize(size, size)).save(path)) {
        std::fprintf(stderr, "make_icons: cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (!WriteIcon(root, size, "apps", "quillora", quillora::DrawApplicationIcon) ||
            !WriteIcon(root, size, "mimetypes", "application-x-quillora-notes",
                       quillora::DrawDocumentIcon)) {
            return 1;
        }
    }
    return 0;
}
