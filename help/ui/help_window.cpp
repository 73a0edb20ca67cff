#include "help/ui/help_window.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <utility>

#include "base/file_io.h"
#include "gui/app_paths.h"
#include "gui/text_codec.h"

namespace quillora {

namespace {

const char kWindowTitle[] = "Quillora Help";

// The help file is one HTML document of some tens of kilobytes; a file far larger is not it.
constexpr std::uint64_t kMaxHelpFileBytes = std::uint64_t{16} << 20;

QString TopicAnchor(int topic) {
    return QStringLiteral("topic-%1").arg(topic);
}

QString MissingFileHtml(const QString& path) {
    return QStringLiteral(
               "<html><body style=\"font-family: sans-serif\">"
               "<h2>Help is not available</h2>"
               "<p>The help file could not be opened:</p>"
               "<p><b>%1</b></p>"
               "<p>Help needs the file <b>Quillora.hlp</b> in the same folder as the program. "
               "Reinstall Quillora or copy the file back there, then ask for help again.</p>"
               "</body></html>")
        .arg(path.toHtmlEscaped());
}

QString& ApplicationHelpFile() {
    static QString path;
    return path;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// HelpFile

bool HelpFile::Load(const QString& path) {
    path_ = path;
    loaded_ = false;
    document_ = HelpDocument();

    FileContents contents = ReadRegularFile(ToNative(path), kMaxHelpFileBytes);
    if (!contents.ok()) {
        html_ = MissingFileHtml(path);
        return false;
    }
    document_ = HelpDocument(std::move(contents.bytes));
    html_ = QString::fromStdString(document_.Html());
    loaded_ = true;
    return true;
}

QList<int> HelpFile::Topics() const {
    QList<int> topics;
    if (!loaded_) return topics;
    for (int topic : document_.Topics()) topics.append(topic);
    return topics;
}

QString HelpFile::TopicHtml(int topic) const {
    if (!HasTopic(topic)) return {};
    const std::string_view section = document_.TopicSection(topic);
    return QStringLiteral("<html><head>") + QString::fromStdString(document_.StyleSheet()) +
           QStringLiteral("</head><body>") +
           QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) +
           QStringLiteral("</body></html>");
}

QString HelpFilePath() {
    if (!ApplicationHelpFile().isEmpty()) return ApplicationHelpFile();
    return QDir(ProgramFolder()).filePath(QStringLiteral("Quillora.hlp"));
}

void SetHelpFilePath(const QString& path) {
    ApplicationHelpFile() = path;
}

// ---------------------------------------------------------------------------------------------
// HelpWindow

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    resize(700, 620);

    contents_button_ = new QPushButton(tr("&Contents"), this);
    contents_button_->setObjectName(QStringLiteral("HelpContentsButton"));
    back_button_ = new QPushButton(tr("&Back"), this);
    back_button_->setObjectName(QStringLiteral("HelpBackButton"));
    back_button_->setEnabled(false);
    forward_button_ = new QPushButton(tr("&Forward"), this);
    forward_button_->setObjectName(QStringLiteral("HelpForwardButton"));
    forward_button_->setEnabled(false);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->viewport()->installEventFilter(this);
    browser_->document()->setDocumentMargin(10);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents_button_);
    buttons->addWidget(back_button_);
    buttons->addWidget(forward_button_);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);

    connect(contents_button_, &QPushButton::clicked, this, &HelpWindow::ShowContents);
    connect(back_button_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_button_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_button_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_button_, &QPushButton::setEnabled);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

HelpWindow& HelpWindow::Instance() {
    static QPointer<HelpWindow> instance;
    if (!instance) {
        instance = new HelpWindow;
        static bool cleanup_registered = false;
        if (!cleanup_registered) {
            cleanup_registered = true;
            qAddPostRoutine([] { delete instance.data(); });
        }
    }
    if (!instance->file_.IsLoaded() || instance->file_.Path() != HelpFilePath()) {
        instance->LoadFile(HelpFilePath());
    }
    return *instance;
}

HelpWindow& HelpWindow::Instance(const QString& help_file_path) {
    SetHelpFilePath(help_file_path);
    return Instance();
}

bool HelpWindow::LoadFile(const QString& path) {
    const bool ok = file_.Load(path);
    browser_->setHtml(file_.Html());
    browser_->clearHistory();
    LeaveRoomAfterLastTopic();
    return ok;
}

void HelpWindow::EnsureLoaded() {
    // A help file that was missing may have been put back since.
    if (!file_.IsLoaded()) LoadFile(file_.Path().isEmpty() ? HelpFilePath() : file_.Path());
}

void HelpWindow::ShowContents() {
    EnsureLoaded();
    Present();
    if (file_.HasTopic(0)) GoTo(0);
    browser_->verticalScrollBar()->setValue(0);
}

void HelpWindow::ShowTopic(int topic) {
    EnsureLoaded();
    Present();
    if (file_.HasTopic(topic)) {
        GoTo(topic);
    } else if (file_.HasTopic(0)) {
        GoTo(0);
    }
}

void HelpWindow::GoTo(int topic) {
    browser_->setSource(QUrl(QLatin1Char('#') + TopicAnchor(topic)));
    browser_->scrollToAnchor(TopicAnchor(topic));
    // A little room above the topic's heading.
    QScrollBar* bar = browser_->verticalScrollBar();
    bar->setValue(qMax(0, bar->value() - 6));
}

void HelpWindow::Present() {
    if (!windowHandle()) create();
    FollowModalDialog();
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

// A modal dialog blocks every other window of the program, yet help asked for in a dialog is
// read beside it, as the platform's help viewer is. While a modal dialog is open the help window
// belongs to it (is its transient): the dialog's modality does not block a window of its own,
// and the window manager keeps that window in front of the dialog. When the dialog closes the
// help window stands on its own again (or belongs to the dialog below, if one is still open).
void HelpWindow::FollowModalDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == this || (modal && !modal->isVisible())) modal = nullptr;
    if (modal == followed_dialog_) return;
    if (followed_dialog_) followed_dialog_->removeEventFilter(this);
    followed_dialog_ = modal;
    if (modal) modal->installEventFilter(this);
    windowHandle()->setTransientParent(modal ? modal->windowHandle() : nullptr);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == browser_->viewport() && event->type() == QEvent::Resize) {
        LeaveRoomAfterLastTopic();
    }
    if (watched == followed_dialog_ && event->type() == QEvent::Hide) FollowModalDialog();
    return QWidget::eventFilter(watched, event);
}

// A blank band after the last topic, one view high, lets every topic scroll to the top.
void HelpWindow::LeaveRoomAfterLastTopic() {
    if (!file_.IsLoaded()) return;
    QTextFrame* root = browser_->document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    const int room = qMax(0, browser_->viewport()->height() - 48);
    if (static_cast<int>(format.bottomMargin()) == room) return;
    format.setBottomMargin(room);
    root->setFrameFormat(format);
}

// ---------------------------------------------------------------------------------------------
// Pop-up topics

namespace {

class HelpPopup : public QFrame {
public:
    explicit HelpPopup(const QString& html) : QFrame(nullptr, Qt::Popup) {
        setObjectName(QStringLiteral("HelpPopup"));
        setAttribute(Qt::WA_DeleteOnClose);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
        QPalette colors = palette();
        colors.setColor(QPalette::Window, colors.color(QPalette::ToolTipBase));
        colors.setColor(QPalette::Base, colors.color(QPalette::ToolTipBase));
        colors.setColor(QPalette::Text, colors.color(QPalette::ToolTipText));
        setPalette(colors);
        setAutoFillBackground(true);

        text_ = new QTextBrowser(this);
        text_->setObjectName(QStringLiteral("HelpPopupText"));
        text_->setFrameStyle(QFrame::NoFrame);
        text_->setOpenLinks(false);
        text_->setPalette(colors);
        text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text_->setHtml(html);
        text_->viewport()->installEventFilter(this);
        connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
            const QString fragment = url.fragment();
            if (fragment.startsWith(QStringLiteral("topic-"))) {
                HelpWindow::Instance().ShowTopic(fragment.mid(6).toInt());
            }
            close();
        });

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(text_);

        // Sized to the text, measured on a copy: the browser lays its own document out at
        // whatever width it has at the moment.
        const int width = 380;
        QTextDocument measure;
        measure.setDefaultFont(text_->font());
        measure.setDocumentMargin(text_->document()->documentMargin());
        measure.setHtml(html);
        measure.setTextWidth(width - 10);
        const int height = static_cast<int>(measure.size().height()) + 12;
        text_->setMinimumSize(0, 0);
        setFixedSize(width, qMin(height, 440));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
            event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
            close();
            return;
        }
        QFrame::keyPressEvent(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A click on plain text closes the pop-up; a click on a link is the browser's.
        if (watched == text_->viewport() && event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (text_->anchorAt(mouse->position().toPoint()).isEmpty()) {
                close();
                return true;
            }
        }
        return QFrame::eventFilter(watched, event);
    }

private:
    QTextBrowser* text_ = nullptr;
};

QPointer<QWidget>& OpenPopup() {
    static QPointer<QWidget> popup;
    return popup;
}

}  // namespace

QWidget* ShowHelpPopup(const HelpFile& file, int topic, const QPoint& global_position) {
    if (topic == 0) return nullptr;
    if (QWidget* old = OpenPopup()) old->close();

    QString html = file.TopicHtml(topic);
    if (html.isEmpty()) {
        html = file.IsLoaded() ? QStringLiteral("<p>No help topic is available for this item.</p>")
                               : file.Html();
    }
    auto* popup = new HelpPopup(html);

    QRect frame(global_position, popup->size());
    if (const QScreen* screen = QGuiApplication::screenAt(global_position)) {
        const QRect area = screen->availableGeometry();
        if (frame.right() > area.right()) frame.moveRight(area.right());
        if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
        if (frame.left() < area.left()) frame.moveLeft(area.left());
        if (frame.top() < area.top()) frame.moveTop(area.top());
    }
    popup->move(frame.topLeft());
    popup->show();
    OpenPopup() = popup;
    return popup;
}

QWidget* ShowHelpPopup(int topic, const QPoint& global_position) {
    if (topic == 0) return nullptr;
    HelpFile file;
    file.Load(HelpFilePath());
    return ShowHelpPopup(file, topic, global_position);
}

HelpViewer& HelpWindowViewer() {
    class Viewer : public HelpViewer {
    public:
        void ShowContents() override { HelpWindow::Instance().ShowContents(); }
        void ShowTopic(int topic) override { HelpWindow::Instance().ShowTopic(topic); }
        void ShowPopup(int topic, const QPoint& global_position) override {
            ShowHelpPopup(topic, global_position);
        }
    };
    static Viewer viewer;
    return viewer;
}

}  // namespace quillora
