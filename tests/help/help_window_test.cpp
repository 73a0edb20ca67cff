#include "help/ui/help_window.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <vector>

#include "gui/context_help.h"

namespace quillora {
namespace {

// Every number the program asks the help file for: the Help menu, the dialogs' Help buttons and
// the context help of windows, menus and controls.
const std::vector<int> kTopicsAskedFor = {
    // What's New; the settings pages; favorites editor contents; export, image chooser, find,
    // favorite properties, replace.
    60, 39, 20, 22, 21, 92, 6, 24, 51, 69, 61, 70,
    // Main window and its menus; favorites editor menus.
    14, 8, 9, 44, 10, 11, 12, 13, 15, 16, 17,
    // Settings dialog controls.
    43, 46, 47, 49, 84, 85, 86, 87, 88, 89, 90, 25, 26, 27, 28, 55, 58, 59, 33, 34, 91, 35, 29, 30,
    31, 32, 65, 80, 93, 94, 95,
    // Export, image chooser, custom image.
    36, 37, 45, 48, 50, 53, 54, 56, 57,
    // Find, replace, favorite properties, properties.
    66, 67, 68, 71, 72, 73, 74, 62, 63, 64, 75, 76, 77, 78, 82};

QString ShippedHelpFile() {
    const QString beside_sources = QFileInfo(QStringLiteral(__FILE__))
                                       .dir()
                                       .filePath(QStringLiteral("../../help/Quillora.hlp"));
    if (QFileInfo::exists(beside_sources)) return QDir::cleanPath(beside_sources);
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../../app/Quillora.hlp"));
}

QTextBlock BlockWithAnchor(QTextDocument* document, const QString& anchor) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(anchor)) return block;
        }
    }
    return {};
}

// How far below the top of the view the block holding the anchor starts.
int AnchorOffsetInView(QTextBrowser* browser, const QString& anchor) {
    const QTextBlock block = BlockWithAnchor(browser->document(), anchor);
    if (!block.isValid()) return -100000;
    const QRectF rect = browser->document()->documentLayout()->blockBoundingRect(block);
    return qRound(rect.top()) - browser->verticalScrollBar()->value();
}

class HelpFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(file_.Load(ShippedHelpFile())) << ShippedHelpFile().toStdString();
    }
    HelpFile file_;
};

TEST_F(HelpFileTest, EveryTopicTheProgramAsksForHasASectionWithAHeadingAndText) {
    for (int topic : kTopicsAskedFor) {
        SCOPED_TRACE(topic);
        ASSERT_TRUE(file_.HasTopic(topic));
        const QString html = file_.TopicHtml(topic);
        EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<h[123]>[^<]+</h[123]>"))));
        // A real paragraph, not a stub.
        QString text = html;
        text.remove(QRegularExpression(QStringLiteral("<style.*</style>"),
                                       QRegularExpression::DotMatchesEverythingOption));
        text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        EXPECT_GT(text.simplified().size(), 50);
    }
    EXPECT_TRUE(file_.HasTopic(0));
    EXPECT_FALSE(file_.HasTopic(999));
}

TEST_F(HelpFileTest, ContentsLinksEveryTopicAndEveryLinkLeadsToATopic) {
    const QString contents = file_.TopicHtml(0);
    for (int topic : file_.Topics()) {
        if (topic == 0) continue;
        EXPECT_TRUE(contents.contains(QStringLiteral("href=\"#topic-%1\"").arg(topic)))
            << "topic " << topic << " is missing from the contents";
    }
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]*)\""));
    for (auto it = link.globalMatch(file_.Html()); it.hasNext();) {
        const QString target = it.next().captured(1);
        ASSERT_TRUE(target.startsWith(QStringLiteral("topic-"))) << target.toStdString();
        EXPECT_TRUE(file_.HasTopic(target.mid(6).toInt())) << target.toStdString();
    }
}

TEST_F(HelpFileTest, TopicHtmlHoldsOnlyThatTopicWithTheStyleSheet) {
    const QString html = file_.TopicHtml(67);
    EXPECT_TRUE(html.contains(QStringLiteral("id=\"topic-67\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("Case Sensitive")));
    EXPECT_EQ(html.count(QStringLiteral("id=\"topic-")), 1);
    EXPECT_TRUE(html.contains(QStringLiteral("<style")));
    EXPECT_TRUE(file_.TopicHtml(999).isEmpty());
}

TEST_F(HelpFileTest, NoScriptsOrOutsideImages) {
    EXPECT_FALSE(file_.Html().contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    EXPECT_FALSE(file_.Html().contains(QStringLiteral("<img"), Qt::CaseInsensitive));
}

TEST(HelpFileLoad, MissingFileGivesAMessageNamingThePathAndNoTopics) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone/Quillora.hlp"));
    HelpFile file;
    EXPECT_FALSE(file.Load(path));
    EXPECT_FALSE(file.IsLoaded());
    EXPECT_FALSE(file.HasTopic(0));
    EXPECT_TRUE(file.Html().contains(path.toHtmlEscaped()));
    EXPECT_TRUE(file.TopicHtml(14).isEmpty());
}

TEST(HelpFileLoad, SectionsAreFoundWhateverTheAttributeOrderAndAReloadForgetsOldTopics) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillora.hlp"));
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(
            "<html><body><div id=\"topic-5\" class=\"topic\"><h2>Five</h2></div>"
            "<div class=\"topic\" id=\"topic-7\"><h2>Seven &amp; more</h2></div>"
            "<div id=\"topic-9\"><h2>Unclosed</h2></body></html>");
    }
    HelpFile file;
    ASSERT_TRUE(file.Load(path));
    EXPECT_TRUE(file.HasTopic(5));
    EXPECT_TRUE(file.HasTopic(7));
    EXPECT_FALSE(file.HasTopic(9));
    EXPECT_TRUE(file.TopicHtml(7).contains(QStringLiteral("Seven &amp; more")));
    EXPECT_FALSE(file.TopicHtml(7).contains(QStringLiteral("Five")));

    EXPECT_FALSE(file.Load(dir.filePath(QStringLiteral("other.hlp"))));
    EXPECT_FALSE(file.HasTopic(5));
}

TEST(HelpWindowTest, ShowTopicScrollsToTheAnchorAndRaisesTheWindow) {
    HelpWindow window;
    ASSERT_TRUE(window.LoadFile(ShippedHelpFile()));
    EXPECT_EQ(window.objectName(), QStringLiteral("HelpWindow"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillora Help"));
    EXPECT_TRUE(window.isWindow());
    EXPECT_FALSE(window.isModal());

    window.ShowTopic(44);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Browser()->source().fragment(), QStringLiteral("topic-44"));
    const int offset = AnchorOffsetInView(window.Browser(), QStringLiteral("topic-44"));
    EXPECT_GE(offset, -4);
    EXPECT_LE(offset, 30);

    // The last topic of the file can reach the top of the view too.
    window.ShowTopic(41);
    QApplication::processEvents();
    const int last_offset = AnchorOffsetInView(window.Browser(), QStringLiteral("topic-41"));
    EXPECT_GE(last_offset, -4);
    EXPECT_LE(last_offset, 30);
}

TEST(HelpWindowTest, ContentsBackAndForwardFollowTheTopicsShown) {
    HelpWindow window;
    ASSERT_TRUE(window.LoadFile(ShippedHelpFile()));
    auto* back = window.findChild<QPushButton*>(QStringLiteral("HelpBackButton"));
    auto* forward = window.findChild<QPushButton*>(QStringLiteral("HelpForwardButton"));
    auto* contents = window.findChild<QPushButton*>(QStringLiteral("HelpContentsButton"));
    ASSERT_TRUE(back && forward && contents);

    window.ShowContents();
    QApplication::processEvents();
    EXPECT_EQ(window.Browser()->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(back->isEnabled());

    // A link in the contents, as a click on it would follow it.
    window.Browser()->setSource(QUrl(QStringLiteral("#topic-3")));
    QApplication::processEvents();
    EXPECT_TRUE(back->isEnabled());
    const int at_topic = window.Browser()->verticalScrollBar()->value();
    EXPECT_GT(at_topic, 0);

    back->click();
    QApplication::processEvents();
    EXPECT_LE(window.Browser()->verticalScrollBar()->value(), 10);
    EXPECT_TRUE(forward->isEnabled());
    forward->click();
    QApplication::processEvents();
    EXPECT_EQ(window.Browser()->verticalScrollBar()->value(), at_topic);

    contents->click();
    QApplication::processEvents();
    EXPECT_EQ(window.Browser()->verticalScrollBar()->value(), 0);
}

TEST(HelpWindowTest, MissingFileShowsAMessageAndTheFileIsPickedUpOnceItIsThere) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillora.hlp"));
    HelpWindow window;
    EXPECT_FALSE(window.LoadFile(path));
    window.ShowTopic(14);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    const QString shown = window.Browser()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Help is not available")));
    EXPECT_TRUE(shown.contains(path));

    ASSERT_TRUE(QFile::copy(ShippedHelpFile(), path));
    window.ShowTopic(14);
    QApplication::processEvents();
    EXPECT_TRUE(window.File().IsLoaded());
    EXPECT_EQ(window.Browser()->source().fragment(), QStringLiteral("topic-14"));
}

TEST(HelpWindowTest, UnknownTopicShowsTheContents) {
    HelpWindow window;
    ASSERT_TRUE(window.LoadFile(ShippedHelpFile()));
    window.ShowTopic(3);
    window.ShowTopic(999);
    QApplication::processEvents();
    EXPECT_EQ(window.Browser()->source().fragment(), QStringLiteral("topic-0"));
}

// Help asked for from a modal dialog (its Help button, or a link in a control's pop-up) is read
// beside the dialog: the help window comes to the front and takes clicks through the window
// system, where modality applies, while the window the dialog belongs to stays blocked.
TEST(HelpWindowTest, HelpFromAModalDialogComesToTheFrontAndTakesClicks) {
    QWidget main_window;
    auto* main_button = new QPushButton(QStringLiteral("Main"), &main_window);
    main_button->setGeometry(10, 10, 80, 25);
    int main_clicks = 0;
    QObject::connect(main_button, &QPushButton::clicked, [&] { ++main_clicks; });
    main_window.resize(200, 100);
    main_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main_window));

    HelpWindow help;
    ASSERT_TRUE(help.LoadFile(ShippedHelpFile()));
    auto* contents = help.findChild<QPushButton*>(QStringLiteral("HelpContentsButton"));
    ASSERT_TRUE(contents);
    const auto click = [](QWidget* window, QWidget* control) {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          control->mapTo(window, control->rect().center()));
    };

    QDialog dialog(&main_window);
    dialog.resize(150, 80);
    bool ran = false;
    QTimer::singleShot(0, &dialog, [&] {
        ran = true;
        help.ShowTopic(69);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &help; }));
        click(&help, contents);
        EXPECT_EQ(help.Browser()->source().fragment(), QStringLiteral("topic-0"));
        click(&main_window, main_button);
        EXPECT_EQ(main_clicks, 0);
        dialog.reject();
    });
    dialog.exec();
    EXPECT_TRUE(ran);

    // With the dialog gone the help window is still open and usable, a window of its own that the
    // window manager no longer keeps in front of the others.
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.windowHandle()->transientParent(), nullptr);
    help.ShowTopic(44);
    click(&help, contents);
    EXPECT_EQ(help.Browser()->source().fragment(), QStringLiteral("topic-0"));
    click(&main_window, main_button);
    EXPECT_EQ(main_clicks, 1);
}

TEST(HelpWindowTest, InstanceIsOneWindowShowingTheApplicationsHelpFile) {
    HelpWindow& first = HelpWindow::Instance(ShippedHelpFile());
    EXPECT_EQ(HelpFilePath(), ShippedHelpFile());
    EXPECT_TRUE(first.File().IsLoaded());
    EXPECT_EQ(&HelpWindow::Instance(), &first);
    first.close();
}

TEST(HelpPopupTest, ShowsJustTheTopicAndOnlyOneAtATime) {
    HelpFile file;
    ASSERT_TRUE(file.Load(ShippedHelpFile()));
    EXPECT_EQ(ShowHelpPopup(file, 0, QPoint(10, 10)), nullptr);

    QPointer<QWidget> first = ShowHelpPopup(file, 67, QPoint(40, 40));
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->windowFlags().testFlag(Qt::Popup));
    auto* text = first->findChild<QTextBrowser*>();
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Case Sensitive")));
    EXPECT_FALSE(text->toPlainText().contains(QStringLiteral("Text to Search for")));

    QPointer<QWidget> second = ShowHelpPopup(file, 998, QPoint(40, 40));
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->findChild<QTextBrowser*>()->toPlainText().contains(
        QStringLiteral("No help topic")));

    QTest::keyClick(second, Qt::Key_Escape);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull() || !second->isVisible());
}

TEST(HelpContextTest, NearestNumberUpTheParentsWins) {
    QWidget window;
    auto* group = new QWidget(&window);
    auto* edit = new QLineEdit(group);
    auto* plain = new QWidget(&window);

    EXPECT_EQ(HelpContextOf(edit), 0);
    EXPECT_EQ(HelpContextOf(nullptr), 0);

    SetHelpContext(&window, 14);
    EXPECT_EQ(HelpContextOf(edit), 14);
    EXPECT_EQ(HelpContextOf(plain), 14);

    SetHelpContext(group, 39);
    EXPECT_EQ(HelpContextOf(edit), 39);
    SetHelpContext(edit, 66);
    EXPECT_EQ(HelpContextOf(edit), 66);

    // Zero means "none": the search goes on to the parents.
    SetHelpContext(edit, 0);
    EXPECT_EQ(HelpContextOf(edit), 39);
}

TEST(HelpContextTest, MenuUsesTheHighlightedItemsNumberOrElseItsOwn) {
    QWidget window;
    SetHelpContext(&window, 14);
    auto* bar = new QMenuBar(&window);
    QMenu* file_menu = bar->addMenu(QStringLiteral("&File"));
    SetHelpContext(file_menu, 8);
    QAction* plain_item = file_menu->addAction(QStringLiteral("&New"));
    QAction* special_item = file_menu->addAction(QStringLiteral("&Open..."));
    SetHelpContext(special_item, 7);
    QMenu* reopen = file_menu->addMenu(QStringLiteral("&Re-Open"));

    EXPECT_EQ(ContextHelpTopic(file_menu), 8);
    file_menu->setActiveAction(plain_item);
    EXPECT_EQ(ContextHelpTopic(file_menu), 8);
    file_menu->setActiveAction(special_item);
    EXPECT_EQ(ContextHelpTopic(file_menu), 7);
    EXPECT_EQ(ContextHelpTopic(reopen), 8);
    EXPECT_EQ(ContextHelpTopic(bar), 14);
}

struct HelpRequest {
    int topic = 0;
    QPoint position;
};

TEST(ContextHelpRoutingTest, F1AndWhatsThisAskForTheControlsNumberInItsOwnWindowOnly) {
    QWidget window;
    SetHelpContext(&window, 14);
    auto* layout = new QVBoxLayout(&window);
    auto* numbered = new QLineEdit(&window);
    SetHelpContext(numbered, 66);
    auto* unnumbered = new QLineEdit(&window);
    layout->addWidget(numbered);
    layout->addWidget(unnumbered);
    QWidget other;  // another window must not be served
    SetHelpContext(&other, 6);
    auto* other_edit = new QLineEdit(&other);

    std::vector<HelpRequest> requests;
    EnableContextHelp(&window, [&](int topic, const QPoint& at) {
        requests.push_back({topic, at});
    });

    QTest::keyClick(numbered, Qt::Key_F1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].topic, 66);
    EXPECT_EQ(requests[0].position,
              numbered->mapToGlobal(QPoint(numbered->width() / 2, numbered->height() / 2)));

    QTest::keyClick(unnumbered, Qt::Key_F1);  // falls back to the window's number
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].topic, 14);

    QTest::keyClick(numbered, Qt::Key_F1, Qt::ShiftModifier);  // not plain F1
    QTest::keyClick(other_edit, Qt::Key_F1);
    EXPECT_EQ(requests.size(), 2u);

    QHelpEvent query(QEvent::QueryWhatsThis, QPoint(2, 2), QPoint(300, 200));
    EXPECT_TRUE(QApplication::sendEvent(numbered, &query));
    QHelpEvent click(QEvent::WhatsThis, QPoint(2, 2), QPoint(300, 200));
    QApplication::sendEvent(numbered, &click);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].topic, 66);
    EXPECT_EQ(requests[2].position, QPoint(300, 200));
}

TEST(ContextHelpRoutingTest, NothingIsAskedWithoutANumberAndRoutingEndsWithTheWindow) {
    std::vector<int> topics;
    auto* window = new QWidget;
    auto* edit = new QLineEdit(window);
    EnableContextHelp(window, [&](int topic, const QPoint&) { topics.push_back(topic); });
    QTest::keyClick(edit, Qt::Key_F1);
    EXPECT_TRUE(topics.empty());
    delete window;

    QWidget later;
    auto* later_edit = new QLineEdit(&later);
    SetHelpContext(later_edit, 20);
    QTest::keyClick(later_edit, Qt::Key_F1);  // the deleted window's routing is gone
    EXPECT_TRUE(topics.empty());
}

TEST(ContextHelpRoutingTest, F1InAMenuOfTheWindowAsksForTheMenusNumber) {
    QWidget window;
    SetHelpContext(&window, 14);
    auto* bar = new QMenuBar(&window);
    QMenu* edit_menu = bar->addMenu(QStringLiteral("&Edit"));
    SetHelpContext(edit_menu, 9);
    edit_menu->addAction(QStringLiteral("&Undo"));

    std::vector<int> topics;
    EnableContextHelp(&window, [&](int topic, const QPoint&) { topics.push_back(topic); });
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(edit_menu, &f1);
    ASSERT_EQ(topics.size(), 1u);
    EXPECT_EQ(topics[0], 9);
}

}  // namespace
}  // namespace quillora
