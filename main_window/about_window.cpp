#include "main_window/about_window.h"

#include <algorithm>
#include <exception>

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "files/data_files.h"
#include "lintora_version.h"
#include "page_import/page_recognition.h"
#include "platform/platform.h"
#include "platform/navigate.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_text.h"

namespace lintora {

namespace {


// A small pedigree drawn in code: three generations of boxes and lines.
QPixmap TreePicture() {
    QPixmap pm(96, 96);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 2));
    const QRect root(6, 40, 26, 16);
    const QRect parents[] = {QRect(38, 18, 24, 14), QRect(38, 64, 24, 14)};
    const QRect grand[] = {QRect(70, 6, 20, 12), QRect(70, 30, 20, 12), QRect(70, 54, 20, 12),
                           QRect(70, 78, 20, 12)};
    p.setBrush(QColor(255, 255, 192));
    p.drawRect(root);
    p.setBrush(Qt::white);
    for (const QRect& r : parents) {
        p.drawLine(root.right(), root.center().y(), r.left(), r.center().y());
        p.drawRect(r);
    }
    for (int i = 0; i < 4; ++i) {
        const QRect& from = parents[i / 2];
        p.drawLine(from.right(), from.center().y(), grand[i].left(), grand[i].center().y());
        p.drawRect(grand[i]);
    }
    return pm;
}

}  // namespace

frmAboutLintora::frmAboutLintora(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Lintora");

    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::StyledPanel);
    lblTitle = new QLabel(kProgramName, Frame1);
    QFont title("AGaramond", 22, QFont::Bold);
    lblTitle->setFont(title);
    Picture1 = new QLabel(Frame1);
    Picture1->setPixmap(TreePicture());
    Picture1->setFixedSize(96, 96);
    lblVersion = new QLabel(Q(VersionLine()), Frame1);
    ProgressBar1 = new QProgressBar(Frame1);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setVisible(false);
    lblCopyright = new QLabel(Q(std::string("Copyright \u00A9 ") + kCompanyName), Frame1);
    lblCopyright->setToolTip("Click to go to Corvesta website");
    lblCopyright->setCursor(Qt::PointingHandCursor);
    lblCopyright->installEventFilter(this);
    QPalette link = lblCopyright->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 160));
    lblCopyright->setPalette(link);

    Command1 = new QPushButton(this);
    Command1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    Command1->setToolTip("OK");
    Command1->setFixedSize(40, 32);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(ProgressBar1);
    texts->addStretch();
    texts->addWidget(lblCopyright);
    auto* inFrame = new QHBoxLayout(Frame1);
    inFrame->addWidget(Picture1, 0, Qt::AlignTop);
    inFrame->addSpacing(12);
    inFrame->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    setFixedSize(380, 200);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

std::string frmAboutLintora::VersionLine() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

// Settings that cannot be read may well name a work file.
bool frmAboutLintora::NoWorkFileRemembered() {
    return GetStartupSetting("datFilename", " ") == " " && !StartupSettingsUnreadable();
}

bool frmAboutLintora::Form_Load(const std::function<void()>& showMain) {
    try {
        lblVersion->setText(Q(VersionLine()));
        ProgressBar1->setVisible(false);
        Command1->setVisible(false);
        setModal(false);
        show();
        QApplication::processEvents();
        // Known before the work file is opened: a remembered file found gone
        // is forgotten then, which makes no first run.
        noFileAtStart_ = NoWorkFileRemembered();
        if (showMain) showMain();
        Command1->setVisible(true);
        Timer1->start(1000);
        return true;
    } catch (const std::exception& e) {
        MsgBox(std::string("Problem loading Lintora ") + " - " + e.what(), MsgButtons::Ok, MsgIcon::Exclamation);
        hide();
        return false;
    }
}

void frmAboutLintora::Timer1_Timer() {
    Timer1->stop();
    hide();
    if (noFileAtStart_ && NoWorkFileRemembered() && firstRun)
        firstRun();  // its window hands the keyboard on when it closes
    else if (!QApplication::activeModalWidget())
        // Start-up is done: the main window takes the keyboard, which a
        // desktop without a window manager gives to no window it shows.
        ReturnActivation(parentWidget());
}

// Hiding also ends the modal showing of the about box.
void frmAboutLintora::Command1_Click() { hide(); }

void frmAboutLintora::lblCopyright_Click() {
    const AskingWidget asking(this);
    NavigateTo(kMakerHomePage);
}

void frmAboutLintora::InfoMsg2() {
    const std::string text = std::string("This version of Lintora recognizes the following formats:\n") + " \n" +
                             "LDS " + std::string(kFamilySearchDomain) + "\n" +
                             "     AFN records - Individual, Family, and Pedigree\n" +
                             "     IGI records - Individual, Family, and Pedigree\n" +
                             "     PRF records - Individual\n" + "RootsWeb and " + std::string(kAncestryDomain) +
                             "\n" + "     Individual records\n" + "     Descendancy Register\n" +
                             "     Pedigree (Text and Table)\n" + "     Ahnentafel\n" + "GenCircles\n" +
                             "     Individual/Family records\n" + "     Pedigree\n" + std::string(kMyTreesDomain) +
                             "\n" + "     Individual records\n" + "     Family records\n" + "     Pedigree";
    MsgBox(text, MsgButtons::Ok, MsgIcon::Information);
}

void frmAboutLintora::Start(int maximum) {
    ProgressBar1->setRange(0, maximum > 0 ? maximum : 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(true);
    if (!isVisible()) show();
    repaint();
}

void frmAboutLintora::Set(int value) {
    ProgressBar1->setValue(std::clamp(value, ProgressBar1->minimum(), ProgressBar1->maximum()));
}

void frmAboutLintora::End() {
    ProgressBar1->setVisible(false);
    lblVersion->setText(Q(VersionLine()));
    if (!isModal()) hide();
}

void frmAboutLintora::SetLabel(const std::string& text) {
    lblVersion->setText(Q(text));
    lblVersion->repaint();
}

bool frmAboutLintora::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblCopyright && event->type() == QEvent::MouseButtonRelease) {
        lblCopyright_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace lintora
