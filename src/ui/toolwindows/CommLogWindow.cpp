#include "ui/toolwindows/CommLogWindow.h"

#include "link/ExchangeLog.h"
#include "platform/Dialogs.h"
#include "platform/SafeFile.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace kap {

CommLogWindow::CommLogWindow(ExchangeLog& log, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Tool), log_(&log), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmLog"));
    setWindowTitle(tr("Communication log"));

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Txt_Log"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setMaximumBlockCount(ExchangeLog::kMaxLines);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A match stays visible while the find box has the focus.
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    text_->setPalette(palette);

    const auto button = [this](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    pauseButton_ = button(QStringLiteral("Cmd_Pause"), tr("Pause"));
    clearButton_ = button(QStringLiteral("Cmd_Clear"), tr("Clear"));
    prevButton_ = button(QStringLiteral("Cmd_FindPrev"), tr("Previous"));
    nextButton_ = button(QStringLiteral("Cmd_FindNext"), tr("Next"));
    saveButton_ = button(QStringLiteral("Cmd_Save"), tr("Save as…"));
    findBox_ = new QLineEdit(this);
    findBox_->setObjectName(QStringLiteral("Txt_Find"));
    findBox_->setPlaceholderText(tr("Find"));
    findBox_->setClearButtonEnabled(true);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Lbl_Status"));

    connect(pauseButton_, &QPushButton::clicked, this, [this] { setPaused(!paused_); });
    connect(clearButton_, &QPushButton::clicked, this, [this] {
        if (log_)
            log_->clear();
    });
    connect(nextButton_, &QPushButton::clicked, this, [this] { find(false); });
    connect(prevButton_, &QPushButton::clicked, this, [this] { find(true); });
    connect(findBox_, &QLineEdit::returnPressed, this, [this] { find(false); });
    connect(findBox_, &QLineEdit::textChanged, status_, &QLabel::clear);
    connect(saveButton_, &QPushButton::clicked, this, &CommLogWindow::saveAs);

    auto* bar = new QHBoxLayout;
    bar->addWidget(pauseButton_);
    bar->addWidget(clearButton_);
    bar->addSpacing(12);
    bar->addWidget(findBox_, 1);
    bar->addWidget(prevButton_);
    bar->addWidget(nextButton_);
    bar->addSpacing(12);
    bar->addWidget(saveButton_);
    auto* all = new QVBoxLayout(this);
    all->addLayout(bar);
    all->addWidget(text_, 1);
    all->addWidget(status_);
    resize(760, 420);
}

CommLogWindow::~CommLogWindow() = default;

void CommLogWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    follow(true);
}

void CommLogWindow::hideEvent(QHideEvent* event)
{
    follow(false);
    QWidget::hideEvent(event);
}

// Connected only while shown: a hidden window neither formats nor lays out a single line.
void CommLogWindow::follow(bool on)
{
    disconnect(added_);
    disconnect(cleared_);
    if (!on || !log_)
        return;
    added_ = connect(log_.data(), &ExchangeLog::entryAdded, this, &CommLogWindow::append);
    cleared_ = connect(log_.data(), &ExchangeLog::cleared, this, [this] {
        text_->clear();
        missed_ = 0;
        showMissed();
    });
    reload();
}

void CommLogWindow::reload()
{
    missed_ = 0;
    showMissed();
    text_->setPlainText(log_ ? log_->lines().join(QLatin1Char('\n')) : QString());
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

void CommLogWindow::append(const QString& line)
{
    if (paused_) {
        ++missed_;
        showMissed();
        return;
    }
    // The view keeps its place when the user has scrolled up, and follows the end otherwise.
    text_->appendPlainText(line);
}

void CommLogWindow::showMissed()
{
    if (paused_)
        status_->setText(missed_ == 1 ? tr("Paused: 1 new line not shown")
                                      : tr("Paused: %1 new lines not shown").arg(missed_));
    else
        status_->clear();
}

void CommLogWindow::setPaused(bool on)
{
    if (paused_ == on)
        return;
    paused_ = on;
    pauseButton_->setText(on ? tr("Resume") : tr("Pause"));
    if (on) {
        missed_ = 0;
        showMissed();
    } else if (isVisible()) {
        reload();  // what came meanwhile, as the log still holds it
    }
}

bool CommLogWindow::find(bool backwards)
{
    const QString wanted = findBox_->text();
    if (wanted.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward
                                                     : QTextDocument::FindFlags();
    if (text_->find(wanted, flags))
        return true;
    // Wrap around once from the other end.
    const QTextCursor keep = text_->textCursor();
    text_->moveCursor(backwards ? QTextCursor::End : QTextCursor::Start);
    if (text_->find(wanted, flags))
        return true;
    text_->setTextCursor(keep);
    status_->setText(tr("\"%1\" not found").arg(wanted));
    return false;
}

void CommLogWindow::saveAs()
{
    if (!log_)
        return;
    FileDialogOptions request;
    request.title = tr("Save as");
    //: File dialog filter: description|pattern| pairs; keep the |*.txt| and |*.*| parts.
    request.filter = tr("Text file(*.txt)|*.txt|All files(*.*)|*.*|");
    request.initialName = QStringLiteral("communication-log.txt");
    request.defaultSuffix = QStringLiteral("txt");
    const QString path = dialogs_.saveFileName(request);
    if (path.isEmpty())
        return;
    // The whole record, lines missed during a pause included; the old file stays intact
    // unless the new one was written completely.
    QByteArray text;
    for (const QString& line : log_->lines())
        text += (line + QLatin1Char('\n')).toUtf8();
    const safefile::SaveResult saved = safefile::save(path, text);
    if (!saved.ok)
        dialogs_.ok(tr("The log could not be saved to %1: %2").arg(path, saved.error),
                    tr("Communication log"), MsgIcon::Critical);
}

}  // namespace kap
