#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "gui/platform.h"

namespace quillora::testing {

// A platform for tests: records every call and answers from queues filled beforehand. A message
// box with no queued answer answers Cancel (or OK for a box with one button); a file dialog with
// no queued answer is cancelled.
class ScriptedPlatform : public Platform {
public:
    struct Message {
        QString text;
        QString caption;
        MessageIcon icon;
        MessageButtons buttons;
    };

    ScriptedPlatform() { Platform::Install(this); }
    ~ScriptedPlatform() override { Platform::Install(nullptr); }

    std::deque<MessageAnswer> message_answers;
    std::deque<QStringList> open_answers;
    std::deque<std::optional<QString>> save_answers;
    std::deque<std::optional<QString>> folder_answers;

    std::vector<Message> messages;
    std::vector<FileDialogRequest> open_requests;
    std::vector<FileDialogRequest> save_requests;
    struct FolderRequest {
        QString title;
        QString start_folder;
    };
    std::vector<FolderRequest> folder_requests;
    std::vector<QString> opened_with_desktop;
    std::vector<int> help_topics;        // 0 stands for the contents
    bool tray_available = false;         // the answer to IsSystemTrayAvailable
    std::optional<bool> task_bar_entry;  // what SetTaskBarEntry last asked for
    // Runs while a message box is up, after it has been recorded: what the window shows then.
    std::function<void()> on_message;

    MessageAnswer ShowMessage(QWidget*, const QString& text, const QString& caption,
                              MessageIcon icon, MessageButtons buttons) override {
        messages.push_back({text, caption, icon, buttons});
        if (on_message) on_message();
        if (!message_answers.empty()) {
            const MessageAnswer a = message_answers.front();
            message_answers.pop_front();
            return a;
        }
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    QStringList GetOpenFileNames(QWidget*, const FileDialogRequest& request) override {
        open_requests.push_back(request);
        if (open_answers.empty()) return {};
        QStringList a = open_answers.front();
        open_answers.pop_front();
        return a;
    }
// GCC's optimiser wrongly takes a copied optional QString for uninitialised in some callers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
    std::optional<QString> GetSaveFileName(QWidget*, const FileDialogRequest& request) override {
        save_requests.push_back(request);
        if (save_answers.empty()) return {};
        auto a = save_answers.front();
        save_answers.pop_front();
        return a;
    }
    std::optional<QString> GetExistingFolder(QWidget*, const QString& title,
                                             const QString& start_folder) override {
        folder_requests.push_back({title, start_folder});
        if (folder_answers.empty()) return {};
        auto a = folder_answers.front();
        folder_answers.pop_front();
        return a;
    }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    // Font and colour dialogs answer from these queues; an empty queue cancels. A colour
    // answer may also change the dialog's custom colours.
    std::deque<FontChoice> font_answers;
    std::deque<QColor> color_answers;
    std::function<void(QColor (&)[16])> on_custom_colors;
    // An answer without a valid colour keeps the colour the dialog started with.
    std::optional<FontChoice> ChooseFont(QWidget*, const QFont&, const QColor& color) override {
        if (font_answers.empty()) return {};
        FontChoice a = font_answers.front();
        if (!a.color.isValid()) a.color = color;
        font_answers.pop_front();
        return a;
    }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&, QColor (&custom)[16]) override {
        if (on_custom_colors) on_custom_colors(custom);
        if (color_answers.empty()) return {};
        QColor a = color_answers.front();
        color_answers.pop_front();
        return a;
    }
    bool OpenWithDesktop(const QString& path) override {
        opened_with_desktop.push_back(path);
        return true;
    }
    void ShowHelpContents() override {
        help_topics.push_back(0);
    }
    void ShowHelpTopic(int topic) override {
        help_topics.push_back(topic);
    }
    void ShowHelpPopup(int topic, const QPoint&) override {
        help_topics.push_back(topic);
    }
    bool IsSystemTrayAvailable() override {
        return tray_available;
    }
    void SetTaskBarEntry(QWidget&, bool shown) override {
        task_bar_entry = shown;
    }
};

}  // namespace quillora::testing
