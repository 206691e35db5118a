#include "page_import/pedigree_text.h"

#include <string>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/report_pages_support.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::ReportPageTest;
using testing::WithCrLf;

class PedigreeTextTest : public ReportPageTest {
protected:
    static std::string Parents(const std::string& child) {
        const int32_t f = Person(child).iFamc;
        if (f <= 0) return "none";
        return g.Indiv[g.Famil[f].fHusb].iName.value() + " + " + g.Indiv[g.Famil[f].fWife].iName.value();
    }

    void ExpectSampleFiled() {
        ASSERT_EQ(g.IndivCount, 9);
        ASSERT_EQ(g.FamilCount, 4);
        EXPECT_EQ(Parents("Robert HALE"), "George HALE + Emma PRICE");
        EXPECT_EQ(Parents("George HALE"), "William HALE + Sarah DAY");
        EXPECT_EQ(Parents("William HALE"), "Thomas HALE + Ann MOSS");
        EXPECT_EQ(Parents("Emma PRICE"), "John PRICE + Mary WOOD");
        for (const char* top : {"Thomas HALE", "Ann MOSS", "Sarah DAY", "John PRICE", "Mary WOOD"})
            EXPECT_EQ(Parents(top), "none") << top;
        EXPECT_EQ(Person("George HALE").icDate.value(), "3 Mar 1850");
        EXPECT_EQ(Person("George HALE").idDate.value(), "1920");
        EXPECT_EQ(Person("Mary WOOD").ibDate.value(), "1830");
        EXPECT_EQ(Person("Robert HALE").idDate.value(), "1950");
        EXPECT_EQ(Person("Sarah DAY").iSex.value(), "F");
        EXPECT_EQ(Person("John PRICE").iSex.value(), "M");
        EXPECT_EQ(g.PageMainIndiv, ByName("Robert HALE"));
        testing::ExpectTablesConsistent();
    }
};

TEST_F(PedigreeTextTest, SampleChartLinksEveryGeneration) {
    ProcessClipboard(ReadPage("anc_pedigree_text.txt"));
    ASSERT_EQ(g.PageType, "Ptx");
    ExpectSampleFiled();
    EXPECT_EQ(windows.labels[windows.labels.size() - 2], "Processing...9");

    ui.Answer(MsgResult::Yes);
    ProcessClipboard(ReadPage("anc_pedigree_text.txt"));
    EXPECT_EQ(g.IndivCount, 9);
    EXPECT_EQ(g.FamilCount, 4);
}

// William's mother is missing from the chart: his father is filed once,
// with his own birth year, and nobody stands in for her with it.
TEST_F(PedigreeTextTest, MissingMotherBranch) {
    std::string page = ReadPage("anc_pedigree_text.txt");
    const std::size_t ann = page.find("           |            \\Ann MOSS b: 1795\n");
    ASSERT_NE(ann, std::string::npos);
    page.erase(ann, page.find('\n', ann) + 1 - ann);
    ProcessClipboard(page);
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(g.IndivCount, 9);
    ASSERT_EQ(g.FamilCount, 4);
    EXPECT_EQ(Parents("Robert HALE"), "George HALE + Emma PRICE");
    EXPECT_EQ(Parents("George HALE"), "William HALE + Sarah DAY");
    EXPECT_EQ(Parents("William HALE"), "Thomas HALE + <unknown>");
    EXPECT_EQ(Person("Thomas HALE").ibDate.value(), "1790");
    EXPECT_EQ(Person("Thomas HALE").iSex.value(), "M");
    const IndivRec& mother = Person("<unknown>");
    EXPECT_EQ(mother.iSex.value(), "F");
    EXPECT_TRUE(mother.ibDate.blank());
    testing::ExpectTablesConsistent();
}

TEST_F(PedigreeTextTest, WindowsLineEndsGiveTheSameChart) {
    // No real character is cut for a carriage return that is not there.
    ProcessClipboard(WithCrLf(ReadPage("anc_pedigree_text.txt")));
    ExpectSampleFiled();
}

TEST_F(PedigreeTextTest, EntriesWithoutAChildAreNotMarried) {
    // Two mothers' branches whose children are not on the chart.
    SplitPageText("Chart\nAncestry.com\nDisplay pedigree in table format\n       \\Ann MOSS b: 1795\n"
                  "       \\Eva LUND b: 1800\n");
    ProcessPtxANC();
    ASSERT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.FamilCount, 0);
}

TEST_F(PedigreeTextTest, PersonText) {
    std::string name, b, c, d;
    ParsePtxPersonText(" *John Smith* b: 12 Mar 1850 c: 14 Mar 1850 d: 3 Jan 1920 ", name, b, c, d);
    EXPECT_EQ(name, "John Smith");
    EXPECT_EQ(b, "12 Mar 1850");
    EXPECT_EQ(c, "14 Mar 1850");
    EXPECT_EQ(d, "3 Jan 1920");
    ParsePtxPersonText("Ann Lee b: WFT Est. 1790", name, b, c, d);
    EXPECT_EQ(name, "Ann Lee");
    EXPECT_EQ(b, "1790");
    EXPECT_EQ(d, "");
    ParsePtxPersonText("   ", name, b, c, d);
    EXPECT_EQ(name, "");
}

}  // namespace
}  // namespace lintora
