#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace quillora {

class ProfileBatch;

// One page of the settings dialog: its controls start from the settings file and Write puts
// their keys into the batch that OK writes.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    SettingsPage(const char* object_name, int help_topic, QWidget* parent);
    virtual void Write(ProfileBatch& batch) const = 0;
    int HelpTopic() const { return help_topic_; }

    // Fitting the page to longer captions (a language pack's): every push button grows to its
    // caption and every group box to what it holds; the width the page then needs is returned.
    int FitToCaptions();
    // Gives every group box the page's width less the margins, after the dialog has grown.
    virtual void SetPageWidth(int width);

protected:
    // Controls placed by their position on the page; each gets its object name.
    QGroupBox* AddGroup(QWidget* parent, const char* name, const QString& caption, QRect place);
    QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, QRect place);
    // A check box as wide as its caption plus 20 pixels, so a longer translation is not cut.
    QCheckBox* AddCheckBox(QWidget* parent, const char* name, const QString& caption, QPoint place,
                           bool checked);

private:
    int help_topic_;
};

}  // namespace quillora
