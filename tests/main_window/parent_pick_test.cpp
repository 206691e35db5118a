#include "main_window/parent_pick.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTreeWidget>

#include "tests/support/qt_app.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

class ParentPick : public testing::CleanState {
protected:
    void SetUp() override {
        testing::EnsureApp();
        CleanState::SetUp();
    }
    static void Set(int k, const char* father, const char* mother, const char* fatherAfn = "",
                    const char* date = "", const char* place = "") {
        auto& s = g.PageScratch.PageParentSets[static_cast<std::size_t>(k)];
        s.psFatherName = father;
        s.psMotherName = mother;
        s.psFatherAFN = fatherAfn;
        s.psMotherAFN = *fatherAfn ? "MOTH-ER" : "";
        s.psMarrDate = date;
        s.psMarrPlace = place;
        g.PageScratch.PageParentSetCount = static_cast<int16_t>(std::max<int>(g.PageScratch.PageParentSetCount, k));
    }
    static QStringList Row(QTreeWidget* list, int r) {
        QStringList out;
        for (int c = 0; c < 5; ++c) out << list->topLevelItem(r)->text(c);
        return out;
    }
};

TEST_F(ParentPick, RowsNameEachSetAndAClickPicksItsNumber) {
    Set(1, "John Henry Smith Jr", "Mary Jones", "", "abt 12 Mar 1850", "Boston, Suffolk, MA");
    Set(2, "<unknown>", "<unknown>");
    Set(3, "<unknown>", "Ann Brown");
    ParentPickPanel panel;
    int picked = 0;
    bool cancelled = false;
    panel.pickSet = [&](int s) { picked = s; };
    panel.cancelPick = [&] { cancelled = true; };
    panel.LoadParentPickList();
    EXPECT_FALSE(panel.isHidden());
    EXPECT_EQ(panel.Label1()->text(),
              "Sorry - unable to process multiple sets of parents - please select one or cancel for none...");
    auto* list = panel.ParentList();
    EXPECT_EQ(list->headerItem()->text(2), "Marr Date");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(Row(list, 0), (QStringList{"Smith, John Henry Jr", "Jones, Mary", "1850 Mar 12", "MA, Suffolk, Boston", "1"}));
    EXPECT_EQ(Row(list, 1)[4], "3");

    panel.ParentListClick();  // nothing selected: nothing linked, panel stays
    EXPECT_EQ(picked, 0);
    EXPECT_FALSE(panel.isHidden());
    list->setCurrentItem(list->topLevelItem(1));
    panel.ParentListClick();
    EXPECT_EQ(picked, 3);
    EXPECT_TRUE(panel.isHidden());

    // A FamilySearch first paste with a father's AFN shows the identifiers,
    // whole, in the panel as the main window sizes it.
    g.FirstSite = "LDS";
    Set(1, "John Smith", "Mary Jones", "9WWW-MM8W");
    Set(3, "Frederick Augustus Alexander Smith", "Ann Brown", "1WMM-4000");
    panel.resize(panel.sizeHint().expandedTo(QSize(340, 220)));
    panel.LoadParentPickList();
    QCoreApplication::processEvents();
    EXPECT_EQ(list->topLevelItemCount(), 2);  // the old rows are replaced
    EXPECT_EQ(Row(list, 0), (QStringList{"Smith, John", "9WWW-MM8W", "Jones, Mary", "MOTH-ER", "1"}));
    int used = 0;
    for (int c = 0; c < 4; ++c) used += list->columnWidth(c);
    EXPECT_LE(used, list->viewport()->width());
    for (int c : {1, 3}) EXPECT_GE(list->columnWidth(c), static_cast<QAbstractItemView*>(list)->sizeHintForColumn(c));
    panel.Command13Click();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(panel.isHidden());
}

}  // namespace
}  // namespace lintora
