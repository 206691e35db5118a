// The Ancestry and RootsWeb pages pasted into nearly full tables (each
// stops filing after the one table-full message) and pasted damaged: the
// tables stay consistent whatever the page holds.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "tests/page_import/page_support.h"
#include "tests/support/case_names.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

using testing::CleanState;
using testing::ReadPage;

class AncestryLimits : public CleanState, public ::testing::WithParamInterface<const char*> {};

TEST_P(AncestryLimits, OneMessageThenTheFilingStops) {
    testing::FillTablesAllButThree();
    for (int k = 0; k < 20; ++k) ui.Answer(MsgResult::Ok);
    ProcessClipboard(ReadPage(GetParam()));
    int indivFull = 0, familFull = 0;
    for (const auto& box : ui.boxes) {
        indivFull += box.text.rfind("Individual table is full", 0) == 0;
        familFull += box.text.rfind("Family table is full", 0) == 0;
        EXPECT_EQ(box.text.rfind("Problem", 0), std::string::npos) << box.text;
    }
    // Whichever table fills first ends the filing; each says so once.
    EXPECT_LE(indivFull, 1);
    EXPECT_LE(familFull, 1);
    EXPECT_EQ(indivFull + familFull >= 1, true);
    EXPECT_LE(g.IndivCount, kMaxIndiv);
    EXPECT_LE(g.FamilCount, kMaxFamil);
    EXPECT_TRUE(g.IndivCount == kMaxIndiv || g.FamilCount == kMaxFamil);
    // Every box asked for: at most the two table messages and the new-tree note.
    EXPECT_LE(ui.boxes.size(), 3u);
    ui.answers.clear();
    testing::ExpectTablesConsistent();
}

INSTANTIATE_TEST_SUITE_P(Pages, AncestryLimits,
                         ::testing::Values("anc_individual.txt", "anc_register.txt", "anc_ahnentafel.txt",
                                           "anc_descendants.txt", "anc_pedigree_table.txt", "anc_pedigree_text.txt"),
                         testing::NamedBy());

// A pedigree chart pasted again once the individual table has run full
// says so and still files what fits: the people already known are updated.
struct FullChartCase {
    const char* page;
    const char* person;
    FixedText<100> IndivRec::*field;
    const char* value;
};

class FullTableChart : public CleanState, public ::testing::WithParamInterface<FullChartCase> {};

TEST_P(FullTableChart, SaysSoAndUpdatesWhoIsKnown) {
    const FullChartCase& c = GetParam();
    const std::string page = ReadPage(c.page);
    ProcessClipboard(page);
    int32_t person = 0;
    for (int32_t i = 1; i <= g.IndivCount; ++i)
        if (g.Indiv[i].iName.trimmed() == c.person) person = i;
    ASSERT_GT(person, 0);
    ASSERT_EQ((g.Indiv[person].*c.field).trimmed(), c.value);
    (g.Indiv[person].*c.field).clear();
    const int32_t families = g.FamilCount;
    for (int32_t i = g.IndivCount + 1; i <= kMaxIndiv; ++i) {
        g.Indiv[i].iRIN = i;
        g.Indiv[i].iName = "Filler ELLIS";
        g.Indiv[i].iGivn = "Filler";
        g.Indiv[i].iSurn = "ELLIS";
    }
    g.IndivCount = kMaxIndiv;
    BuildNameIndex();
    LoadGenTree();

    ui.Answer(MsgResult::Yes);  // process the same text again
    ui.Answer(MsgResult::Ok);
    ProcessClipboard(page);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].text, "Individual table is full - additional Individuals will be skipped");
    EXPECT_EQ((g.Indiv[person].*c.field).trimmed(), c.value);
    EXPECT_EQ(g.IndivCount, kMaxIndiv);
    EXPECT_EQ(g.FamilCount, families);
    testing::ExpectTablesConsistent();
}

INSTANTIATE_TEST_SUITE_P(
    Charts, FullTableChart,
    ::testing::Values(FullChartCase{"anc_pedigree_table.txt", "William HALE", &IndivRec::idPlace, "Deal, Kent, England"},
                      FullChartCase{"anc_pedigree_text.txt", "George HALE", &IndivRec::icDate, "3 Mar 1850"}),
    testing::NamedBy(&FullChartCase::page));

// Answers every box with its first button and every match choice with
// "not a match" or a row offered.
class AnswerAll : public testing::ScriptedPlatform {
public:
    std::mt19937 rng{11};
    MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon, const std::string&,
                     const std::string&) override {
        texts.push_back(text);
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes : MsgResult::Ok;
    }
    int32_t ChooseMatch(const MatchRequest& request) override {
        std::vector<int32_t> rows{0};
        for (const auto& row : request.rows)
            if (row.indiv != 0) rows.push_back(row.indiv);
        return rows[rng() % rows.size()];
    }
    std::vector<std::string> texts;
};

// Lines moved, repeated, cut, filled with odd bytes, huge numbers or
// nothing at all.
std::string Damaged(const std::string& page, std::mt19937& rng) {
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t lf = page.find('\n', start);
        lines.push_back(page.substr(start, lf == std::string::npos ? std::string::npos : lf - start));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    const char* odd[] = {"99999999999. Huge NUMBER. He married X.", "+", "+ ", "0", "1", "Children are:",
                         "Child", "8", "B:", "P:", "D: P: M: C: B:", "/", "\\", " \\", "1. . . .",
                         ". He was the son of 4000000. A and .", ". She married ", "Marriage", "Father:",
                         "\xFF\xFE", "\xC3", "2 LIVING", "+ LIVING", "2. LIVING He was the son of ? and ?.",
                         "Has Children", "Married:", "Sources:", "NOTE", "(1)", "1)", "x b: ", "d:"};
    for (int m = 1 + static_cast<int>(rng() % 6); m > 0; --m) {
        const std::size_t at = 1 + rng() % (lines.size() - 1);
        switch (rng() % 7) {
            case 0: lines.erase(lines.begin() + static_cast<long>(at)); break;
            case 1: lines.insert(lines.begin() + static_cast<long>(at), lines[at]); break;
            case 2: std::swap(lines[at], lines[1 + rng() % (lines.size() - 1)]); break;
            case 3: lines.insert(lines.begin() + static_cast<long>(at), odd[rng() % std::size(odd)]); break;
            case 4: lines[at] = lines[at].substr(0, rng() % (lines[at].size() + 1)); break;
            case 5:
                for (int k = 0; k < 4 && !lines[at].empty(); ++k)
                    lines[at][rng() % lines[at].size()] = static_cast<char>(rng() % 256);
                break;
            case 6: lines.insert(lines.begin() + static_cast<long>(at), std::string(3000, '/') + " b: 1"); break;
        }
        if (lines.size() < 3) lines.push_back("1 Ann LEE");
    }
    std::string text;
    for (const auto& l : lines) text += l + (rng() % 5 == 0 ? "\r\n" : "\n");
    return text;
}

class AncestryDamage : public ::testing::TestWithParam<const char*> {
protected:
    AnswerAll ui;
    void SetUp() override {
        ResetProgramState();
        InstallPlatform(&ui);
    }
    void TearDown() override {
        InstallPlatform(nullptr);
        ResetProgramState();
    }
};

TEST_P(AncestryDamage, DamagedPagesLeaveConsistentTables) {
    const std::string page = ReadPage(GetParam());
    std::mt19937 rng(2026);
    int32_t most = 0;
    for (int c = 0; c < 40 && !HasFailure(); ++c) {
        SCOPED_TRACE("case " + std::to_string(c));
        if (c % 10 == 0) ResetProgramState();
        ProcessClipboard(Damaged(page, rng));
        testing::ExpectTablesConsistent();
        for (const auto& t : ui.texts) EXPECT_EQ(t.rfind("Problem", 0), std::string::npos) << t;
        ui.texts.clear();
        most = std::max(most, g.IndivCount);
    }
    EXPECT_GT(most, 5);  // the damaged pages still file people
}

INSTANTIATE_TEST_SUITE_P(Pages, AncestryDamage,
                         ::testing::Values("anc_individual.txt", "anc_register.txt", "anc_ahnentafel.txt",
                                           "anc_descendants.txt", "anc_pedigree_table.txt", "anc_pedigree_text.txt"),
                         testing::NamedBy());

}  // namespace
}  // namespace lintora
