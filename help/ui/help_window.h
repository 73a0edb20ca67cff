#pragma once

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "gui/qt_platform.h"
#include "help/help_file.h"

class QObject;
class QPushButton;
class QTextBrowser;

namespace quillora {

// The help file `Quillora.hlp`: one HTML document whose topics are the non-nested sections
// `<div id="topic-N">`; topic 0 is the contents.
class HelpFile {
public:
    // Reads the file. A missing or unreadable file gives false, and Html() then holds a message
    // that names the path, so a viewer can show it instead of the help.
    bool Load(const QString& path);

    bool IsLoaded() const { return loaded_; }
    const QString& Path() const { return path_; }
    bool HasTopic(int topic) const { return loaded_ && document_.HasTopic(topic); }
    QList<int> Topics() const;

    // The whole document, or the message when the file could not be read.
    QString Html() const { return html_; }
    // A document of that one topic with the file's style sheet; empty when there is no such topic.
    QString TopicHtml(int topic) const;

private:
    bool loaded_ = false;
    QString path_;
    QString html_;
    HelpDocument document_;
};

// The path of the application's help file: the program's folder followed by "Quillora.hlp",
// unless the program has set another one.
QString HelpFilePath();
void SetHelpFilePath(const QString& path);

// The help viewer: a non-modal top-level window that shows the help file, with Contents, Back
// and Forward, and links between topics. It comes to the front and stays usable when it is asked
// for while a modal dialog is open.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The one window of the process, created on first use and showing HelpFilePath(); the
    // second form makes `help_file_path` the application's help file first.
    static HelpWindow& Instance();
    static HelpWindow& Instance(const QString& help_file_path);

    bool LoadFile(const QString& path);
    const HelpFile& File() const { return file_; }
    QTextBrowser* Browser() const { return browser_; }

    void ShowContents();
    // Shows the window scrolled to topic N and brings it to the front; an unknown topic shows
    // the contents.
    void ShowTopic(int topic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnsureLoaded();
    void GoTo(int topic);
    void LeaveRoomAfterLastTopic();
    void Present();
    void FollowModalDialog();

    HelpFile file_;
    QTextBrowser* browser_ = nullptr;
    QPushButton* contents_button_ = nullptr;
    QPushButton* back_button_ = nullptr;
    QPushButton* forward_button_ = nullptr;
    QPointer<QWidget> followed_dialog_;
};

// A small frameless pop-up at `global_position` that shows just that topic's text, as dialogs
// use for the help of one control. It closes on a click or Escape; a link in it opens the topic
// in the help window. Returns the pop-up, or nullptr for topic 0. Only one is open at a time.
QWidget* ShowHelpPopup(int topic, const QPoint& global_position);
QWidget* ShowHelpPopup(const HelpFile& file, int topic, const QPoint& global_position);

// The help window and its pop-ups as the production platform's help viewer.
HelpViewer& HelpWindowViewer();

}  // namespace quillora
