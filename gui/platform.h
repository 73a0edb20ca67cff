#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace quillora {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What an open or save dialog is asked for. `filter` is in the "desc|pattern|desc|pattern" form.
struct FileDialogRequest {
    QString title;
    QString filter;
    QString default_extension;  // without the dot, added to a name typed without one
    QString initial_folder;
    QString preset_name;
    bool multiple = false;         // open dialog: several files may be chosen
    bool confirm_replace = false;  // save dialog: ask before replacing an existing file
};

// What the font dialog returns: the font and its colour.
struct FontChoice {
    QFont font;
    QColor color;
};

// Every service the program takes from the desktop and that a test must control: message
// boxes, file and folder pickers, font and colour dialogs, opening a file or address with the
// desktop, and help requests. Windows never call QMessageBox or QFileDialog directly.
class Platform {
public:
    virtual ~Platform() = default;

    virtual MessageAnswer ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                      MessageIcon icon, MessageButtons buttons) = 0;
    // Chosen paths; empty when the dialog was cancelled.
    virtual QStringList GetOpenFileNames(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> GetSaveFileName(QWidget* parent,
                                                   const FileDialogRequest& request) = 0;
    virtual std::optional<QString> GetExistingFolder(QWidget* parent, const QString& title,
                                                     const QString& start_folder) = 0;
    // The font dialog with its colour list of the 16 standard colours.
    virtual std::optional<FontChoice> ChooseFont(QWidget* parent, const QFont& initial,
                                                 const QColor& initial_color) = 0;
    // `custom_colors` holds the dialog's 16 custom colours, read and written back.
    virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial,
                                              QColor (&custom_colors)[16]) = 0;
    virtual bool OpenWithDesktop(const QString& path_or_address) = 0;

    virtual void ShowHelpContents() = 0;
    virtual void ShowHelpTopic(int topic) = 0;
    virtual void ShowHelpPopup(int topic, const QPoint& global_position) = 0;

    // Whether the desktop has a notification area to show a tray icon in, asked afresh each time.
    virtual bool IsSystemTrayAvailable() = 0;
    // Gives the top-level `window` its entry in the task bar, or takes it away.
    virtual void SetTaskBarEntry(QWidget& window, bool shown) = 0;

    // The one instance the program uses; tests install a scripted one.
    static Platform& Instance();
    static void Install(Platform* platform);  // takes no ownership; nullptr restores the default
};

}  // namespace quillora
