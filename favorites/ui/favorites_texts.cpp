#include "favorites/ui/favorites_texts.h"

#include "gui/app_paths.h"
#include "gui/lang.h"
#include "gui/platform.h"
#include "gui/text_codec.h"

namespace quillora {

std::string FavoritesFile() {
    return favorites::FavoritesFilePath(ToNative(WritableDataFolder()));
}

favorites::Markers LocalizedMarkers() {
    return {ToNative(Lang(4201, favorites::kSeparatorLiteral)),
            ToNative(Lang(4202, favorites::kPlaceholderLiteral))};
}

QString EscapedCaption(const QString& title) {
    QString caption = title;
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void ReportFavoritesProblem(QWidget* owner, FavoritesProblem problem) {
    const QString name = QString::fromLatin1(favorites::kFileName);
    QString text;
    switch (problem) {
        case FavoritesProblem::CannotOpen:
            text = FormatMessage(Lang(7754, "Unable to open %s."), {name});
            break;
        case FavoritesProblem::CannotCreate:
            text = FormatMessage(Lang(7770, "Unable to create %s."), {name});
            break;
        case FavoritesProblem::BadFormat:
            text = Lang(
                7769, "The file format of Quillora.fav has changed.\n\nManually delete the file.");
            break;
    }
    Platform::Instance().ShowMessage(owner, text, AppTitle(), MessageIcon::Warning,
                                     MessageButtons::Ok);
}

void ReportPathTooLong(QWidget* owner, const QString& path) {
    Platform::Instance().ShowMessage(
        owner, FormatMessage(Lang(7795, "The path of \"%s\" is too long for a favorite."), {path}),
        AppTitle(), MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace quillora
