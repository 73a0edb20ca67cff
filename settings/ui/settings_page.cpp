#include "settings/ui/settings_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include "gui/context_help.h"
#include "gui/translate.h"

namespace quillora {

namespace {
constexpr int kCheckBoxHeight = 17;
constexpr int kGroupMargin = 8;
}  // namespace

SettingsPage::SettingsPage(const char* object_name, int help_topic, QWidget* parent)
    : QWidget(parent), help_topic_(help_topic) {
    setObjectName(QString::fromLatin1(object_name));
    SetHelpContext(this, help_topic);
}

int SettingsPage::FitToCaptions() {
    int needed = 0;
    for (QGroupBox* group : findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        int group_needed = group->width();
        for (QWidget* child :
             group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (auto* button = qobject_cast<QPushButton*>(child)) {
                if (button->sizeHint().width() > button->width()) {
                    button->resize(button->sizeHint().width(), button->height());
                }
            }
            if (child->isVisibleTo(group) || qobject_cast<QPushButton*>(child)) {
                group_needed = std::max(group_needed, child->geometry().right() + 1 + kGroupMargin);
            }
        }
        group->resize(group_needed, group->height());
        needed = std::max(needed, group->geometry().right() + 1 + kGroupMargin);
    }
    return needed;
}

void SettingsPage::SetPageWidth(int width) {
    for (QGroupBox* group : findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        group->resize(width - group->x() - kGroupMargin, group->height());
    }
}

QGroupBox* SettingsPage::AddGroup(QWidget* parent, const char* name, const QString& caption,
                                  QRect place) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(place);
    return group;
}

QPushButton* SettingsPage::AddButton(QWidget* parent, const char* name, const QString& caption,
                                     QRect place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

QCheckBox* SettingsPage::AddCheckBox(QWidget* parent, const char* name, const QString& caption,
                                     QPoint place, bool checked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    box->setGeometry(place.x(), place.y(), CaptionFitWidth(*box), kCheckBoxHeight);
    return box;
}

}  // namespace quillora
