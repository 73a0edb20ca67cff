#include "app/prop_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "document/notes_document.h"
#include "gui/context_help.h"
#include "gui/dialog_frame.h"
#include "gui/icons/app_icon.h"
#include "gui/lang.h"
#include "gui/text_codec.h"

namespace quillora {

namespace {

constexpr int kClientWidth = 262;
constexpr int kClientHeight = 222;
constexpr int kRepaintEvery = 20;
constexpr int kIconSide = 32;

// Help numbers of the rows and of the file name.
constexpr int kNotesRowHelp = 75;
constexpr int kFoldersRowHelp = 76;
constexpr int kTotalRowHelp = 77;
constexpr int kTextRowHelp = 78;
constexpr int kFileNameHelp = 82;

QLabel* AddText(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                int help) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    SetHelpContext(label, help);
    return label;
}

QString Bytes(int64_t size) {
    return QString::fromStdString(WithThousandsCommas(size)) + QLatin1Char(' ') +
           Lang(8005, "bytes");
}

// The document icon drawn at (1, 1) on the page's own face, whatever colour the style gives it.
class DocumentPicture : public QWidget {
public:
    explicit DocumentPicture(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Image1"));
        setFixedSize(kIconSide + 2, kIconSide + 2);
        SetHelpContext(this, kFileNameHelp);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        DocumentIcon().paint(&painter, QRect(1, 1, kIconSide, kIconSide));
    }
};

}  // namespace

QString DocumentDisplayName(const NotesDocument& document) {
    if (document.IsUntitled()) return Lang(7753, "Untitled.qlb");
    const QString path = FromNative(document.current_file_name);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

TPropForm::TPropForm(const NotesDocument& document, QWidget* parent)
    : QDialog(parent), document_(document) {
    setObjectName(QStringLiteral("PropForm"));
    setWindowTitle(Lang(8000, "Properties"));
    SetUpFixedDialogWindow(*this, kClientWidth, kClientHeight);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->setGeometry(kDialogMargin, kDialogMargin, kClientWidth - 2 * kDialogMargin, 172);
    page_ = new QWidget(tabs);
    page_->setObjectName(QStringLiteral("TabSheet1"));
    tabs->addTab(page_, Lang(8000, "Properties"));
    BuildPage(page_);

    auto* ok = new QPushButton(Lang(500, "OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(kClientWidth - kDialogMargin - 75, kClientHeight - kDialogMargin - 25, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // The counting starts from the event loop of the shown dialog.
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setSingleShot(true);
    timer_->setInterval(1);
    connect(timer_, &QTimer::timeout, this, &TPropForm::TimerTimer);
    timer_->start();
    CenterOnScreen(*this);
}

void TPropForm::BuildPage(QWidget* page) {
    auto* picture = new DocumentPicture(page);
    picture->move(12, 12);
    auto* name = new QLineEdit(DocumentDisplayName(document_), page);
    name->setObjectName(QStringLiteral("Edit1"));
    name->setReadOnly(true);
    name->setFrame(false);
    name->setGeometry(58, 20, 176, 18);
    // On the face of the page, like a label whose text can be selected.
    name->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    SetHelpContext(name, kFileNameHelp);

    const struct {
        const char* label_name;
        uint16_t id;
        const char* english;
        const char* value_name;
        int help;
        QLabel** value;
    } rows[] = {
        {"StaticText4", 8001, "Notes:", "StaticText1", kNotesRowHelp, &notes_},
        {"StaticText5", 8002, "Folders:", "StaticText2", kFoldersRowHelp, &folders_},
        {"StaticText6", 8003, "Total:", "StaticText3", kTotalRowHelp, &total_},
        {"StaticText7", 8004, "Text:", "ST4", kTextRowHelp, &size_},
    };
    // The figures share one transparent strip, so that the counting repaints only them.
    constexpr int kFirstRowTop = 56;
    constexpr int kRowStep = 20;
    figures_ = new QWidget(page);
    figures_->setGeometry(92, kFirstRowTop, 142, 3 * kRowStep + 16);
    int top = 0;
    for (const auto& row : rows) {
        AddText(page, row.label_name, Lang(row.id, row.english),
                QRect(16, kFirstRowTop + top, 70, 16), row.help);
        *row.value = AddText(figures_, row.value_name, QStringLiteral("0"), QRect(0, top, 142, 16),
                             row.help);
        top += kRowStep;
    }
    size_->setText(Bytes(0));
}

void TPropForm::ShowCounts(const DocumentCounts& counts) {
    notes_->setText(QString::number(counts.notes));
    folders_->setText(QString::number(counts.folders));
    total_->setText(QString::number(counts.Total()));
    size_->setText(Bytes(counts.text_bytes));
}

void TPropForm::TimerTimer() {
    timer_->stop();
    size_->setText(Bytes(0));
    DocumentCounts counts;
    int seen = 0;
    // Collapsed folders count too: the walk is over the document, not over what the tree shows.
    for (NodeId node : document_.tree.DisplayOrder()) {
        counts.Add(document_.tree.Data(node).Kind, document_.TextLength(node));
        if (++seen % kRepaintEvery == 0) {
            ShowCounts(counts);
            figures_->repaint();
        }
    }
    ShowCounts(counts);
    counting_done_ = true;
}

}  // namespace quillora
