#include "gui/context_help.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <utility>

namespace quillora {

void SetHelpContext(QObject* object, int topic) {
    if (object) object->setProperty(kHelpContextProperty, topic);
}

int HelpContextOf(const QObject* object) {
    for (const QObject* o = object; o; o = o->parent()) {
        const int topic = o->property(kHelpContextProperty).toInt();
        if (topic != 0) return topic;
    }
    return 0;
}

int ContextHelpTopic(const QObject* target) {
    if (const auto* menu = qobject_cast<const QMenu*>(target)) {
        if (const QAction* item = menu->activeAction()) {
            const int own = item->property(kHelpContextProperty).toInt();
            if (own != 0) return own;
        }
    }
    return HelpContextOf(target);
}

namespace {

// The window that a widget's help request belongs to: its own window, or for a menu the window
// of the control or menu bar that owns it.
const QWidget* OwningWindow(const QWidget* widget) {
    while (qobject_cast<const QMenu*>(widget) && widget->parentWidget()) {
        widget = widget->parentWidget();
    }
    return widget ? widget->window() : nullptr;
}

QPoint HelpPosition(const QWidget* widget) {
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
        if (QAction* item = menu->activeAction()) {
            return menu->mapToGlobal(menu->actionGeometry(item).bottomLeft());
        }
    }
    return widget->mapToGlobal(QPoint(widget->width() / 2, widget->height() / 2));
}

// Watches the whole application, because F1 goes to whichever control or menu has the keyboard.
class ContextHelpRouter : public QObject {
public:
    ContextHelpRouter(QWidget* window, ContextHelpHandler show)
        : QObject(window), window_(window), show_(std::move(show)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::WhatsThis &&
            type != QEvent::QueryWhatsThis) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || OwningWindow(widget) != window_) return false;

        if (type == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
            if (const int topic = ContextHelpTopic(widget)) show_(topic, HelpPosition(widget));
            return true;
        }
        const int topic = HelpContextOf(widget);
        if (type == QEvent::QueryWhatsThis) {
            event->setAccepted(topic != 0);
            return topic != 0;
        }
        if (topic != 0) show_(topic, static_cast<QHelpEvent*>(event)->globalPos());
        return true;
    }

private:
    QWidget* window_;
    ContextHelpHandler show_;
};

}  // namespace

void EnableContextHelp(QWidget* window, ContextHelpHandler show) {
    if (window && show) new ContextHelpRouter(window, std::move(show));
}

}  // namespace quillora
