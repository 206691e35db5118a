#include "internet_search/gui/search_window.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/navigate.h"
#include "platform/qt/box_text.h"
#include "platform/qt/filled_box.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/window_place.h"
#include "platform/platform.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toStdString(); }
// A box's text trimmed of blanks, as every rule compares it.
std::string Text(const QLineEdit* box) { return TrimBlanks(S(box->text())); }
bool Blank(const QLineEdit* box) { return Text(box).empty(); }

constexpr int kTwipsPerPixel = 15;

// Removes every line of a list without running its rule.
void ClearList(QComboBox* list) {
    QSignalBlocker quiet(list);
    list->clear();
    list->setCurrentIndex(-1);
}

// Selects a position of a list; its rule runs when the selection changes.
// A position beyond the list selects nothing.
void SelectPosition(QComboBox* list, int position) {
    if (position < 0 || position >= list->count()) return;
    list->setCurrentIndex(position);
}

// Counts one of the window's own updates while it runs.
class OwnUpdate {
public:
    explicit OwnUpdate(int& depth) : depth_(depth) { ++depth_; }
    ~OwnUpdate() { --depth_; }
    OwnUpdate(const OwnUpdate&) = delete;
    OwnUpdate& operator=(const OwnUpdate&) = delete;

private:
    int& depth_;
};

// Focus moves that the user makes; the others (another window taking the
// focus, a focused control disabled or hidden) leave no box.
bool MovedByUser(Qt::FocusReason reason) {
    return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

QToolButton* PictureButton(QWidget* parent, QStyle::StandardPixmap pixmap, const char* tip) {
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(pixmap));
    b->setIconSize(QSize(20, 20));
    b->setToolTip(tip);
    b->setAutoRaise(false);
    return b;
}

}  // namespace

LintoraInetSet::LintoraInetSet(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Internet Search - Select Criteria");
    setModal(true);
    ReturnActivationOnHide(this);

    auto line = [this](const char* tip = nullptr) {
        auto* e = new FilledBox(this);
        if (tip) e->setToolTip(tip);
        e->installEventFilter(this);
        // Go is the window's default button: Enter in a box presses it.
        connect(e, &QLineEdit::returnPressed, this, [this] { btnGoInet->click(); });
        return e;
    };
    auto check = [this] {
        auto* c = new QCheckBox(this);
        c->setFocusPolicy(Qt::StrongFocus);
        return c;
    };
    auto combo = [this](const char* tip = nullptr) {
        auto* c = new QComboBox(this);
        if (tip) c->setToolTip(tip);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        return c;
    };
    auto label = [this](const char* text) { return new QLabel(text, this); };

    cmdbtnExit = PictureButton(this, QStyle::SP_DialogCloseButton, "Close");
    SiteSelect = combo("Select site");
    SiteSelect->setMinimumContentsLength(16);
    PageSelect = combo("Select page");
    PageSelect->setMinimumContentsLength(30);
    btnGoInet = PictureButton(this, QStyle::SP_ArrowRight, "Search site");
    lblAFN = label("AFN");
    chkAFN = check();
    iAFN = line();
    Label1 = label("Name");
    chkIName = check();
    iFirst = line("First Name ");
    iLast = line("Last Name");
    Label2 = label("Birth");
    chkByear = check();
    iByear = line();
    iBRange = combo("Range");
    chkBplace = check();
    iBplace = line();
    Label3 = label("Death");
    chkDyear = check();
    iDyear = line();
    iDRange = combo("Range");
    chkDplace = check();
    iDplace = line();
    Label4 = label("Spouse");
    chkSName = check();
    sFirst = line("First name");
    sLast = line("Last name");
    btnSpouseSelect = PictureButton(this, QStyle::SP_BrowserReload, "Select another spouse");
    Label5 = label("Married");
    chkMyear = check();
    mYear = line();
    MRange = combo("Range");
    chkMplace = check();
    Mplace = line();
    Label6 = label("Father");
    chkFName = check();
    fFirst = line("First name");
    fLast = line("Last name");
    Label7 = label("Mother");
    chkMName = check();
    mFirst = line("First name");
    mLast = line("Last name");
    lblRegion = label("Region");
    chkRegion = check();
    Region1Select = combo();
    Region2Select = combo();
    Region3Select = combo();
    for (QComboBox* r : {Region1Select, Region2Select, Region3Select}) r->setMinimumContentsLength(14);
    btnGoTimeLine = PictureButton(this, QStyle::SP_FileDialogDetailedView, "Search site");
    Label8 = label(kTimeLineHost);
    for (QLineEdit* year : {iByear, iDyear, mYear}) year->setMaximumWidth(4200 / kTwipsPerPixel / 4);
    for (QComboBox* range : {iBRange, iDRange, MRange}) range->setMinimumContentsLength(13);

    // Rows from top to bottom; columns: label, box, first field, second
    // field, place box, place.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 2);
    int row = 0;
    auto put = [&](QLabel* l, QCheckBox* c, QWidget* a, QWidget* b, QCheckBox* pc = nullptr, QWidget* p = nullptr) {
        grid->addWidget(l, row, 0);
        grid->addWidget(c, row, 1);
        if (a) grid->addWidget(a, row, 2, 1, b ? 1 : 2);
        if (b) grid->addWidget(b, row, 3);
        if (pc) grid->addWidget(pc, row, 4);
        if (p) grid->addWidget(p, row, 5);
        ++row;
    };
    put(lblAFN, chkAFN, iAFN, nullptr);
    put(Label1, chkIName, iFirst, iLast);
    auto yearAndRange = [this](QLineEdit* year, QComboBox* range) {
        auto* w = new QWidget(this);
        auto* h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(6);
        h->addWidget(year);
        h->addWidget(range, 1);
        return w;
    };
    put(Label2, chkByear, yearAndRange(iByear, iBRange), nullptr, chkBplace, iBplace);
    put(Label3, chkDyear, yearAndRange(iDyear, iDRange), nullptr, chkDplace, iDplace);
    put(Label4, chkSName, sFirst, sLast, nullptr, nullptr);
    grid->addWidget(btnSpouseSelect, row - 1, 4, Qt::AlignLeft);
    put(Label5, chkMyear, yearAndRange(mYear, MRange), nullptr, chkMplace, Mplace);
    put(Label6, chkFName, fFirst, fLast);
    put(Label7, chkMName, mFirst, mLast);
    auto* regions = new QWidget(this);
    auto* rh = new QHBoxLayout(regions);
    rh->setContentsMargins(0, 0, 0, 0);
    rh->setSpacing(6);
    rh->addWidget(Region1Select, 1);
    rh->addWidget(Region2Select, 1);
    rh->addWidget(Region3Select, 1);
    grid->addWidget(lblRegion, row, 0);
    grid->addWidget(chkRegion, row, 1);
    grid->addWidget(regions, row, 2, 1, 4);

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(cmdbtnExit);
    top->addWidget(SiteSelect, 1);
    top->addWidget(PageSelect, 2);
    top->addWidget(btnGoInet);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnGoTimeLine);
    bottom->addWidget(Label8);
    bottom->addStretch(1);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(10, 10, 10, 10);
    all->setSpacing(10);
    all->addLayout(top);
    all->addLayout(grid);
    all->addLayout(bottom);
    all->addStretch(1);
    resize(9600 / kTwipsPerPixel, sizeHint().height());

    const std::pair<QToolButton*, void (LintoraInetSet::*)()> buttons[] = {
        {cmdbtnExit, &LintoraInetSet::cmdbtnExit_Click},
        {btnGoInet, &LintoraInetSet::btnGoInet_Click},
        {btnGoTimeLine, &LintoraInetSet::btnGoTimeLine_Click},
        {btnSpouseSelect, &LintoraInetSet::btnSpouseSelect_Click},
    };
    for (const auto& [button, rule] : buttons)
        connect(button, &QToolButton::clicked, this, [this, rule = rule] { RunOwn(rule); });
    const std::pair<QCheckBox*, void (LintoraInetSet::*)()> rules[] = {
        {chkAFN, &LintoraInetSet::chkAFN_Click},       {chkIName, &LintoraInetSet::chkIName_Click},
        {chkByear, &LintoraInetSet::chkByear_Click},   {chkBplace, &LintoraInetSet::chkBplace_Click},
        {chkDyear, &LintoraInetSet::chkDyear_Click},   {chkDplace, &LintoraInetSet::chkDplace_Click},
        {chkMyear, &LintoraInetSet::chkMyear_Click},   {chkMplace, &LintoraInetSet::chkMplace_Click},
        {chkSName, &LintoraInetSet::chkSName_Click},   {chkFName, &LintoraInetSet::chkFName_Click},
        {chkMName, &LintoraInetSet::chkMName_Click},   {chkRegion, &LintoraInetSet::chkRegion_Click},
    };
    for (const auto& [box, rule] : rules)
        connect(box, &QCheckBox::stateChanged, this, [this, rule = rule] { RunOwn(rule); });
    const std::pair<QComboBox*, void (LintoraInetSet::*)()> lists[] = {
        {SiteSelect, &LintoraInetSet::SiteSelect_Click}, {PageSelect, &LintoraInetSet::PageSelect_Click},
        {iBRange, &LintoraInetSet::iBRange_Click},       {iDRange, &LintoraInetSet::iDRange_Click},
        {MRange, &LintoraInetSet::MRange_Click},         {Region1Select, &LintoraInetSet::Region1Select_Click},
        {Region2Select, &LintoraInetSet::Region2Select_Click},
    };
    for (const auto& [list, rule] : lists)
        connect(list, &QComboBox::currentIndexChanged, this, [this, rule = rule](int index) {
            if (index >= 0) RunOwn(rule);
        });

    // A new window: every list empty, every box clear, nothing switched on
    // until a page is applied.
    for (QWidget* w : {static_cast<QWidget*>(lblAFN), static_cast<QWidget*>(chkAFN), static_cast<QWidget*>(iAFN),
                       static_cast<QWidget*>(lblRegion), static_cast<QWidget*>(chkRegion),
                       static_cast<QWidget*>(Region1Select), static_cast<QWidget*>(Region2Select),
                       static_cast<QWidget*>(Region3Select), static_cast<QWidget*>(btnSpouseSelect)})
        w->hide();
    InstallSearchWindow(this);
    KeepPlaceWhenShownAgain(this);
}

LintoraInetSet::~LintoraInetSet() {
    if (&SearchWindow() == this) InstallSearchWindow(nullptr);
}

int LintoraInetSet::Value(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}

void LintoraInetSet::SetValue(QCheckBox* box, int value) {
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

bool LintoraInetSet::ShowsCutMark(const QLineEdit* box) {
    return lintora::ShowsCutMark(box);
}

bool LintoraInetSet::SwitchedOn(const QWidget* field) { return field->property("switchedOn").toBool(); }

void LintoraInetSet::SetField(QWidget* field, bool enabled, bool on) {
    field->setEnabled(enabled);
    field->setProperty("switchedOn", on);
    QPalette p = field->palette();
    const QPalette standard = QApplication::palette(field);
    const QColor back = on ? standard.color(QPalette::Base) : standard.color(QPalette::Window).darker(112);
    p.setColor(QPalette::Active, QPalette::Base, back);
    p.setColor(QPalette::Inactive, QPalette::Base, back);
    p.setColor(QPalette::Disabled, QPalette::Base, back);
    field->setPalette(p);
}

// ---- Preparation ----

void LintoraInetSet::LoadInetSet(int32_t indiv) {
    OwnUpdate busy(ownUpdates_);
    closedByTitleBar_ = false;
    // 1. The range lists, filled once; a range chosen earlier stays chosen.
    if (iBRange->currentIndex() < 0) {
        for (QComboBox* range : {iBRange, iDRange, MRange}) {
            QSignalBlocker quiet(range);
            range->clear();
            for (const char* text : kRangeLines) range->addItem(text);
            range->setCurrentIndex(0);
        }
    }
    // 2. Empty boxes.
    for (QLineEdit* box : {iAFN, iFirst, iLast, iByear, iDyear, iBplace, iDplace, sFirst, sLast, fFirst, fLast,
                           mFirst, mLast, mYear, Mplace})
        box->clear();
    btnSpouseSelect->hide();
    spouses_.clear();
    // 3. The person.
    const bool person = indiv > 0 && indiv <= g.IndivCount;
    if (person) {
        SearchPerson p = ReadSearchPerson(indiv);
        SetBoxText(iAFN, Q(p.afn));
        SetBoxText(iFirst, Q(p.first));
        SetBoxText(iLast, Q(p.last));
        SetBoxText(iByear, Q(p.bYear));
        SetBoxText(iBplace, Q(p.bPlace));
        SetBoxText(iDyear, Q(p.dYear));
        SetBoxText(iDplace, Q(p.dPlace));
        SetBoxText(fFirst, Q(p.fFirst));
        SetBoxText(fLast, Q(p.fLast));
        SetBoxText(mFirst, Q(p.mFirst));
        SetBoxText(mLast, Q(p.mLast));
        spouses_ = std::move(p.spouses);
        g.SpouseSelectPos = 0;
        NextSpouse();
        if (spouses_.size() > 1) btnSpouseSelect->show();
    }
    // 4. A person with an AFN opens on the first site's AFN page.
    if (g.SiteSelectPos == 0 && g.PageSelectPos == 0 && !Blank(iAFN)) g.PageSelectPos = 1;
    // 5. The site list.
    if (SiteSelect->currentIndex() < 0) {
        ClearList(SiteSelect);
        sites_ = SearchSites();
        QSignalBlocker quiet(SiteSelect);
        for (const auto& s : sites_) SiteSelect->addItem(Q(s.name));
        SiteSelect->setCurrentIndex(-1);
    }
    // 6. The remembered site; its page list is rebuilt for this person even
    // when the site stays the same.
    int site = g.SiteSelectPos >= 0 && g.SiteSelectPos < SiteSelect->count() ? g.SiteSelectPos : 0;
    if (SiteSelect->currentIndex() != site && site < SiteSelect->count()) SelectPosition(SiteSelect, site);
    else SiteSelect_Click();
    // 7. Neither the name nor the AFN set: a name search on the first page.
    if (person && Value(chkAFN) == Value(chkIName)) {
        SetValue(chkIName, 1);
        chkIName->setEnabled(true);
        g.PageSelectPos = 0;
        SiteSelect_Click();
    }
    // 8. Criteria whose field came out empty are cleared.
    struct EmptyField {
        QCheckBox* box;
        QLineEdit* field;
        bool region;
    };
    const EmptyField empties[] = {
        {chkAFN, iAFN, false},     {chkBplace, iBplace, false}, {chkDplace, iDplace, false},
        {chkMplace, Mplace, false}, {chkByear, iByear, true},    {chkDyear, iDyear, true},
        {chkMyear, mYear, true},   {chkFName, fLast, false},    {chkMName, mLast, false},
        {chkSName, sLast, false},
    };
    for (const EmptyField& e : empties) {
        if (Value(e.box) != 1 || !Blank(e.field)) continue;
        SetValue(e.box, 0);
        if (e.region) SetValue(chkRegion, 0);
    }
}

void LintoraInetSet::NextSpouse() {
    for (QLineEdit* box : {sFirst, sLast, mYear, Mplace}) box->clear();
    if (spouses_.empty()) return;
    g.SpouseSelectPos = static_cast<int16_t>(g.SpouseSelectPos + 1);
    if (g.SpouseSelectPos < 1 || g.SpouseSelectPos > static_cast<int>(spouses_.size())) g.SpouseSelectPos = 1;
    SpouseValues s = ReadSpouseValues(spouses_[g.SpouseSelectPos - 1]);
    SetBoxText(sFirst, Q(s.first));
    SetBoxText(sLast, Q(s.last));
    SetBoxText(mYear, Q(s.year));
    SetBoxText(Mplace, Q(s.place));
}

void LintoraInetSet::SetInetFields() {
    // 1-4. Everything off, then on again by the template. The AFN page
    // applied again stays the page.
    keepPage_ = true;
    SetValue(chkAFN, 0);
    keepPage_ = false;
    QCheckBox* boxes[] = {chkAFN,  chkIName,  chkByear, chkDyear,  chkBplace, chkDplace,
                          chkFName, chkMName, chkRegion, chkSName, chkMyear,  chkMplace};
    for (QCheckBox* b : boxes) b->setEnabled(false);
    QWidget* fields[] = {iFirst, iLast, iAFN,    fFirst, fLast,  mFirst, mLast,  sLast, sFirst,
                         iByear, iBRange, iBplace, iDyear, iDRange, iDplace, mYear, MRange, Mplace};
    for (QWidget* f : fields) SetField(f, false, false);
    for (QWidget* w : {static_cast<QWidget*>(lblAFN), static_cast<QWidget*>(chkAFN), static_cast<QWidget*>(iAFN),
                       static_cast<QWidget*>(Region1Select), static_cast<QWidget*>(Region2Select),
                       static_cast<QWidget*>(Region3Select), static_cast<QWidget*>(chkRegion),
                       static_cast<QWidget*>(lblRegion)})
        w->hide();
    // 5. The template of the chosen page.
    const int page = PageSelect->currentIndex();
    const std::string templ =
        page >= 0 && page < static_cast<int>(inetPages_.size()) ? inetPages_[page].ipUrl.trimmed() : std::string();
    auto has = [&templ](const char* tag) { return templ.find(tag) != std::string::npos; };
    // 6. Criteria by placeholder.
    struct Rule {
        std::vector<const char*> tags;  // any of them
        std::vector<QCheckBox*> boxes;
        std::vector<QWidget*> fields;
    };
    const Rule rules[] = {
        {{"#ILNAME#"}, {chkIName}, {iFirst, iLast}},
        {{"#FLNAME#"}, {chkFName}, {fFirst, fLast}},
        {{"#MLNAME#"}, {chkMName}, {mFirst, mLast}},
        {{"#FATHER#"}, {chkFName}, {fFirst, fLast}},
        {{"#MOTHER#"}, {chkMName}, {mFirst, mLast}},
        {{"#SLNAME#"}, {chkSName}, {sFirst, sLast}},
        {{"#SPOUSE#"}, {chkSName}, {sFirst, sLast}},
        {{"#BTDATE#", "#BFYEAR#", "#BTYEAR#"}, {chkByear}, {iByear, iBRange}},
        {{"#BPLACE#"}, {chkBplace}, {iBplace}},
        {{"#DTDATE#", "#DFYEAR#", "#DTYEAR#"}, {chkDyear}, {iDyear, iDRange}},
        {{"#DPLACE#"}, {chkDplace}, {iDplace}},
        {{"#MADATE#", "#MFYEAR#", "#MTYEAR#"}, {chkMyear}, {mYear, MRange}},
        {{"#MPLACE#"}, {chkMplace}, {Mplace}},
        {{"#FRDATE#"}, {chkByear, chkDyear, chkMyear}, {iByear, iBRange, iDyear, iDRange, mYear, MRange}},
    };
    if (has("#LDSAFN#")) {
        chkAFN->setEnabled(true);
        lblAFN->show();
        chkAFN->show();
        iAFN->show();
        SetField(iAFN, true, true);
    } else {
        chkIName->setEnabled(true);
    }
    for (const Rule& r : rules) {
        if (std::none_of(r.tags.begin(), r.tags.end(), has)) continue;
        for (QCheckBox* b : r.boxes) b->setEnabled(true);
        for (QWidget* f : r.fields) SetField(f, true, true);
    }
    // 7. Region lists: the last region placeholder found decides.
    struct RegionRule {
        const char* tag;
        const char* set;
        int position;
    };
    const RegionRule regionRules[] = {
        {"#J1FALL#", "ALLR1", 225}, {"#J1FAFN#", "AFNR1", 222}, {"#J1FPRF#", "AFNR1", 222}, {"#REGIDX#", "IGIR1", 12}};
    for (const RegionRule& r : regionRules) {
        if (!has(r.tag)) continue;
        regionTags_[0] = r.set;
        GetRegion1Select(r.set);
        chkRegion->setEnabled(true);
        for (QWidget* w : {static_cast<QWidget*>(chkRegion), static_cast<QWidget*>(lblRegion),
                           static_cast<QWidget*>(Region1Select), static_cast<QWidget*>(Region2Select)})
            w->show();
        SetField(Region1Select, true, true);
        SetField(Region2Select, true, true);
        SelectPosition(Region1Select, r.position);
    }
    // 8. The name rule.
    if (!Blank(iLast) || !Blank(iFirst)) {
        if (chkIName->isEnabled()) {
            SetValue(chkIName, 1);
            SetField(iFirst, iFirst->isEnabled(), true);
            SetField(iLast, iLast->isEnabled(), true);
        }
    } else {
        SetField(iFirst, true, true);
        SetField(iLast, true, true);
    }
    // 9. A person's AFN on the first site's AFN page: an AFN search.
    if (!Blank(iAFN) && SiteSelect->currentIndex() == 0 && PageSelect->currentIndex() == 1 && has("#LDSAFN#")) {
        chkAFN->setEnabled(true);
        SetValue(chkAFN, 1);
        SetValue(chkIName, 0);
        chkIName->setEnabled(false);
    }
}

// ---- Criteria memory ----

void LintoraInetSet::SaveCriteria() {
    QCheckBox* boxes[] = {chkIName, chkByear, chkDyear, chkBplace, chkDplace, chkMyear,
                          chkMplace, chkFName, chkMName, chkSName, chkRegion};
    for (int k = 0; k < 11; ++k) g.SavedCriteria[k + 1] = static_cast<int16_t>(Value(boxes[k]));
}

void LintoraInetSet::RestoreCriteria() {
    QCheckBox* boxes[] = {chkIName, chkByear, chkDyear, chkBplace, chkDplace, chkMyear,
                          chkMplace, chkFName, chkMName, chkSName, chkRegion};
    for (int k = 0; k < 11; ++k) SetValue(boxes[k], g.SavedCriteria[k + 1]);
}

// ---- Region lists ----

void LintoraInetSet::FillRegionList(int level, const std::string& tag, const std::string* parent) {
    QComboBox* list = level == 1 ? Region1Select : level == 2 ? Region2Select : Region3Select;
    ClearList(list);
    RegionFill fill = CollectRegions(tag, parent, level == 1 ? kMaxRegionList1 : kMaxRegionList23);
    {
        QSignalBlocker quiet(list);
        for (const auto& r : fill.items) list->addItem(Q(r.rgName.trimmed()));
        list->setCurrentIndex(-1);
    }
    regionLists_[level - 1] = std::move(fill.items);
    if (fill.overflowRow > 0) ShowProblem(RegionListProblem(level, TrimBlanks(tag), fill.overflowRow));
}

void LintoraInetSet::GetRegion1Select(const std::string& tag) {
    // The lower levels belong to the old level 1: they are emptied with it.
    for (int level = 2; level <= 3; ++level) {
        ClearList(level == 2 ? Region2Select : Region3Select);
        regionLists_[level - 1].clear();
    }
    FillRegionList(1, tag, nullptr);
}

void LintoraInetSet::GetRegion2Select(const std::string& tag, const std::string& parent) {
    FillRegionList(2, tag, &parent);
}

void LintoraInetSet::GetRegion3Select(const std::string& tag, const std::string& parent) {
    FillRegionList(3, tag, &parent);
}

void LintoraInetSet::Region1Select_Click() {
    const int k = Region1Select->currentIndex();
    if (k < 0 || k >= static_cast<int>(regionLists_[0].size())) return;
    const std::string code = regionLists_[0][k].rgCode.trimmed();
    regionTags_[1] = Level2Tag(regionTags_[0], regionTags_[1]);
    // A new level-1 choice starts levels 2 and 3 afresh.
    ClearList(Region3Select);
    regionLists_[2].clear();
    GetRegion2Select(regionTags_[1], code);
    if (!regionLists_[1].empty()) SelectPosition(Region2Select, 0);
    Region3Select->hide();
}

void LintoraInetSet::Region2Select_Click() {
    const int k = Region2Select->currentIndex();
    if (k < 0 || k >= static_cast<int>(regionLists_[1].size())) return;
    const std::string code = regionLists_[1][k].rgCode.trimmed();
    regionTags_[2] = kLevel3Tag;
    GetRegion3Select(regionTags_[2], code);
    if (regionLists_[2].empty()) {
        Region3Select->hide();
    } else {
        SelectPosition(Region3Select, 0);
        Region3Select->show();
        SetField(Region3Select, true, true);
    }
}

// ---- Criterion rules ----

namespace {

bool FamilySearch(const QComboBox* site) { return TrimBlanks(S(site->currentText())) == "FamilySearch"; }
bool MyTrees(const QComboBox* site) { return TrimBlanks(S(site->currentText())) == "MyTrees"; }

}  // namespace

void LintoraInetSet::chkAFN_Click() {
    if (Value(chkAFN) == 1) {
        SaveCriteria();
        for (QCheckBox* b : {chkIName, chkByear, chkBplace, chkDyear, chkDplace, chkFName, chkMName, chkRegion})
            SetValue(b, 0);
        for (QCheckBox* b : {chkIName, chkByear, chkDyear, chkBplace, chkDplace, chkFName, chkMName, chkRegion,
                             chkSName, chkMyear, chkMplace})
            b->setEnabled(false);
    } else {
        for (QCheckBox* b : {chkIName, chkByear, chkDyear, chkFName, chkMName, chkRegion, chkSName, chkMyear})
            b->setEnabled(true);
        if (!keepPage_ && SiteSelect->currentIndex() == 0 && PageSelect->currentIndex() == 1)
            SelectPosition(PageSelect, 0);
        RestoreCriteria();
        SetValue(chkIName, 1);
    }
}

void LintoraInetSet::chkIName_Click() {
    // The name criterion cannot be cleared while it may be used.
    if (chkIName->isEnabled()) SetValue(chkIName, 1);
}

void LintoraInetSet::chkByear_Click() {
    if (FamilySearch(SiteSelect) && Value(chkByear) == 1 && !Blank(iByear)) {
        SetValue(chkDyear, 0);
        SetValue(chkMyear, 0);
    }
    if (Blank(iByear)) SetValue(chkByear, 0);
}

void LintoraInetSet::chkDyear_Click() {
    if (FamilySearch(SiteSelect) && Value(chkDyear) == 1 && !Blank(iDyear)) {
        SetValue(chkByear, 0);
        SetValue(chkMyear, 0);
    }
    if (Blank(iDyear)) SetValue(chkDyear, 0);
}

void LintoraInetSet::chkMyear_Click() {
    if (FamilySearch(SiteSelect) && Value(chkMyear) == 1 && !Blank(mYear)) {
        SetValue(chkDyear, 0);
        SetValue(chkByear, 0);
    }
    if (Blank(mYear)) SetValue(chkMyear, 0);
}

void LintoraInetSet::chkBplace_Click() {
    if (Blank(iBplace)) SetValue(chkBplace, 0);
}

void LintoraInetSet::chkDplace_Click() {
    if (Blank(iDplace)) SetValue(chkDplace, 0);
}

void LintoraInetSet::chkMplace_Click() {
    if (Blank(Mplace)) SetValue(chkMplace, 0);
}

void LintoraInetSet::chkFName_Click() {
    if (MyTrees(SiteSelect) && Value(chkFName) == 1) SetValue(chkSName, 0);
    if (Blank(fFirst) && Blank(fLast)) SetValue(chkFName, 0);
}

void LintoraInetSet::chkMName_Click() {
    if (MyTrees(SiteSelect) && Value(chkMName) == 1) SetValue(chkSName, 0);
    if (Blank(mFirst) && Blank(mLast)) SetValue(chkMName, 0);
}

void LintoraInetSet::chkSName_Click() {
    if (MyTrees(SiteSelect) && Value(chkSName) == 1) {
        SetValue(chkFName, 0);
        SetValue(chkMName, 0);
    }
    if (Blank(sFirst) && Blank(sLast)) SetValue(chkSName, 0);
}

// ---- Leaving text boxes, choosing ranges ----

void LintoraInetSet::iAFN_LostFocus() {
    SetInetFields();
    if (!Blank(iAFN)) SetValue(chkAFN, 1);
}

void LintoraInetSet::iLast_LostFocus() {
    if (Text(iLast) == pagesSurname_) return;
    SetInetFields();
    SiteSelect_Click();
}

void LintoraInetSet::iBRange_Click() {
    if (!Blank(iByear)) SetValue(chkByear, 1);
}

void LintoraInetSet::iDRange_Click() {
    if (!Blank(iDyear)) SetValue(chkDyear, 1);
}

void LintoraInetSet::MRange_Click() {
    if (!Blank(mYear)) SetValue(chkMyear, 1);
}

void LintoraInetSet::iBplace_LostFocus() {
    if (!Blank(iBplace)) SetValue(chkBplace, 1);
}

void LintoraInetSet::iDplace_LostFocus() {
    if (!Blank(iDplace)) SetValue(chkDplace, 1);
}

void LintoraInetSet::Mplace_LostFocus() {
    if (!Blank(Mplace)) SetValue(chkMplace, 1);
}

void LintoraInetSet::sFirst_LostFocus() {
    if (!Blank(sFirst)) SetValue(chkSName, 1);
}

void LintoraInetSet::sLast_LostFocus() {
    if (!Blank(sLast)) SetValue(chkSName, 1);
}

void LintoraInetSet::RunOwn(void (LintoraInetSet::*rule)()) {
    OwnUpdate busy(ownUpdates_);
    (this->*rule)();
}

void LintoraInetSet::LeaveBox(QLineEdit* box) {
    const std::pair<QLineEdit*, void (LintoraInetSet::*)()> leave[] = {
        {iAFN, &LintoraInetSet::iAFN_LostFocus},       {iLast, &LintoraInetSet::iLast_LostFocus},
        {iByear, &LintoraInetSet::iByear_LostFocus},   {iDyear, &LintoraInetSet::iDyear_LostFocus},
        {mYear, &LintoraInetSet::mYear_LostFocus},     {iBplace, &LintoraInetSet::iBplace_LostFocus},
        {iDplace, &LintoraInetSet::iDplace_LostFocus}, {Mplace, &LintoraInetSet::Mplace_LostFocus},
        {sFirst, &LintoraInetSet::sFirst_LostFocus},   {sLast, &LintoraInetSet::sLast_LostFocus},
    };
    for (const auto& [b, rule] : leave)
        if (b == box) RunOwn(rule);
}

bool LintoraInetSet::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::FocusOut && ownUpdates_ == 0) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (MovedByUser(reason)) {
            // The rule may disable for a moment the control the user went
            // to, which moves the focus on; it goes back there afterwards.
            QPointer<QWidget> target = QApplication::focusWidget();
            OwnUpdate busy(ownUpdates_);
            LeaveBox(box);
            if (target && target != QApplication::focusWidget() && target->isEnabled() && target->isVisible())
                target->setFocus(reason);
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Site and page lists ----

void LintoraInetSet::SiteSelect_Click() {
    inetPages_.clear();
    pagesSurname_ = Text(iLast);
    const int site = SiteSelect->currentIndex();
    ClearList(PageSelect);
    if (site >= 0 && site < static_cast<int>(sites_.size()))
        inetPages_ = SitePages(sites_[site].siteNo, !Blank(iLast));
    if (inetPages_.empty()) {
        g.PageSelectPos = 0;
        return;
    }
    {
        QSignalBlocker quiet(PageSelect);
        for (const auto& p : inetPages_) PageSelect->addItem(Q(p.ipName.trimmed()));
        PageSelect->setCurrentIndex(-1);
    }
    // A remembered page beyond this list: the first page, as a name search.
    int position = g.PageSelectPos > 0 ? g.PageSelectPos : 0;
    if (position >= PageSelect->count()) {
        position = 0;
        g.PageSelectPos = 0;
    }
    SelectPosition(PageSelect, position);
    g.PageSelectPos = 0;
}

void LintoraInetSet::PageSelect_Click() {
    SetInetFields();
    const int page = PageSelect->currentIndex();
    // Only the AFN page itself switches to an AFN search.
    const bool afnPage = page >= 0 && page < static_cast<int>(inetPages_.size()) &&
                         inetPages_[page].ipUrl.value().find("#LDSAFN#") != std::string::npos;
    if (g.PageSelectPos == 1 && afnPage) {
        chkAFN->setEnabled(true);
        SetValue(chkAFN, 1);
        SetValue(chkIName, 0);
    }
    g.PageSelectPos = 0;
}

// ---- Buttons ----

void LintoraInetSet::StorePositions() {
    g.SiteSelectPos = static_cast<int16_t>(std::max(0, SiteSelect->currentIndex()));
    g.PageSelectPos = static_cast<int16_t>(std::max(0, PageSelect->currentIndex()));
}

void LintoraInetSet::btnGoInet_Click() {
    // Go takes no focus, and Enter leaves the focus where it is: the box the
    // user is in is left now, typed in or not.
    if (auto* box = qobject_cast<QLineEdit*>(focusWidget())) LeaveBox(box);
    StorePositions();
    RunInetSearch();
}

void LintoraInetSet::cmdbtnExit_Click() {
    StorePositions();
    hide();
}

void LintoraInetSet::reject() {
    StorePositions();
    QDialog::reject();
}

void LintoraInetSet::closeEvent(QCloseEvent* event) {
    closedByTitleBar_ = true;
    QDialog::closeEvent(event);  // through reject, which stores the positions
}

void LintoraInetSet::btnGoTimeLine_Click() {
    const AskingWidget asking(this);
    NavigateTo(kTimeLineAddress);
}

void LintoraInetSet::btnSpouseSelect_Click() { NextSpouse(); }

SearchValues LintoraInetSet::CurrentValues() const {
    SearchValues v;
    v.site = S(SiteSelect->currentText());
    const int page = PageSelect->currentIndex();
    if (page >= 0 && page < static_cast<int>(inetPages_.size())) v.urlTemplate = inetPages_[page].ipUrl.trimmed();
    v.afn = Text(iAFN);
    v.first = Text(iFirst);
    v.last = Text(iLast);
    v.fFirst = Text(fFirst);
    v.fLast = Text(fLast);
    v.mFirst = Text(mFirst);
    v.mLast = Text(mLast);
    v.sFirst = Text(sFirst);
    v.sLast = Text(sLast);
    v.bYear = Text(iByear);
    v.dYear = Text(iDyear);
    v.mYear = Text(mYear);
    v.bPlace = Text(iBplace);
    v.dPlace = Text(iDplace);
    v.mPlace = Text(Mplace);
    v.bRange = iBRange->currentIndex();
    v.dRange = iDRange->currentIndex();
    v.mRange = MRange->currentIndex();
    v.chkAFN = Value(chkAFN);
    v.chkIName = Value(chkIName);
    v.chkByear = Value(chkByear);
    v.chkBplace = Value(chkBplace);
    v.chkDyear = Value(chkDyear);
    v.chkDplace = Value(chkDplace);
    v.chkMyear = Value(chkMyear);
    v.chkMplace = Value(chkMplace);
    v.chkFName = Value(chkFName);
    v.chkMName = Value(chkMName);
    v.chkSName = Value(chkSName);
    v.chkRegion = Value(chkRegion);
    // A region level counts only while its list is shown with a line chosen.
    const QComboBox* lists[3] = {Region1Select, Region2Select, Region3Select};
    std::optional<RegionItemRec>* chosen[3] = {&v.region1, &v.region2, &v.region3};
    for (int level = 0; level < 3; ++level) {
        const int k = lists[level]->currentIndex();
        if (!lists[level]->isHidden() && k >= 0 && k < static_cast<int>(regionLists_[level].size()))
            *chosen[level] = regionLists_[level][k];
    }
    return v;
}

void LintoraInetSet::RunInetSearch() {
    StorePositions();
    switch (CheckMyTreesYears(CurrentValues())) {
        case MyTreesYear::TickBirth: SetValue(chkByear, 1); break;
        case MyTreesYear::TickDeath: SetValue(chkDyear, 1); break;
        case MyTreesYear::Refuse:
            MsgBox(kMyTreesNeedsYear, MsgButtons::Ok, MsgIcon::Information);
            return;
        case MyTreesYear::Ready: break;
    }
    const std::string address = BuildSearchAddress(CurrentValues());
    // No page chosen: there is nothing to open, and the window stays; so it
    // does, for another try, when the browser cannot be started.
    const AskingWidget asking(this);
    if (!address.empty() && NavigateTo(address)) hide();
}

// ---- The port ----

void LintoraInetSet::ResetRanges() {
    if (iBRange->currentIndex() < 0) return;
    for (QComboBox* range : {iBRange, iDRange, MRange}) SelectPosition(range, 0);
}

void LintoraInetSet::ClearSiteLists() {
    ClearList(SiteSelect);
    ClearList(PageSelect);
    sites_.clear();
    inetPages_.clear();
    pagesSurname_.reset();
}

void ShowSearchWindow(int32_t indiv, QWidget* parent) {
    static QPointer<LintoraInetSet> window;
    if (window && (window->ClosedByTitleBar() || window->parentWidget() != parent)) delete window;
    if (!window) window = new LintoraInetSet(parent);
    window->LoadInetSet(indiv);
    window->exec();
}

}  // namespace lintora
