#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QDateTime>
#include <QDir>
#include <algorithm>
#include <QFileInfo>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QTreeView>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

namespace lintora {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::Exclamation: return QMessageBox::Warning;
        case MsgIcon::Question: return QMessageBox::Question;
        case MsgIcon::Critical: return QMessageBox::Critical;
        case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A message box wraps only at blanks: a long run without one (an address)
// may break after "/", "&", "?", "=" and "+" as well, and after every
// kLongPiece characters that offer no such place, so that it is shown whole.
QString Wrappable(const QString& text) {
    constexpr qsizetype kLongRun = 30, kLongPiece = 20;
    const QChar breakMark(0x200B);
    QString shown;
    shown.reserve(text.size() + text.size() / 8);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !text[i].isSpace()) continue;
        const QStringView run = QStringView(text).mid(runStart, i - runStart);
        qsizetype piece = 0;
        for (qsizetype k = 0; k < run.size(); ++k) {
            shown += run[k];
            ++piece;
            const QChar c = run[k];
            const bool breakAfter = c == u'/' || c == u'&' || c == u'?' || c == u'=' || c == u'+';
            // Never inside a pair of UTF-16 units.
            const bool pieceFull = piece >= kLongPiece && !c.isHighSurrogate();
            if (run.size() > kLongRun && (breakAfter || pieceFull) && k + 1 < run.size()) {
                shown += breakMark;
                piece = 0;
            }
        }
        if (i < text.size()) shown += text[i];
        runStart = i + 1;
    }
    return shown;
}

// A box that tells a dismissal (Escape, the close button) from a press of
// the button Qt would otherwise click for it.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool dismissed = false;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->matches(QKeySequence::Cancel)) {
            dismissed = true;
            reject();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override {
        if (!clickedButton()) dismissed = true;
        QDialog::closeEvent(e);
    }
    // A text too tall for the screen, with the details unfolded, scrolls in a part of its own, all but its last
    // paragraph (the question, where it asks one), which stays under it: the buttons stay on the screen. The box
    // sizes itself anew once the part is in its layout.
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e);
        auto* label = findChild<QLabel*>("qt_msgbox_label");
        auto* grid = qobject_cast<QGridLayout*>(layout());
        const auto* unfolded = findChild<QTextEdit*>();
        const int line = fontMetrics().lineSpacing();
        const int details = unfolded ? unfolded->parentWidget()->sizeHint().height() : 0;
        // Room kept for a title bar.
        const int over = screen() ? height() + details + 2 * line - screen()->availableGeometry().height() : 0;
        if (!label || !grid || label->isHidden() || over <= 0) return;
        const auto made = [&](const QString& text) {
            auto* shown = new QLabel(text, this);
            shown->setWordWrap(true);
            shown->setTextInteractionFlags(label->textInteractionFlags());
            return shown;
        };
        const QString whole = label->text();
        const qsizetype cut = std::max<qsizetype>(whole.lastIndexOf("\n\n"), 0);
        QLabel* last = made(cut > 0 ? whole.mid(cut + 2) : QString());
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
        auto* part = new QScrollArea(this);
        part->setFrameShape(QFrame::NoFrame);
        part->setWidgetResizable(true);
        part->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        part->setWidget(made(cut > 0 ? whole.left(cut) : whole));
        const int lastHeight = cut > 0 ? last->heightForWidth(label->width()) + line : 0;
        part->setFixedSize(label->width() + part->verticalScrollBar()->sizeHint().width(),
                           std::max(label->height() - over - lastHeight, 3 * line));
        label->hide();
        grid->addWidget(part, row, column, rows, columns);
        // Where an informative text would stand.
        grid->addWidget(last, row + rows, column, 1, columns);
        part->show();
        last->setVisible(cut > 0);
    }
};

// Qt's own file dialog opens too small for its detail columns (sizes and
// dates come out cut): it is given room for them within the screen, and
// each folder's columns are fitted to what they show.
void FitFileDialog(QFileDialog& dialog) {
    const QFontMetrics fm = dialog.fontMetrics();
    QSize size(fm.averageCharWidth() * 140, fm.lineSpacing() * 32);
    const QWidget* over = dialog.parentWidget();
    if (const QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(size.expandedTo(dialog.sizeHint()));
    auto* details = dialog.findChild<QTreeView*>("treeView");
    if (!details) return;
    auto fit = [details] {
        const int columns = details->model() ? details->model()->columnCount(details->rootIndex()) : 0;
        int others = 0;
        for (int c = 1; c < columns; ++c) {
            details->resizeColumnToContents(c);
            others += details->columnWidth(c);
        }
        // The names take what the other columns leave, and at least their own width.
        details->setColumnWidth(0, std::max(static_cast<QAbstractItemView*>(details)->sizeHintForColumn(0),
                                            details->viewport()->width() - others));
    };
    QObject::connect(&dialog, &QFileDialog::directoryEntered, details, fit);
    if (auto* files = qobject_cast<QFileSystemModel*>(details->model()))
        QObject::connect(files, &QFileSystemModel::directoryLoaded, details, fit);
}

std::string RunFileDialog(QWidget* parent, const FileDialogRequest& r, QFileDialog::AcceptMode mode) {
    // No usable folder given: the user's home, not the working folder.
    QString start = Q(r.initialDir);
    if (!QFileInfo(start).isDir()) start = QDir::homePath();
    QFileDialog dialog(parent, Q(r.title), start, Q(r.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The save asks its own replace question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!r.fileName.empty()) dialog.selectFile(Q(r.fileName));
    FitFileDialog(dialog);
    const int answer = dialog.exec();
    ReturnActivation(parent);
    if (answer != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? std::string() : files.front().toStdString();
}

}  // namespace

void ReturnActivation(QWidget* owner) {
    if (owner && owner->isVisible()) owner->activateWindow();
}

namespace {

class ActivationReturn : public QObject {
public:
    ActivationReturn(QWidget* window, std::function<QWidget*()> owner) : QObject(window), owner_(std::move(owner)) {}

private:
    bool eventFilter(QObject* watched, QEvent* e) override {
        auto* window = static_cast<QWidget*>(watched);
        if (e->type() == QEvent::Show && QApplication::activeWindow() != window) {
            before_ = QApplication::activeWindow();
        } else if (e->type() == QEvent::Hide && !e->spontaneous()) {
            // Shown while no window was active (at start), or that one is
            // gone since: the owner has the keys after it.
            if (before_ && before_->isVisible())
                ReturnActivation(before_);
            else
                ReturnActivation(owner_ ? owner_() : window->parentWidget());
        }
        return false;
    }
    std::function<QWidget*()> owner_;
    QPointer<QWidget> before_;
};

}  // namespace

void ReturnActivationOnHide(QWidget* window, std::function<QWidget*()> owner) {
    window->installEventFilter(new ActivationReturn(window, std::move(owner)));
}

QtPlatform::~QtPlatform() {
    // Nothing is told any more; the opens are only forgotten.
    openWatch_.reset();
    if (busy_) QApplication::restoreOverrideCursor();
}

QWidget* QtPlatform::Parent() const {
    // Only AskingWidget makes handles, so each is a widget.
    const auto* handle = static_cast<const QWidget*>(CurrentAsker());
    QWidget* asking = handle ? handle->window() : nullptr;
    if (asking && asking->isVisible()) return asking;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) return modal;
    return dialogParent ? dialogParent : QApplication::activeWindow();
}

MsgResult QtPlatform::MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title,
                             const std::string& details) {
    QMessageBox::StandardButtons qb = QMessageBox::Ok;
    switch (buttons) {
        case MsgButtons::Ok: qb = QMessageBox::Ok; break;
        case MsgButtons::OkCancel: qb = QMessageBox::Ok | QMessageBox::Cancel; break;
        case MsgButtons::YesNo: qb = QMessageBox::Yes | QMessageBox::No; break;
        case MsgButtons::YesNoCancel: qb = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
        case MsgButtons::RetryCancel: qb = QMessageBox::Retry | QMessageBox::Cancel; break;
        case MsgButtons::YesNoDefaultNo: qb = QMessageBox::Yes | QMessageBox::No; break;
    }
    QWidget* owner = Parent();
    QuestionBox box(ToQt(icon), Q(title.empty() ? std::string(kProgramTitle) : title), Wrappable(Q(text)), qb,
                    owner);
    if (buttons == MsgButtons::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
    // Under "Show Details...", in a text that scrolls.
    if (!details.empty()) box.setDetailedText(Q(details));
    // A box asked while the hourglass shows must still get the normal pointer.
    const bool wasBusy = busy_;
    if (wasBusy) SetBusy(false);
    const int pressed = box.exec();
    ReturnActivation(owner);
    if (wasBusy) SetBusy(true);
    if (box.dismissed) return DismissedAnswer(buttons);
    switch (pressed) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        case QMessageBox::Cancel: return MsgResult::Cancel;
        case QMessageBox::Ok: return MsgResult::Ok;
        case QMessageBox::Retry: return MsgResult::Retry;
        default: break;
    }
    return DismissedAnswer(buttons);
}

void QtPlatform::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

LocalTime QtPlatform::Now() {
    // A load stamps every record it adds: the clock is spelt out once a second.
    const qint64 secs = QDateTime::currentSecsSinceEpoch();
    if (secs != speltSecs_) {
        const QDateTime now = QDateTime::fromSecsSinceEpoch(secs);
        const QDate d = now.date();
        const QTime t = now.time();
        now_ = {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
        speltSecs_ = secs;
    }
    return now_;
}

int32_t QtPlatform::ChooseMatch(const MatchRequest& request) {
    if (!chooseMatch) return 0;
    const bool wasBusy = busy_;
    if (wasBusy) SetBusy(false);
    const int32_t chosen = chooseMatch(request);
    if (wasBusy) SetBusy(true);
    return chosen;
}

std::string QtPlatform::SaveFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(Parent(), request, QFileDialog::AcceptSave);
}

std::string QtPlatform::OpenFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(Parent(), request, QFileDialog::AcceptOpen);
}

std::string QtPlatform::StartOpen(int id, const std::string& address) {
    // Owned by nobody while it runs: a launcher still busy after the wait
    // (a browser kept in its foreground) is neither killed nor waited for.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(Q(launcher), QStringList{Q(address)});
    if (!process->waitForStarted()) {
        delete process;
        return launcher + " could not be started";
    }
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::finished, openWatch_.get(),
                     [this, id, name = launcher](int status, QProcess::ExitStatus how) {
                         if (how != QProcess::NormalExit)
                             EndOpen(id, name + " ended abnormally");
                         else if (status != 0)
                             EndOpen(id, name + " reported a failure (exit status " + std::to_string(status) + ")");
                         else
                             EndOpen(id, "");
                     });
    QTimer::singleShot(openWaitMs, openWatch_.get(), [this, id] { EndOpen(id, ""); });
    return {};
}

std::function<const void*()> QtPlatform::WindowAtEnd(const void*) {
    const QPointer<QWidget> asking = Parent();
    return [this, asking]() -> const void* {
        return asking && asking->isVisible() ? asking.data() : dialogParent;
    };
}

}  // namespace lintora
