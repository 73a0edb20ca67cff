#include "gui/text_codec.h"

#include "base/cp1252.h"

namespace quillora {

QString FromAnsi(std::string_view bytes) {
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = out.data();
    for (size_t i = 0; i < bytes.size(); ++i) {
        dst[i] =
            QChar(static_cast<char16_t>(cp1252::ToCodePoint(static_cast<unsigned char>(bytes[i]))));
    }
    return out;
}

std::string ToAnsi(const QString& text) {
    std::string out;
    out.resize(static_cast<size_t>(text.size()));
    const QChar* src = text.constData();
    size_t n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character: one '?'.
        if (src[i].isHighSurrogate() && i + 1 < text.size() && src[i + 1].isLowSurrogate()) ++i;
        out[n++] = cp1252::FromCodePoint(src[i].unicode());
    }
    out.resize(n);
    return out;
}

QString RepresentableInAnsi(const QString& text) {
    return FromAnsi(ToAnsi(text));
}

QString StoreTextToPane(std::string_view canonical_text) {
    // Every line ends with CR LF, the last one too; the pane holds each break as one '\n', so a
    // text and its pane form convert into each other without loss.
    std::string joined;
    joined.reserve(canonical_text.size());
    for (size_t i = 0; i < canonical_text.size(); ++i) {
        const char c = canonical_text[i];
        if (c == '\r' && i + 1 < canonical_text.size() && canonical_text[i + 1] == '\n') continue;
        joined += c;
    }
    return FromAnsi(joined);
}

std::string PaneTextToStore(const QString& pane_text) {
    // The store splits at every kind of break and ends each line with CR LF itself.
    return ToAnsi(pane_text);
}

}  // namespace quillora
