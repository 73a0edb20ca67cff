#pragma once

#include "gui/platform.h"

namespace quillora {

// Where the production platform sends help requests. The help window is one; start-up installs
// it, so that this floor knows nothing of the windows above it.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void ShowContents() = 0;
    virtual void ShowTopic(int topic) = 0;
    virtual void ShowPopup(int topic, const QPoint& global_position) = 0;
};
void InstallHelpViewer(HelpViewer* viewer);  // takes no ownership; nullptr: help does nothing

// The production platform: Qt's message boxes, file, font and colour dialogs, the desktop's
// opener and the installed help viewer.
class QtPlatform : public Platform {
public:
    MessageAnswer ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                              MessageIcon icon, MessageButtons buttons) override;
    QStringList GetOpenFileNames(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> GetSaveFileName(QWidget* parent,
                                           const FileDialogRequest& request) override;
    std::optional<QString> GetExistingFolder(QWidget* parent, const QString& title,
                                             const QString& start_folder) override;
    std::optional<FontChoice> ChooseFont(QWidget* parent, const QFont& initial,
                                         const QColor& initial_color) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial,
                                      QColor (&custom_colors)[16]) override;
    bool OpenWithDesktop(const QString& path_or_address) override;
    void ShowHelpContents() override;
    void ShowHelpTopic(int topic) override;
    void ShowHelpPopup(int topic, const QPoint& global_position) override;
    bool IsSystemTrayAvailable() override;
    void SetTaskBarEntry(QWidget& window, bool shown) override;
};

// "desc|pattern|desc|pattern" to Qt's name filters ("desc (pattern)").
QStringList QtNameFilters(const QString& filter);

}  // namespace quillora
