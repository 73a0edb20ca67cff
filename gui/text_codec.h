#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillora {

// Titles and texts are Windows-1252 bytes; the panes and the tree show QStrings. A character that
// Windows-1252 cannot hold becomes '?' when it enters, so what the user sees is what is saved.
QString FromAnsi(std::string_view bytes);
std::string ToAnsi(const QString& text);
// The text as it would come back after a round trip through ToAnsi (unrepresentable -> '?').
QString RepresentableInAnsi(const QString& text);

// Panes hold line breaks as single '\n'; the store holds CR LF. These convert whole texts.
QString StoreTextToPane(std::string_view canonical_text);
std::string PaneTextToStore(const QString& pane_text);

// Paths and settings use the platform's native encoding (UTF-8 here).
inline QString FromNative(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string ToNative(const QString& s) {
    return s.toStdString();
}

}  // namespace quillora
