#include "main_window/main_window.h"

#include <algorithm>
#include <exception>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "files/data_files.h"
#include "main_window/about_window.h"
#include "main_window/program_start.h"
#include "main_window/prune_panel.h"
#include "main_window/status_texts.h"
#include "main_window/tree_box.h"
#include "platform/platform.h"
#include "platform/navigate.h"
#include "record_store/person_view.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "editor/editor_window.h"
#include "record_store/prune.h"
#include "record_store/undo.h"
#include "workspace/workspace.h"
#include "platform/qt/box_text.h"
#include "platform/qt/filled_box.h"
#include "platform/qt/qt_text.h"

namespace lintora {

namespace {


// 0xBBGGRR as the design writes colours.
QColor Bgr(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Handlers skip what fails and go on; nothing escapes to the event loop.
template <typename F>
void Guard(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

template <typename F, typename... A>
void Call(const F& f, A&&... a) {
    if (f) Guard([&] { f(std::forward<A>(a)...); });
}

// Layout of the pedigree area in pixels (15 twips to a pixel).
constexpr int kTwips = 15;
constexpr int kBoxW = 212, kBoxH = 20;
constexpr int kColumnStep = 222;
constexpr int kLeft = 36, kTop = 10, kRowStep = 26;
constexpr int kMoreW = 30;
constexpr int kAreaW = kLeft + 4 * kColumnStep + kBoxW + 4 + kMoreW + 10;
constexpr int kAreaH = 462;
constexpr int kPanelW = 330, kPanelH = 172;
constexpr int kPanelGap = 3;  // between a box and the panel opened above it
constexpr const char* kSharedPlace = "lintoraSharedPlace";  // marks a panel placed by InstallPanel
constexpr int kMarkerIn = 115 / kTwips;  // note marker sits 115 twips in from the right edge

// The height of a list that shows whole rows only, at most room pixels high.
int WholeRowsHeight(QListWidget* list, int room) {
    list->addItem("Mg");
    const int row = std::max(1, list->sizeHintForRow(0) + 2 * list->spacing());
    delete list->takeItem(0);
    const int frame = 2 * list->frameWidth();
    return frame + std::max(1, (room - frame) / row) * row;
}

// One side of a panel's place in the part of the pedigree in view: its place
// in the whole area where the view has room for it, else moved in so that it
// ends as far short of the view's edge as it stood from the area's nearer
// edge. size is the panel's, already no larger than the view.
int FitAxis(int offset, int homeSize, int size, int area, int view) {
    const int margin = std::max(0, std::min(offset, area - offset - homeSize));
    return std::max(0, std::min(offset, view - size - margin));
}

int Generation(int box) {
    int g = 0;
    while ((1 << (g + 1)) - 1 <= box) ++g;
    return g;
}

QPixmap NotePixmap() {
    QPixmap pm(7, 7);
    pm.fill(QColor(255, 220, 0));
    QPainter p(&pm);
    p.setPen(QColor(128, 80, 0));
    p.drawRect(0, 0, 6, 6);
    p.drawLine(2, 2, 4, 2);
    p.drawLine(2, 4, 4, 4);
    return pm;
}

// A clipboard with a page on it.
QIcon PasteIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 60, 20), 1.5));
    p.setBrush(QColor(190, 140, 70));
    p.drawRoundedRect(QRectF(5, 4, 22, 26), 2, 2);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.drawRect(QRectF(8.5, 8.5, 15, 18));
    p.setBrush(QColor(160, 160, 160));
    p.drawRoundedRect(QRectF(11, 2, 10, 5), 1.5, 1.5);
    p.setPen(QPen(QColor(0, 0, 128), 1));
    for (int y = 12; y <= 23; y += 3) p.drawLine(11, y, 21, y);
    return QIcon(pm);
}

// A globe: the search of internet sites.
QIcon GlobeIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(120, 170, 230));
    p.setPen(QPen(QColor(20, 60, 130), 1.5));
    p.drawEllipse(QRectF(4, 4, 24, 24));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(11, 4, 10, 24));
    p.drawLine(QPointF(4, 16), QPointF(28, 16));
    p.drawLine(QPointF(6.5, 10), QPointF(25.5, 10));
    p.drawLine(QPointF(6.5, 22), QPointF(25.5, 22));
    return QIcon(pm);
}

// The pedigree area draws the lines from each person to his parents.
class PedigreeCanvas : public QWidget {
public:
    explicit PedigreeCanvas(Lintora* w) : QWidget(w), window_(w) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(236, 240, 246));
        p.setPen(QPen(QColor(110, 120, 140), 1));
        for (int i = 0; i < 15; ++i) {
            const bool f = !window_->lblTree[2 * i + 1]->text().isEmpty();
            const bool m = !window_->lblTree[2 * i + 2]->text().isEmpty();
            if (!f && !m) continue;
            const QRect child = Lintora::BoxRect(i);
            const QRect father = Lintora::BoxRect(2 * i + 1);
            const QRect mother = Lintora::BoxRect(2 * i + 2);
            const int x = child.right() + (father.left() - child.right()) / 2;
            const int y = child.center().y();
            p.drawLine(child.right() + 1, y, x, y);
            const int top = f ? father.center().y() : y;
            const int bottom = m ? mother.center().y() : y;
            p.drawLine(x, top, x, bottom);
            if (f) p.drawLine(x, top, father.left() - 1, top);
            if (m) p.drawLine(x, bottom, mother.left() - 1, bottom);
        }
    }

private:
    Lintora* window_;
};

}  // namespace

// ===================================================================
// Construction
// ===================================================================

QRect Lintora::BoxRect(int box) {
    const int gen = Generation(box);
    const int j = box - ((1 << gen) - 1);
    const int span = 1 << (4 - gen);  // fifth-generation rows behind the box
    const int top = kTop + (kRowStep * (2 * j * span + span - 1)) / 2;
    return QRect(kLeft + gen * kColumnStep, top, kBoxW, kBoxH);
}

Lintora::Lintora(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Lintora");
    // Tips show to a resting pointer while another window (the browser a
    // page comes from) is in front: a cut pedigree box is read by its tip.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    back_.fill(kBoxBack);
    text_.fill(kBoxText);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(6, 4, 6, 0);
    column->setSpacing(4);

    // Paste and search buttons with the message line beside them.
    auto* strip = new QHBoxLayout;
    Command6 = new QPushButton(central);
    Command6->setIcon(PasteIcon());
    Command6->setIconSize(QSize(32, 32));
    Command6->setFixedSize(48, 44);
    Command6->setToolTip("Paste");
    Command6->setEnabled(false);
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    InetButton = new QPushButton(central);
    InetButton->setIcon(GlobeIcon());
    InetButton->setIconSize(QSize(32, 32));
    InetButton->setFixedSize(48, 44);
    InetButton->setToolTip("Search Internet Sites");
    connect(InetButton, &QPushButton::clicked, this, [this] { InetButton_Click(); });
    // A long message is cut with a mark rather than widening the window.
    lblDspMsg = new FilledLabel(central);
    QFont msgFont = lblDspMsg->font();
    msgFont.setBold(true);
    lblDspMsg->setFont(msgFont);
    QPalette msgPalette = lblDspMsg->palette();
    msgPalette.setColor(QPalette::WindowText, Bgr(kBoxText));
    lblDspMsg->setPalette(msgPalette);
    strip->addWidget(Command6);
    strip->addWidget(InetButton);
    strip->addSpacing(10);
    strip->addWidget(lblDspMsg, 1);
    column->addLayout(strip);
    fileNote_ = new QLabel(central);
    fileNote_->setWordWrap(true);
    fileNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileNote_->hide();
    column->addWidget(fileNote_);

    // The pedigree keeps its size; a window too small for it (a small
    // screen) scrolls it.
    pedigreeArea_ = new PedigreeCanvas(this);
    pedigreeArea_->setFixedSize(kAreaW, kAreaH);
    pedigreeScroll_ = new QScrollArea(central);
    pedigreeScroll_->setFrameShape(QFrame::NoFrame);
    pedigreeScroll_->setWidget(pedigreeArea_);
    column->addWidget(pedigreeScroll_, 1);
    // The lists and panels stand over the part in view, wherever it is scrolled.
    pedigreeScroll_->viewport()->installEventFilter(this);
    for (QScrollBar* bar : {pedigreeScroll_->horizontalScrollBar(), pedigreeScroll_->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] { FitOverPedigree(); });
    setCentralWidget(central);

    BuildPedigree();
    BuildPopupPanel();
    // Until the list window is installed an empty frame stands for it.
    ListFrame = new QFrame(pedigreeArea_);
    ListFrame->setGeometry(0, 0, kAreaW, kAreaH);
    ListFrame->hide();

    BuildMenus();
    BuildToolBar();
    BuildStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    about_ = new frmAboutLintora(this);
    about_->setWindowFlag(Qt::Window, true);
    // Room for the whole pedigree, as far as the screen allows with the
    // window's frame around it.
    const QSize room = screen()->availableGeometry().size() - QSize(16, 48);
    resize(std::min(kAreaW + 12, room.width()), std::min(640, room.height()));
}

Lintora::~Lintora() {
    if (&MainWindow() == this) InstallMainWindow(nullptr);
}

frmAboutLintora& Lintora::About() { return *about_; }

void Lintora::BuildPedigree() {
    QFont boxFont = font();
    boxFont.setPointSizeF(8.5);
    const QPixmap note = NotePixmap();
    for (int i = 0; i < kTreeBoxes; ++i) {
        auto* box = new TreeBox(pedigreeArea_);
        box->setGeometry(BoxRect(i));
        box->setFrameShape(QFrame::Box);
        box->setAutoFillBackground(true);
        box->setFont(boxFont);
        box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        box->installEventFilter(this);
        lblTree[i] = box;
        SetBoxColours(i, kBoxBack, kBoxText);

        auto* marker = new QLabel(pedigreeArea_);
        marker->setPixmap(note);
        marker->setFixedSize(7, 7);
        const QRect r = BoxRect(i);
        marker->move(r.left() + r.width() - kMarkerIn, r.top() + 1);
        marker->hide();
        noteFlg1[i] = marker;
    }
    notesFlg2 = new QLabel(pedigreeArea_);
    notesFlg2->setPixmap(note);
    notesFlg2->setFixedSize(7, 7);
    notesFlg2->hide();

    for (int k = 0; k < kMoreButtons; ++k) {
        const QRect r = BoxRect(15 + k);
        auto* more = new QPushButton(pedigreeArea_);
        more->setGeometry(r.right() + 5, r.top(), kMoreW, kBoxH);
        QFont f = more->font();
        f.setPointSizeF(7.5);
        more->setFont(f);
        more->hide();
        connect(more, &QPushButton::clicked, this, [this, k] { Command1_Click(k); });
        Command1[k] = more;
    }
    const QRect root = BoxRect(0);
    Command2 = new QPushButton(pedigreeArea_);
    Command2->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Command2->setGeometry(root.left() - 30, root.top(), 26, kBoxH);
    Command2->hide();
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void Lintora::BuildPopupPanel() {
    popupFrame = new QFrame(pedigreeArea_);
    popupFrame->setFrameShape(QFrame::Panel);
    popupFrame->setFrameShadow(QFrame::Raised);
    popupFrame->setLineWidth(2);
    popupFrame->setAutoFillBackground(true);
    popupFrame->resize(kPanelW, kPanelH);
    QFont small = font();
    small.setPointSizeF(8);
    popupFrame->setFont(small);

    auto caption = [&](const char* text, int y) {
        auto* l = new QLabel(text, popupFrame);
        l->setGeometry(5, y, 24, 19);
    };
    auto line = [&](int y) {
        auto* e = new FilledBox(popupFrame);
        e->setGeometry(30, y, kPanelW - 36, 19);
        e->setReadOnly(true);
        return e;
    };
    caption("B:", 4);
    BirthDtPlace = line(4);
    caption("M:", 25);
    MarrDtPlace = line(25);
    caption("D:", 46);
    DeathDtPlace = line(46);
    caption("Sp:", 67);
    SpousesCBox = new QListWidget(popupFrame);
    SpousesCBox->setGeometry(30, 67, kPanelW - 66, WholeRowsHeight(SpousesCBox, 34));
    lblSpouses = new QLabel("0", popupFrame);
    lblSpouses->setGeometry(kPanelW - 32, 67, 26, 19);
    lblSpouses->setAlignment(Qt::AlignRight | Qt::AlignTop);
    caption("Ch:", 103);
    ChildrenLBox = new QListWidget(popupFrame);
    // Room for four children before it scrolls, and never sideways: a long
    // line is cut with an ellipsis.
    ChildrenLBox->setGeometry(30, 103, kPanelW - 66, WholeRowsHeight(ChildrenLBox, kPanelH - 107));
    ChildrenLBox->setToolTip("Double-click for pedigree");
    for (QListWidget* list : {SpousesCBox, ChildrenLBox}) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideRight);
    }
    lblChildren = new QLabel("0", popupFrame);
    lblChildren->setGeometry(kPanelW - 32, 103, 26, 19);
    lblChildren->setAlignment(Qt::AlignRight | Qt::AlignTop);
    connect(SpousesCBox, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { SpousesCBox_Click(SpousesCBox->row(item)); });
    connect(SpousesCBox, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { SpousesCBox_DblClick(SpousesCBox->row(item)); });
    connect(ChildrenLBox, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ChildrenLBox_DblClick(ChildrenLBox->row(item)); });
    popupFrame->hide();
}

void Lintora::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* caption, const char* key, std::function<void()> run) {
        QAction* a = menu->addAction(caption);
        if (key) a->setShortcut(QKeySequence(key));
        connect(a, &QAction::triggered, this, [run] { run(); });
        return a;
    };
    QMenu* file = bar->addMenu("&File");
    const char* fileItems[] = {"&Open Workfile", "&Save As Workfile", "Save As &GED", "&Clear workarea",
                               "&Exit Lintora"};
    const char* fileKeys[] = {"Ctrl+O", "Ctrl+V", "Ctrl+G", "Ctrl+C", "Ctrl+X"};
    for (int i = 0; i < 5; ++i)
        mnuFileItem[i] = item(file, fileItems[i], fileKeys[i], [this, i] { mnuFileItem_Click(i); });

    QMenu* edit = bar->addMenu("&Edit");
    const char* editItems[] = {"&Edit Places", "Last Names &Upper case", "Last Names &Proper case",
                               "Edit &Sources", "&Add new Individual"};
    const char* editKeys[] = {"Ctrl+P", nullptr, nullptr, nullptr, "Ctrl+A"};
    for (int i = 0; i < 5; ++i)
        mnuEditItem[i] = item(edit, editItems[i], editKeys[i], [this, i] { mnuEditItem_Click(i); });

    QMenu* list = bar->addMenu("&List ");
    mnuListItem[0] = item(list, "List all &Individuals", "Ctrl+L", [this] { mnuListItem_Click(0); });
    mnuListItem[1] = item(list, "List all &Marriages", nullptr, [this] { mnuListItem_Click(1); });

    // The Internet and Preferences titles are commands themselves.
    mnuInet = bar->addAction("&Internet");
    connect(mnuInet, &QAction::triggered, this, [this] { mnuInet_Click(); });

    QMenu* help = bar->addMenu("&Help");
    mnuHelpItem[0] = item(help, "&About Lintora", nullptr, [this] { mnuHelpItem_Click(0); });
    mnuHelpItem[2] = item(help, "&Help", "Ctrl+H", [this] { mnuHelpItem_Click(2); });

    mnuPrefs = bar->addAction("&Preferences");
    connect(mnuPrefs, &QAction::triggered, this, [this] { mnuPrefs_Click(); });

    // The pedigree boxes' pop-up menu, never in the menu bar.
    mnuPopup1 = new QMenu("PopUp1", this);
    const char* popupItems[] = {"Search &Internet", "&Edit this Individual", "Dele&te this Individual",
                                "&Descendants List"};
    const char* popupKeys[] = {"Ctrl+I", "Ctrl+E", "Del", "Ctrl+D"};
    for (int i = 0; i < 4; ++i) {
        mnuPopup1Item[i] = mnuPopup1->addAction(popupItems[i]);
        mnuPopup1Item[i]->setShortcut(QKeySequence(popupKeys[i]));
        mnuPopup1Item[i]->setData(i);
        // The keys it shows work wherever the main window has the keyboard.
        addAction(mnuPopup1Item[i]);
        connect(mnuPopup1Item[i], &QAction::triggered, this, [this, i] { PopupKey(i); });
    }
}

void Lintora::BuildToolBar() {
    Toolbar1 = addToolBar("Toolbar1");
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(22, 22));
    struct Button {
        int index;
        QStyle::StandardPixmap icon;
        const char* tip;
    };
    const Button buttons[] = {{kExitToolButton, QStyle::SP_DialogCloseButton, "Exit Lintora"},
                              {kOpenToolButton, QStyle::SP_DialogOpenButton, "Open workfile"},
                              {kSaveWorkToolButton, QStyle::SP_DialogSaveButton, "Save workfile"},
                              {kSaveGedToolButton, QStyle::SP_DriveFDIcon, "Save as GED file"},
                              {kListToolButton, QStyle::SP_FileDialogContentsView, "Find/List"},
                              {kUndoToolButton, QStyle::SP_ArrowBack, "Undo"},
                              {kPruneToolButton, QStyle::SP_TrashIcon, "Prune"},
                              {kClearToolButton, QStyle::SP_DialogResetButton, "Clear work"}};
    int next = 1;
    for (const Button& b : buttons) {
        for (; next < b.index; ++next) Toolbar1->addSeparator();
        QAction* a = Toolbar1->addAction(style()->standardIcon(b.icon), b.tip);
        a->setToolTip(b.tip);
        const int index = b.index;
        connect(a, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
        toolButtons[b.index] = a;
        toolTips_[b.index] = b.tip;
        if (QWidget* button = Toolbar1->widgetForAction(a)) button->installEventFilter(this);
        next = b.index + 1;
    }
}

void Lintora::BuildStatusBar() {
    StatusBar1 = statusBar();
    StatusBar1->setSizeGripEnabled(false);
    const int widths[] = {130, 120, 110, 200, 120, 100, 100};
    for (int i = 0; i < kStatusPanels; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(widths[i]);
        panel->setToolTip(kStatusPanelTips[i]);
        StatusBar1->addPermanentWidget(panel, i == 3 ? 1 : 0);
        statusPanels[i] = panel;
    }
}

// ===================================================================
// Start-up and shut-down
// ===================================================================

void Lintora::Form_Load(const std::string& appPath, const std::string& commandLine) {
    ReadProgramSettings(appPath);
    OpenStartFile(commandLine);
}

void Lintora::OpenStartFile(const std::string& commandLine) {
    Guard([] { ClearAllData(); });
    Guard([&] { OpenWorkFileAtStart(commandLine); });
    Timer1->start();
}

void Lintora::TellAfterShown() { Guard([] { TellLeftSavesAtStart(); }); }

bool Lintora::CloseEditorFirst() {
    bool closed = true;
    Guard([&] {
        if (!Editor().Visible()) return;
        closed = false;
        if (!CloseEditor()) return;
        Editor().Hide();
        closed = true;
    });
    return closed;
}

bool Lintora::Form_Unload() {
    if (!CloseEditorFirst()) return false;
    bool stay = false;
    Guard([&] { stay = !OfferToSaveWork(MsgIcon::Question); });
    if (stay) return false;
    Guard([&] { about_->hide(); });
    Call(hooks.hidePreferences);
    Call(hooks.unloadSearchWindow);
    Guard([&] { Timer1->stop(); });
    return true;
}

void Lintora::closeEvent(QCloseEvent* event) {
    if (!Form_Unload()) {
        event->ignore();
        return;
    }
    event->accept();
    if (quitOnClose) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

// ===================================================================
// Paste
// ===================================================================

bool Lintora::ClipboardHasText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void Lintora::Timer1_Timer() {
    Guard([&] {
        if (Command6->isEnabled()) return;
        if (ClipboardHasText()) Command6->setEnabled(true);
    });
}

void Lintora::Command6_Click() {
    Guard([&] {
        if (!ClipboardHasText()) return;
        SetBoxColours(0, kBoxBack, kBoxText);
        popupFrame->hide();
        ListFrame->hide();
        Paste(S(QGuiApplication::clipboard()->text()));
    });
    Guard([] { QGuiApplication::clipboard()->clear(); });
    Guard([&] { Command6->setEnabled(false); });
}

void Lintora::Paste(const std::string& text) {
    Guard([&] { PasteText(text); });
    // Whatever the paste came to, the pedigree and the status bar show the
    // tables as they now are; the result line stays.
    Guard([&] {
        const QString message = lblDspMsg->text();
        RedrawTree();
        lblDspMsg->setText(message);
        UpdateStatusBar();
    });
}

// ===================================================================
// Menus and tool bar
// ===================================================================

bool Lintora::OfferToSaveWork(MsgIcon icon) {
    if (g.DataChanged != "Y") return true;
    if (!WorkToSave()) {
        g.DataChanged = "N";
        return true;
    }
    switch (MsgBox("Do you wish to save your changes?", MsgButtons::YesNo, icon)) {
        case MsgResult::Yes: return SaveWork();  // a save not completed keeps the work
        case MsgResult::No: g.DataChanged = "N"; return true;
        default: return false;  // dismissed: nothing is decided
    }
}

bool Lintora::SaveWork() {
    bool saved = false;
    Guard([&] { saved = SaveWorkFile(); });
    return saved;
}

void Lintora::OpenWorkfile() { OpenWorkFile(); }

void Lintora::mnuFileItem_Click(int index) {
    Guard([&] {
        switch (index) {
            case 0: OpenWorkfile(); break;
            case 1: SaveWork(); break;
            case 2:
                if (HaveWorkToSave("GED")) Call(hooks.showPreferences, true);
                break;
            case 3: ClearWorkArea(); break;
            case 4:
                // The editor's changes are settled before the work is offered
                // for saving: a No here must not outlive a close that stays.
                if (!CloseEditorFirst() || !OfferToSaveWork(MsgIcon::None)) return;  // the program goes on
                close();
                break;
            default: break;
        }
    });
}

void Lintora::AddNewIndividual() {
    Editor().Hide();
    Call(hooks.hideDescList);
    popupFrame->hide();
    ListFrame->hide();
    g.StatusMsg.clear();
    const int32_t added = AddIndiv();
    if (added <= 0) {
        // Full table: nothing to open, nothing to drop later.
        MsgBox(kIndivTableFull);
        return;
    }
    g.CurIndiv = added;
    g.NewIndivFlag = "Y";
    Editor().Load(0);
}

void Lintora::mnuEditItem_Click(int index) {
    Guard([&] {
        switch (index) {
            case 0:
                // One snapshot for every place changed until the panel opens again.
                InitUndo("UnDo Edit Places");
                ListFrame->hide();
                RedrawTree();
                Call(hooks.loadPlaceList);
                break;
            case 1:
            case 2:
                ListFrame->hide();
                ClearIndivList();
                ClearMarriageList();
                RecaseLastNames(index == 1);
                RedrawTree();
                break;
            case 3:
                ListFrame->hide();
                Call(hooks.editSources);
                break;
            case 4: AddNewIndividual(); break;
            default: break;
        }
    });
}

void Lintora::mnuListItem_Click(int index) {
    if (index != 0 && index != 1) return;
    Guard([&] {
        HidePopupMenu();
        Call(hooks.setListMessage, std::string("Double-click on an individual to View/Edit"));
        Call(index == 0 ? hooks.toggleIndivList : hooks.toggleMarrList);
    });
}

void Lintora::mnuInet_Click() { InetButton_Click(); }

void Lintora::InetButton_Click() { Call(hooks.showSearchWindow); }

void Lintora::mnuHelpItem_Click(int index) {
    Guard([&] {
        if (index == 0) {
            // Asked for while the splash still stands: the splash ends (with
            // its first-run search window) once the about box is read.
            const bool splashPending = about_->Timer1->isActive();
            if (about_->isVisible()) about_->hide();
            about_->Timer1->stop();
            about_->ProgressBar1->hide();
            about_->Command1->show();
            about_->setModal(true);
            about_->exec();
            about_->setModal(false);
            frmAboutLintora::InfoMsg2();
            if (splashPending) about_->Timer1_Timer();
        } else if (index == 2) {
            NavigateTo(kSupportPage);
        }
    });
}

void Lintora::mnuPrefs_Click() { Call(hooks.showPreferences, false); }

void Lintora::mnuPopup1Item_Click(int index) {
    Guard([&] {
        switch (index) {
            case 0: InetButton_Click(); break;
            case 1:
                Editor().Hide();
                Call(hooks.hideDescList);
                popupFrame->hide();
                ListFrame->hide();
                g.StatusMsg.clear();
                if (!LiveIndiv(g.CurIndiv)) break;
                // An edit may rename or relink the person an open prune
                // panel names: the prune goes as its Cancel would.
                if (g.PrunePending == "Y") CancelPrune();
                Editor().Load(0);
                break;
            case 2: {
                // The panel stands over the pedigree, as for a box: the list
                // gives way, as it does for the other keys.
                auto* prune = qobject_cast<PruneFrame*>(Panel("prune"));
                if (g.PrunePending == "Y" && prune && !prune->isHidden()) {
                    // It offers him already: asking again would only repeat the backup question.
                    ListFrame->hide();
                    prune->TakeKeys();
                } else if (PruneSetup(g.PruneIndiv)) {
                    ListFrame->hide();
                }
                break;
            }
            case 3:
                Editor().Hide();
                popupFrame->hide();
                ListFrame->hide();
                g.StatusMsg.clear();
                Call(hooks.showDescList);
                break;
            default: break;
        }
    });
}

void Lintora::Undo() {
    Guard([] { UndoLastChange(); });
    Call(hooks.refreshLists);
    Call(hooks.refreshPlaceList);
}

void Lintora::Toolbar1_ButtonClick(int button) {
    switch (button) {
        case kExitToolButton: mnuFileItem_Click(4); break;
        case kOpenToolButton: mnuFileItem_Click(0); break;
        case kSaveWorkToolButton: mnuFileItem_Click(1); break;
        case kSaveGedToolButton: mnuFileItem_Click(2); break;
        case kListToolButton: mnuListItem_Click(0); break;
        case kUndoToolButton: Undo(); break;
        case kPruneToolButton: mnuPopup1Item_Click(2); break;
        case kClearToolButton: mnuFileItem_Click(3); break;
        default: break;
    }
}

int Lintora::RunPopupMenu() {
    if (choosePopupItem) return choosePopupItem();
    popupOpen_ = true;
    QAction* chosen = mnuPopup1->exec(QCursor::pos());
    popupOpen_ = false;
    return chosen ? chosen->data().toInt() : -1;
}

void Lintora::PopupKey(int index) {
    if (popupOpen_) return;  // chosen in the menu: the box click runs it
    Guard([&] {
        const int32_t person = KeyedPerson();
        if (!LiveIndiv(person)) return;
        // As a right click on the box would: a prune open for somebody
        // else is dropped, so that its OK never removes the wrong person.
        if (g.PrunePending == "Y" && person != g.PruneIndiv) CancelPrune();
        g.CurIndiv = person;
        g.PruneIndiv = person;
        mnuPopup1Item_Click(index);
    });
}

int32_t Lintora::KeyedPerson() const {
    // The list hides the boxes: a box selected under it is not what the user sees.
    if (!ListFrame->isHidden()) return hooks.listedPerson ? hooks.listedPerson() : 0;
    for (int box = 0; box < kTreeBoxes; ++box)
        if (BoxSelected(box) && LiveIndiv(g.TreeSlot[box])) return g.TreeSlot[box];
    // Opened from the editor, the prune panel names a person no box shows.
    return g.PrunePending == "Y" ? g.PruneIndiv : 0;
}

// ===================================================================
// Pedigree
// ===================================================================

void Lintora::SetBoxColours(int box, uint32_t back, uint32_t text) {
    if (box < 0 || box >= kTreeBoxes) return;
    back_[box] = back;
    text_[box] = text;
    QPalette p = lblTree[box]->palette();
    p.setColor(QPalette::Window, Bgr(back));
    p.setColor(QPalette::WindowText, Bgr(text));
    lblTree[box]->setPalette(p);
}

bool Lintora::BoxSelected(int box) const { return BoxBack(box) == kSelectedBack; }
uint32_t Lintora::BoxBack(int box) const { return box >= 0 && box < kTreeBoxes ? back_[box] : kBoxBack; }
uint32_t Lintora::BoxText(int box) const { return box >= 0 && box < kTreeBoxes ? text_[box] : kBoxText; }

void Lintora::ClearTree() {
    notesFlg2->hide();
    for (int i = 0; i < kTreeBoxes; ++i) {
        SetBoxColours(i, kBoxBack, kBoxText);
        noteFlg1[i]->hide();
        lblTree[i]->clear();
        g.TreeSlot[i] = 0;
    }
    for (QPushButton* b : Command1) b->hide();
    Command2->hide();
    popupFrame->hide();
    // The panel's person may be renumbered or gone after a prune or a load.
    PanelIndiv = 0;
    SpouseNums.clear();
    ChildNums.clear();
    ChildHasFam.clear();
    pedigreeArea_->update();
}

void Lintora::BuildTree() {
    try {
        lblDspMsg->clear();
        const PedigreeView view = lintora::BuildPedigree();
        for (int i = 0; i < kTreeBoxes; ++i) {
            lblTree[i]->setText(Q(view.caption[i]));
            noteFlg1[i]->setVisible(view.notes[i]);
            // The note marker covers the box's right end: a cut caption stops short of it.
            static_cast<TreeBox*>(lblTree[i])->SetReserveRight(view.notes[i] ? kMarkerIn : 0);
        }
        for (int k = 0; k < kMoreButtons; ++k) {
            Command1[k]->setText(Q(view.more[k]));
            Command1[k]->setVisible(!view.more[k].empty());
        }
        Command2->setVisible(view.childButton);
        pedigreeArea_->update();
        // A new root is brought into view, with the button before it; the
        // same root stays where the user scrolled.
        if (g.TreeSlot[0] != shownRoot_) {
            shownRoot_ = g.TreeSlot[0];
            pedigreeScroll_->ensureWidgetVisible(lblTree[0], kLeft, kRowStep);
        }
    } catch (const std::exception&) {
        ShowProblem("Problem building tree");
    }
}

void Lintora::RedrawTree() {
    const int32_t root = g.TreeSlot[0];
    ClearTree();
    g.TreeSlot[0] = root;
    BuildTree();
}

void Lintora::ReRoot(int32_t root) {
    ClearTree();
    g.TreeSlot[0] = LiveIndiv(root) ? root : 0;
    BuildTree();
}

void Lintora::FindTreePointer(int32_t indiv) {
    if (indiv < 0 || indiv > g.IndivCount) {
        ShowProblem("Problem finding Tree pointer: " + std::to_string(indiv));
        return;
    }
    ReRoot(TreePointerRoot(indiv));
}

void Lintora::HighlightTreeLabel(int button, int box) {
    if (button < 0 || button >= kMoreButtons || box < 0 || box >= kTreeBoxes) return;
    int target = box;
    if (!Command1[button]->isHidden())
        target = box;
    else if (button + 1 < kMoreButtons && !Command1[button + 1]->isHidden() && box + 1 < kTreeBoxes)
        target = box + 1;
    SetBoxColours(target, kHighlightBack, BoxText(target));
}

void Lintora::HidePopupMenu() {
    mnuPopup1->hide();
    popupFrame->hide();
}

void Lintora::SkipNextTreeClick() {
    SkipTreeClick = "Y";
    // Qt delivers no stray release after a double-click elsewhere: the flag
    // must not outlive this turn of the event loop and swallow a real click.
    QTimer::singleShot(0, this, [this] { SkipTreeClick = "N"; });
}

void Lintora::lblTree_MouseUp(int index, int button) {
    Guard([&] {
        notesFlg2->hide();
        mnuPopup1->menuAction()->setVisible(false);
        if (Editor().Visible()) return;
        if (SkipTreeClick == "Y") {
            SkipTreeClick = "N";
            return;
        }
        if (index < 0 || index >= kTreeBoxes) return;
        const int32_t person = g.TreeSlot[index];
        if (!LiveIndiv(person)) return;
        // The open prune panel names its person; choosing another one drops
        // that prune, so that its OK can never remove somebody else.
        if (g.PrunePending == "Y" && person != g.PruneIndiv) CancelPrune();
        g.CurIndiv = person;
        const std::string name = g.Indiv[person].iName.trimmed();
        SetInetButtonTip("Search internet sites for " + name);
        if (hooks.searchWindowVisible && hooks.searchWindowVisible()) Call(hooks.hideSearchWindow);
        if (button == 2) {
            g.PruneIndiv = person;
            mnuPopup1Item_Click(RunPopupMenu());
        }
        if (BoxSelected(index)) {
            SetBoxColours(index, kBoxBack, kBoxText);
            notesFlg2->hide();
            SetInetButtonTip("Search Internet");
            SetToolButtonEnabled(kPruneToolButton, false);
            SetToolButtonTip(kPruneToolButton, "");
            popupFrame->hide();
            return;
        }
        for (int i = 0; i < kTreeBoxes; ++i) SetBoxColours(i, kBoxBack, kBoxText);
        if (popupFrame->isVisible()) {
            popupFrame->raise();
            popupFrame->update();
        }
        if (button == 2) return;

        // Selects the box and opens the panel beside it.
        g.PruneIndiv = person;
        SetToolButtonEnabled(kPruneToolButton, true);
        SetToolButtonTip(kPruneToolButton, "Delete " + g.Indiv[g.CurIndiv].iName.trimmed());
        g.CurIndiv = person;
        SetBoxColours(index, kSelectedBack, kSelectedText);
        const QRect box = BoxRect(index);
        notesFlg2->hide();
        if (g.Indiv[person].iNoteFlg.value() == "Y") {
            notesFlg2->move(box.left() + box.width() - kMarkerIn, box.top() + 1);
            notesFlg2->show();
            notesFlg2->raise();
        }
        const int boxTopTwips = box.top() * kTwips;
        // Above a low box the panel ends just over it, whatever its height.
        int top = boxTopTwips > 4300 ? box.top() - kPanelH - kPanelGap : (boxTopTwips + 310) / kTwips;
        // Kept inside the part of the pedigree in view, so that no part of
        // it is cut off.
        const QRect view = PedigreeInView();
        const int left = std::max(view.left(), std::min(box.left(), view.right() + 1 - kPanelW - 2));
        top = std::max(view.top(), std::min(top, view.bottom() + 1 - kPanelH));
        PanelIndiv = person;
        // Fills the panel; the first spouse is chosen as a click would.
        const PersonPanel panel = lintora::ShowIndivPanel(PanelIndiv);
        SetBoxText(BirthDtPlace, Q(panel.birth));
        SetBoxText(MarrDtPlace, Q(panel.marriage));
        SetBoxText(DeathDtPlace, Q(panel.death));
        SpousesCBox->clear();
        ChildrenLBox->clear();
        SpouseNums.clear();
        ChildNums.clear();
        ChildHasFam.clear();
        for (const SpouseEntry& s : panel.spouses) {
            SpousesCBox->addItem(Q(s.line));
            SpouseNums.push_back(s.spouse);
        }
        for (const ChildEntry& c : panel.children) {
            ChildrenLBox->addItem(Q(c.line));
            ChildNums.push_back(c.indiv);
            ChildHasFam.push_back(c.hasFam ? 'Y' : 'N');
        }
        if (panel.firstFamily > 0) g.CurFamil = panel.firstFamily;
        lblSpouses->setText(QString::number(SpouseNums.size()));
        lblChildren->setText(QString::number(ChildNums.size()));
        if (!SpouseNums.empty()) {
            SpousesCBox->setCurrentRow(0);
            SpousesCBox_Click(0);
        }
        popupFrame->move(left, top);
        popupFrame->show();
        popupFrame->raise();
    });
}

void Lintora::SpousesCBox_Click(int row) {
    Guard([&] {
        if (row < 0 || row >= static_cast<int>(SpouseNums.size())) return;
        const int32_t family = FindCouple(PanelIndiv, SpouseNums[row]);
        if (family == 0) return;
        MarrDtPlace->clear();
        SetBoxText(MarrDtPlace, Q(MarriageLine(family)));
        ChildrenLBox->clear();
        ChildNums.clear();
        ChildHasFam.clear();
        for (const ChildEntry& c : CollectChildren(family)) {
            ChildrenLBox->addItem(Q(c.line));
            ChildNums.push_back(c.indiv);
            ChildHasFam.push_back(c.hasFam ? 'Y' : 'N');
        }
        lblChildren->setText(QString::number(ChildNums.size()));
    });
}

void Lintora::SpousesCBox_DblClick(int row) {
    Guard([&] {
        if (row < 0 || row >= static_cast<int>(SpouseNums.size())) return;
        popupFrame->hide();
        if (LiveIndiv(SpouseNums[row])) ReRoot(SpouseNums[row]);
    });
}

void Lintora::ChildrenLBox_DblClick(int row) {
    Guard([&] {
        if (row < 0 || row >= static_cast<int>(ChildNums.size())) return;
        SetBoxColours(0, kBoxBack, kBoxText);
        popupFrame->hide();
        if (LiveIndiv(ChildNums[row])) ReRoot(ChildNums[row]);
    });
}

void Lintora::Command1_Click(int index) {
    Guard([&] {
        if (index < 0 || index >= kMoreButtons) return;
        ReRoot(g.TreeSlot[index < 8 ? 1 : 2]);
        const int k = index % 8;
        HighlightTreeLabel(2 * k, 15 + 2 * k);
    });
}

void Lintora::Command2_Click() {
    Guard([&] {
        SetBoxColours(0, kBoxBack, kBoxText);
        popupFrame->hide();
        const int32_t root = g.TreeSlot[0];
        int found = 0;
        int32_t child = 0;
        if (LiveIndiv(root)) {
            for (int32_t f = 1; f <= g.FamilCount; ++f) {
                if (!LiveFamil(f) || (g.Famil[f].fHusb != root && g.Famil[f].fWife != root)) continue;
                for (const ChildEntry& c : CollectChildren(f))
                    if (c.hasFam) {
                        ++found;
                        child = c.indiv;
                    }
            }
        }
        if (found == 1)
            ReRoot(child);
        else
            lblTree_MouseUp(0, 1);
    });
}

bool Lintora::event(QEvent* event) {
    // A list row with the keyboard keeps Del for itself, as a text box does;
    // but a row of the list over the pedigree stands for its person, as a
    // box does.
    QWidget* focus = QApplication::focusWidget();
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        qobject_cast<QAbstractItemView*>(focus) && !ListFrame->isAncestorOf(focus)) {
        event->accept();
        return true;
    }
    return QMainWindow::event(event);
}

bool Lintora::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Qt would show the button's text for an empty tip.
        for (int b = 1; b <= kToolButtonCount; ++b)
            if (toolButtons[b] && watched == Toolbar1->widgetForAction(toolButtons[b]) && toolTips_[b].empty())
                return true;
    }
    if ((event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) && watched->isWidgetType()) {
        if (watched == ListFrame) {
            // The list covers the pedigree: its own scroll bars take over,
            // and the pedigree's would only move what cannot be seen.
            const auto policy = ListFrame->isHidden() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
            pedigreeScroll_->setHorizontalScrollBarPolicy(policy);
            pedigreeScroll_->setVerticalScrollBarPolicy(policy);
        }
        if (watched == ListFrame || panelHome_.contains(static_cast<QWidget*>(watched))) FitOverPedigree();
    }
    if (event->type() == QEvent::Resize && watched == pedigreeScroll_->viewport()) FitOverPedigree();
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < kTreeBoxes; ++i) {
            if (watched != lblTree[i]) continue;
            const auto* me = static_cast<QMouseEvent*>(event);
            const int button = me->button() == Qt::RightButton ? 2 : me->button() == Qt::MiddleButton ? 4 : 1;
            lblTree_MouseUp(i, button);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ===================================================================
// Plugging in
// ===================================================================

void Lintora::InstallListWindow(QWidget* w) {
    if (!w || w == ListFrame) return;
    w->setParent(pedigreeArea_);
    w->setAutoFillBackground(true);
    w->hide();
    delete ListFrame;
    ListFrame = w;
    w->installEventFilter(this);
    FitOverPedigree();
}

void Lintora::InstallPanel(const std::string& name, QWidget* w) {
    if (!w) return;
    const bool placed = w->parentWidget() == pedigreeArea_;
    w->setParent(pedigreeArea_);
    w->setAutoFillBackground(true);
    if (!placed) {
        const QSize size = w->sizeHint().expandedTo(QSize(340, 220)).boundedTo(QSize(kAreaW, kAreaH));
        QRect place(kAreaW - size.width() - 4, 4, size.width(), size.height());
        // The panels share one place, as large as the largest, so that the
        // one in front covers the others whole.
        for (const auto& [other, panel] : panels_)
            if (panel->property(kSharedPlace).toBool()) place = place.united(panelHome_[panel]);
        w->setProperty(kSharedPlace, true);
        for (const auto& [other, panel] : panels_)
            if (panel->property(kSharedPlace).toBool()) panelHome_[panel] = place;
        panelHome_[w] = place;
    } else {
        panelHome_[w] = w->geometry();
    }
    w->hide();
    w->installEventFilter(this);
    panels_[name] = w;
    FitOverPedigree();
}

QRect Lintora::PedigreeInView() const {
    if (!pedigreeScroll_->isVisible()) return pedigreeArea_->rect();
    return QRect(-pedigreeArea_->pos(), pedigreeScroll_->viewport()->size()) & pedigreeArea_->rect();
}

void Lintora::FitOverPedigree() {
    const QRect view = PedigreeInView();
    if (!ListFrame || view.isEmpty()) return;
    ListFrame->setGeometry(view);
    for (const auto& [panel, home] : panelHome_) {
        const QSize size = home.size().boundedTo(view.size());
        const QPoint at(FitAxis(home.x(), home.width(), size.width(), kAreaW, view.width()),
                        FitAxis(home.y(), home.height(), size.height(), kAreaH, view.height()));
        panel->setGeometry(QRect(view.topLeft() + at, size));
    }
}

QWidget* Lintora::Panel(const std::string& name) const {
    auto it = panels_.find(name);
    return it == panels_.end() ? nullptr : it->second;
}

void Lintora::ShowPanel(const std::string& name) {
    if (QWidget* w = Panel(name)) {
        w->show();
        w->raise();
    }
}

// ===================================================================
// Window port
// ===================================================================

void Lintora::SetStatusLabel(const std::string& text) { lblDspMsg->setText(Q(text)); }
std::string Lintora::StatusLabel() const { return S(lblDspMsg->text()); }
void Lintora::SetFileNote(const std::string& text) {
    fileNote_->setText(Q(text));
    fileNote_->setVisible(!text.empty());
}
std::string Lintora::FileNote() const { return S(fileNote_->text()); }

void Lintora::UpdateStatusBar() {
    std::array<std::string, kStatusPanels> texts;
    Guard([&] { texts = StatusBarTexts(); });
    for (int i = 0; i < kStatusPanels; ++i) statusPanels[i]->setText(Q(texts[i]));
    // A paste, a parent set picked, an edit saved, a prune and an undo end
    // here, and each may change citations: the source panel, open through
    // them, shows the count they leave.
    Call(hooks.refreshSources);
}

void Lintora::SetStatusPanel(int panel, const std::string& text) {
    if (panel >= 1 && panel <= kStatusPanels) statusPanels[panel - 1]->setText(Q(text));
}

std::string Lintora::StatusPanel(int panel) const {
    return panel >= 1 && panel <= kStatusPanels ? S(statusPanels[panel - 1]->text()) : std::string();
}

void Lintora::SetMainCaption(const std::string& caption) { setWindowTitle(Q(caption)); }

void Lintora::EnableDataCommands() {
    for (int b : kDataToolButtons) SetToolButtonEnabled(b, true);
    // Undo is on only while there is a snapshot to put back, and so a change
    // for its tip to name.
    SetToolButtonEnabled(kUndoToolButton, g.UndoReady);
    SetToolButtonEnabled(kPruneToolButton, false);
    for (int i : {1, 2, 3}) SetMenuItemEnabled("File", i, true);
    for (int i : {0, 1}) SetMenuItemEnabled("List", i, true);
    for (int i : {0, 1, 2}) SetMenuItemEnabled("Edit", i, true);
}

void Lintora::SetToolButtonEnabled(int index, bool enabled) {
    if (index >= 1 && index <= kToolButtonCount && toolButtons[index]) toolButtons[index]->setEnabled(enabled);
}

void Lintora::SetToolButtonTip(int index, const std::string& tip) {
    if (index < 1 || index > kToolButtonCount || !toolButtons[index]) return;
    toolTips_[index] = tip;
    toolButtons[index]->setToolTip(Q(tip));
}

std::string Lintora::ToolButtonTip(int index) const {
    return index >= 1 && index <= kToolButtonCount ? toolTips_[index] : std::string();
}

void Lintora::SetInetButtonTip(const std::string& tip) { InetButton->setToolTip(Q(tip)); }

void Lintora::SetMenuItemEnabled(const std::string& menu, int index, bool enabled) {
    QAction* a = nullptr;
    if (menu == "File" && index >= 0 && index < 5) a = mnuFileItem[index];
    if (menu == "Edit" && index >= 0 && index < 5) a = mnuEditItem[index];
    if (menu == "List" && index >= 0 && index < 2) a = mnuListItem[index];
    if (a) a->setEnabled(enabled);
}

void Lintora::SetPasteEnabled(bool enabled) { Command6->setEnabled(enabled); }

void Lintora::ClearIndivList() { Call(hooks.clearIndivList); }
void Lintora::ClearMarriageList() { Call(hooks.clearMarriageList); }
void Lintora::HideListWindow() { ListFrame->hide(); }

void Lintora::HidePanels() {
    for (auto& [name, w] : panels_) w->hide();
}

void Lintora::LoadParentPickList() { Call(hooks.loadParentPickList); }
void Lintora::HideParentPickList() { Call(hooks.hideParentPickList); }

void Lintora::HidePreferences() { Call(hooks.hidePreferences); }

}  // namespace lintora
