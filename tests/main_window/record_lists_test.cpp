#include "main_window/record_lists.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLocale>
#include <QPushButton>
#include <QTableView>

#include "main_window/list_texts.h"
#include "record_store/tables.h"
#include "tests/support/qt_app.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

class RecordLists : public testing::CleanState {
protected:
    void SetUp() override {
        testing::EnsureApp();
        CleanState::SetUp();
    }
    int32_t Person(const char* given, const char* surname, const char* sex, const char* birth = "") {
        int32_t r = AddIndiv();
        g.Indiv[r].iRIN = r;
        g.Indiv[r].iGivn = given;
        g.Indiv[r].iSurn = surname;
        g.Indiv[r].iSex = sex;
        g.Indiv[r].ibDate = birth;
        g.Indiv[r].iTree = 1;
        return r;
    }
    int32_t Family(int32_t h, int32_t w, const char* date = "") {
        int32_t f = AddFamil();
        g.Famil[f].fHusb = h;
        g.Famil[f].fWife = w;
        g.Famil[f].fmDate = date;
        return f;
    }
    static std::vector<QString> Column(RecordListModel& m, int c) {
        std::vector<QString> out;
        for (int r = 0; r < m.rowCount(); ++r) out.push_back(m.Text(r, c));
        return out;
    }
    static std::vector<std::string> Texts(RecordListModel& m, int c) {
        std::vector<std::string> out;
        for (const QString& t : Column(m, c)) out.push_back(t.toStdString());
        return out;
    }
};

TEST(ListTexts, RowTextsAsTheListsShowThem) {
    struct DateCase { const char* date; const char* text; } dates[] = {
        {"ABT 1850", "1850 @"}, {"AFT 12 MAR 1850", "1850 Mar 12 >"}, {"BEF 3 MAR 1850", "1850 Mar 3 <"},
        {"about 1850", "1850 @"}, {"Mar 1850", "1850 Mar"}, {"", ""}, {"March", ""},
    };
    for (const auto& d : dates) EXPECT_EQ(ListDateText(d.date), d.text) << d.date;
    EXPECT_LT(ListDateKey("12 Mar 1850"), ListDateKey("Apr 1850"));
    EXPECT_EQ(ListPlaceText("Boston, Suffolk, Massachusetts, USA"), "USA, Massachusetts, Suffolk, Boston");
    EXPECT_EQ(ListPlaceText("Boston, MA"), "MA, Boston");
    EXPECT_EQ(ListPlaceText("Salem"), "Salem");
    EXPECT_EQ(ListTreeText(3, 5), " 3/ 5 ");
    EXPECT_EQ(ListTreeText(40, 2), "40/ 2 ");
    EXPECT_EQ(ListTreeText(1, 12), " 1/12 ");
    EXPECT_EQ(ListTreeText(1, -3), " 1/ -3");
    EXPECT_EQ(ListTreeText(1, -12), " 1/-12");
    EXPECT_EQ(ListTreeSort(40, 2), 40102);
    EXPECT_EQ(ListRecNoText(7), "   7  ");
    EXPECT_EQ(ListRecNoText(1234), "1234  ");
    EXPECT_EQ(ListChildCountText(0), " 0");
    EXPECT_EQ(ListChildCountText(-2), " 0");
    EXPECT_EQ(ListChildCountText(3), " 3");
    EXPECT_EQ(ListChildCountText(12), "12");
}

TEST_F(RecordLists, OpenSortAndDoubleClickInViewMode) {
    int32_t john = Person("John Henry", "Smith", "M", "12 Mar 1850");
    g.Indiv[john].iSuffix = "Jr";
    g.Indiv[john].iPrefix = "Rev";
    g.Indiv[john].ibPlace = "Boston, Suffolk, Massachusetts, USA";
    g.Indiv[john].iAFN = "AB12-CD";
    int32_t mary = Person("Mary", "Adams", "F", "Apr 1850");
    int32_t solo = Person("", "Zeller", "U", "ABT 1849");
    g.Indiv[solo].iTree = 40;
    g.Indiv[solo].iGen = 2;
    int32_t removed = Person("Gone", "Away", "M");
    g.Indiv[removed].iTree = 99;
    int32_t f = Family(john, mary, "1875");
    g.Famil[f].fChilCount = 3;
    Family(solo, 0);
    g.FirstSite = "LDS";
    g.FirstType = "IndANC";

    ListFrame lists;
    int32_t opened = -1;
    lists.openPerson = [&](int32_t n) { opened = n; };
    lists.ToggleIndivList();
    EXPECT_FALSE(lists.isHidden());
    EXPECT_EQ(lists.Hint(), kListViewHint);
    EXPECT_FALSE(lists.ListView1()->isHidden());
    EXPECT_TRUE(lists.ListView2()->isHidden());
    EXPECT_TRUE(lists.Command4()->isHidden());
    EXPECT_FALSE(lists.Command5()->isHidden());
    auto& m = lists.IndivModel();
    std::vector<QString> headings;
    for (int c = 0; c < m.columnCount(); ++c) headings.push_back(m.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    EXPECT_EQ(headings, (std::vector<QString>{"Name", "Birth Date", "Birth Place", "Death Date", "Sex", "AFN", "iID",
                                              "Tree", "RecNo", "TreeSort"}));
    EXPECT_TRUE(lists.ListView1()->isColumnHidden(6));
    EXPECT_TRUE(lists.ListView1()->isColumnHidden(9));

    ASSERT_EQ(m.rowCount(), 3);  // the removed person is left out
    EXPECT_EQ(Column(m, 0), (std::vector<QString>{"Adams, Mary", "Smith, Rev John Henry Jr", "Zeller,"}));
    EXPECT_EQ(m.Text(1, 1), "1850 Mar 12");
    EXPECT_EQ(m.Text(1, 2), "USA, Massachusetts, Suffolk, Boston");
    EXPECT_EQ(m.Text(1, 5), "AB12-CD");
    EXPECT_EQ(m.Text(1, 8), "   1  ");
    EXPECT_EQ(m.Text(2, 7), "40/ 2 ");

    lists.ListView1ColumnClick("Name");
    EXPECT_EQ(Column(m, 0).front(), "Zeller,");  // second click: descending
    lists.ListView1ColumnClick("Birth Date");    // by the date, not its text
    EXPECT_EQ(Column(m, 0), (std::vector<QString>{"Zeller,", "Smith, Rev John Henry Jr", "Adams, Mary"}));
    lists.ListView1ColumnClick("ID");  // not a sort column under this caption
    EXPECT_EQ(m.SortKey(), 1);
    lists.ListView1ColumnClick("Tree");
    EXPECT_EQ(m.SortKey(), 9);
    EXPECT_EQ(Column(m, 0).back(), "Zeller,");

    // Marriages: both lists were filled; the switch shows the other.
    lists.Command5Click();
    auto& mm = lists.MarrModel();
    ASSERT_EQ(mm.rowCount(), 2);
    EXPECT_EQ(mm.Text(0, 0), "Smith, John Henry Jr");
    EXPECT_EQ(mm.Text(0, 5), " 3");
    EXPECT_EQ(mm.Text(1, 1), "<unknown>,  ");
    lists.ListView2ColumnClick("RecNo   ");
    EXPECT_EQ(mm.SortKey(), 7);

    // Double-click on a row opens its person.
    lists.Command4Click();
    lists.ListView1()->selectRow(0);  // by tree, John comes first
    lists.ListView1DblClick();
    EXPECT_EQ(opened, john);
    EXPECT_EQ(g.CurIndiv, john);
    EXPECT_TRUE(lists.isHidden());
    EXPECT_EQ(lists.Hint(), "");
}

TEST_F(RecordLists, SpouseLinkOffersNeitherHimselfNorHisSexNorHisSpouses) {
    int32_t john = Person("John", "Smith", "M");
    int32_t wife = Person("Mary", "Adams", "F");
    int32_t other = Person("Ann", "Brown", "F");
    Person("Tom", "Green", "M");
    int32_t unknown = Person("Pat", "Doe", "U");
    Family(john, wife);
    Family(0, other);
    g.CurIndiv = john;

    ListFrame lists;
    int32_t linked = 0;
    bool reopened = false;
    QString status;
    lists.linkSpouse = [&](int32_t n) { linked = n; };
    lists.reopenEditor = [&] { reopened = true; };
    lists.showStatus = [&](const QString& s) { status = s; };
    lists.SetHint("Double-click to select spouse for John Smith");
    lists.ToggleIndivList();
    EXPECT_TRUE(lists.Command5()->isHidden());  // only the list to pick from
    EXPECT_TRUE(lists.MarrModel().Empty());
    EXPECT_EQ(Column(lists.IndivModel(), 0), (std::vector<QString>{"Brown, Ann", "Doe, Pat"}));

    lists.ListView1()->selectRow(1);
    lists.ListView1DblClick();
    EXPECT_EQ(linked, unknown);
    EXPECT_TRUE(lists.IndivModel().Empty());  // refilled at the next opening
    EXPECT_EQ(lists.Hint(), "");

    // A link given up through the List menu, which puts the ordinary hint
    // back and toggles: the list then opened shows everybody again.
    lists.SetHint("Double-click to select spouse for John Smith");
    lists.ToggleIndivList();
    ASSERT_EQ(lists.IndivModel().rowCount(), 2);
    for (int open = 0; open < 2; ++open) {
        lists.SetHint(kListViewHint);
        lists.ToggleIndivList();
    }
    EXPECT_FALSE(lists.isHidden());
    EXPECT_FALSE(reopened);
    EXPECT_EQ(Column(lists.IndivModel(), 0),
              (std::vector<QString>{"Adams, Mary", "Brown, Ann", "Doe, Pat", "Green, Tom", "Smith, John"}));
    lists.Command3Click();

    // Parent link: the marriages of the current person are never offered;
    // closing cancels the link.
    lists.SetHint("Double-click to select parents of John Smith");
    lists.ToggleMarrList();
    ASSERT_EQ(lists.MarrModel().rowCount(), 1);
    EXPECT_EQ(lists.MarrModel().Text(0, 0), "<unknown>,  ");
    lists.Command3Click();
    EXPECT_EQ(status, "Selection canceled");
    EXPECT_TRUE(reopened);
    EXPECT_TRUE(lists.MarrModel().Empty());
    EXPECT_EQ(lists.Hint(), "");

    // An undo while a pick is open ends it as closing does: the person it
    // was for may be gone with the undone work.
    lists.SetHint("Double-click to select spouse for John Smith");
    lists.ToggleIndivList();
    reopened = false;
    lists.Refresh();
    EXPECT_TRUE(lists.isHidden());
    EXPECT_TRUE(reopened);
    EXPECT_EQ(lists.Hint(), "");
}

// Ancestral File people as the list shows them in the main window's frame:
// every identifier, date, tree and number whole, names and places whole
// while the frame has room, and only they give way when it has not.
TEST_F(RecordLists, ColumnsHoldTheirTextsAsFarAsTheFrameAllows) {
    g.FirstSite = "LDS";
    g.FirstType = "IndANC";
    const int32_t duke = Person("Prince Edward Augustus", "of Great Britain and Ireland", "M", "2 Nov 1767");
    g.Indiv[duke].ibPlace = "Buckingham House, Westminster, London, Middlesex, England";
    g.Indiv[duke].idDate = "ABT 23 Jan 1820";
    g.Indiv[duke].iAFN = "9WWW-MM8W";
    g.Indiv[duke].iGen = -12;
    g.Indiv[duke].iTree = 14;
    for (int i = 0; i < 12; ++i) {
        const int32_t r = Person("Augusta", "Hanover", "F", "AFT 12 Sep 1790");
        g.Indiv[r].iAFN = "1W" + std::to_string(i % 10) + "M-" + std::to_string(4000 + i);
        g.Indiv[r].iGen = static_cast<int16_t>(-i);
    }
    Family(duke, 2, "11 Jul 1818");
    g.Famil[1].fmPlace = "Kew Palace, Richmond, Surrey, England";

    ListFrame lists;
    lists.resize(1180, 462);  // the main window's pedigree area
    lists.ToggleIndivList();
    QCoreApplication::processEvents();
    // What the view itself needs to show a column's texts whole.
    auto needs = [](QTableView* view, int c) { return static_cast<QAbstractItemView*>(view)->sizeHintForColumn(c); };
    auto check = [&](QTableView* view, bool allWhole) {
        const RecordListModel* m = static_cast<RecordListModel*>(view->model());
        int used = 0;
        for (int c = 0; c < m->columnCount(); ++c) {
            if (view->isColumnHidden(c)) continue;
            used += view->columnWidth(c);
            if (allWhole || !m->ColumnAt(c).mayCut) {
                EXPECT_GE(view->columnWidth(c), needs(view, c)) << m->ColumnAt(c).caption.toStdString();
            }
        }
        EXPECT_LE(used, view->viewport()->width());
    };
    check(lists.ListView1(), true);
    lists.Command5Click();
    QCoreApplication::processEvents();
    check(lists.ListView2(), true);

    // A frame too narrow for everything: names and places are cut, the
    // rest stays whole.
    lists.resize(640, 462);
    QCoreApplication::processEvents();
    check(lists.ListView2(), false);
    lists.Command4Click();
    QCoreApplication::processEvents();
    check(lists.ListView1(), false);
    EXPECT_LT(lists.ListView1()->columnWidth(0), needs(lists.ListView1(), 0));
}

// A file of character samples: long descriptive names, most born in short
// places and a few in very long ones. The frame cannot hold the longest of
// both; the names, whole in the room the short places leave, stay whole and
// only the few long places are cut.
TEST_F(RecordLists, AFewLongPlacesDoNotCutEveryName) {
    const char* const marks[] = {"acute accent, code: E2 (Unicode: acute, 0301)",
                                 "breve, code: E6 (Unicode: breve, 0306)",
                                 "candrabindu, code: EF (Unicode: candrabindu, 0310)",
                                 "double tilde, right half, code: FB (Unicode: double tilde right half, FE23)",
                                 "high comma, off center, code: ED (Unicode: comma above right, 0315)",
                                 "circle below, code: F4 (Unicode: ring below, 0325)"};
    for (int i = 0; i < 30; ++i) {
        const int32_t r = Person("", marks[i % 6], i % 2 ? "F" : "M");
        g.Indiv[r].ibPlace = i % 2 ? "Plymouth, Massachusetts" : "Taunton, Bristol";
    }
    const char* const longPlaces[] = {
        "ligature ae - uppercase, ligature oe - uppercase, miagkii znak, middle dot, musical flat",
        "dotless i - lowercase, british pound, eth, hook o - lowercase, hook u - lowercase, degree sign",
        "slash l - uppercase, slash o - uppercase, slash d - uppercase, thorn - uppercase, script l"};
    for (int i = 0; i < 3; ++i) {
        const int32_t r = Person("", ("Special Characters " + std::to_string(i)).c_str(), "");
        g.Indiv[r].ibPlace = longPlaces[i];
    }

    ListFrame lists;
    lists.resize(1180, 462);  // the main window's pedigree area
    lists.ToggleIndivList();
    QCoreApplication::processEvents();
    QTableView* view = lists.ListView1();
    auto needs = [view](int row, int column) {
        return static_cast<QAbstractItemView*>(view)->sizeHintForIndex(view->model()->index(row, column)).width();
    };
    int used = 0;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        if (!view->isColumnHidden(c)) used += view->columnWidth(c);
    EXPECT_LE(used, view->viewport()->width());
    int cutNames = 0, cutPlaces = 0;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        cutNames += view->columnWidth(0) < needs(r, 0);
        cutPlaces += view->columnWidth(2) < needs(r, 2);
    }
    EXPECT_EQ(cutNames, 0);
    EXPECT_EQ(cutPlaces, 3);  // the three long ones, shown as far as the room allows
    EXPECT_GT(view->columnWidth(2), view->columnWidth(0) / 2);
}

// French, Swedish and Scottish names with and without capitals: both lists
// sort accented letters with their base letter and case aside, both ways,
// also in the C locale, which names no language; record numbers by number.
TEST_F(RecordLists, NamesSortAsAReaderExpectsNumbersByNumber) {
    const char* const people[][3] = {{"Walter", "Grant", "M"},   {"Émile", "Grant", "M"}, {"Louis", "LLOYD", "M"},
                                     {"Marie", "LÉVESQUE", "F"}, {"Nils", "Zimmer", "M"}, {"Karin", "Öberg", "F"},
                                     {"Anna", "oakes", "F"}};
    for (const auto& p : people) Person(p[0], p[1], p[2]);
    const int32_t marriages[][2] = {{2, 6}, {1, 4}, {3, 7}, {5, 0}};
    for (const auto& m : marriages) Family(m[0], m[1]);
    const QLocale users;
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c()}) {
        QLocale::setDefault(locale);
        ListFrame lists;
        lists.ToggleIndivList();
        std::vector<std::string> names = {"Grant, Émile", "Grant, Walter", "LÉVESQUE, Marie", "LLOYD, Louis",
                                          "oakes, Anna",  "Öberg, Karin",  "Zimmer, Nils"};
        EXPECT_EQ(Texts(lists.IndivModel(), 0), names);
        lists.ListView1ColumnClick("Name");
        std::reverse(names.begin(), names.end());
        EXPECT_EQ(Texts(lists.IndivModel(), 0), names);
        EXPECT_EQ(Texts(lists.MarrModel(), 0),
                  (std::vector<std::string>{"Grant, Émile ", "Grant, Walter ", "LLOYD, Louis ", "Zimmer, Nils "}));
        lists.ListView2ColumnClick("Wife's Name");
        lists.ListView2ColumnClick("Wife's Name");
        EXPECT_EQ(Texts(lists.MarrModel(), 1),
                  (std::vector<std::string>{"Öberg, Karin ", "oakes, Anna ", "LÉVESQUE, Marie ", "<unknown>,  "}));
    }
    QLocale::setDefault(users);

    // Full tables: record 10000 comes after 9999, not after 1000.
    while (g.IndivCount < kMaxIndiv - 1) Person("Ann", "Lee", "F");
    ui.Answer(MsgResult::Ok);  // the table is full
    Person("Ann", "Lee", "F");
    ListFrame lists;
    lists.ToggleIndivList();
    lists.ListView1ColumnClick("RecNo");
    EXPECT_EQ(lists.IndivModel().Text(kMaxIndiv - 2, 8).toStdString(), "9999  ");
    EXPECT_EQ(lists.IndivModel().Text(kMaxIndiv - 1, 8).toStdString(), "10000  ");
}

TEST_F(RecordLists, EmptyTablesShowEmptyListsWithoutComplaint) {
    ListFrame lists;
    lists.ToggleIndivList();
    EXPECT_EQ(lists.IndivModel().rowCount(), 0);
    lists.ListView1DblClick();  // nothing selected: nothing happens
    EXPECT_FALSE(lists.isHidden());
    // A header click on a list never filled sorts nothing and fails nothing.
    lists.ListView1ColumnClick("Birth Place");
    lists.ListView2ColumnClick("Husband's Name");
    EXPECT_EQ(lists.IndivModel().SortKey(), 2);
    EXPECT_EQ(lists.MarrModel().SortKey(), 0);
    lists.ToggleIndivList();
    EXPECT_TRUE(lists.isHidden());
}

}  // namespace
}  // namespace lintora
