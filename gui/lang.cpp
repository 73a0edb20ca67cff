#include "gui/lang.h"

#include "gui/app_paths.h"
#include "gui/text_codec.h"
#include "settings/language_pack.h"
#include "settings/settings_schema.h"

namespace quillora {

QString Lang(uint16_t id, const char* english) {
    const LanguageText& text = LanguageText::Instance();
    if (!text.HasModule()) return QString::fromUtf8(english);
    return QString::fromStdString(text.Get(id, english));
}

QString FormatMessage(const QString& format, std::initializer_list<QString> args) {
    QString out;
    out.reserve(format.size());
    auto next = args.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == QLatin1Char('%') && i + 1 < format.size() && format[i + 1] == QLatin1Char('s')) {
            if (next != args.end()) out += *next++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

QString LoadLanguagePack(const ProfileFile& settings) {
    const std::string name = ReadText(settings, settings_keys::kLanguagePack);
    if (name.empty()) return {};
    ConfiguredPack pack = LoadConfiguredPack(ToNative(ProgramFolder()), name);
    LanguageText::Instance().SetModule(std::move(pack.module));
    return FromNative(pack.name);
}

}  // namespace quillora
