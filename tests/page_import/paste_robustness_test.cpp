// Pastes of damaged and random text: whatever comes off the clipboard, the
// tables stay consistent and undo gives back the tables of before.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "page_import/paste.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "record_store/undo.h"
#include "tests/page_import/page_support.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

using testing::ExpectTablesConsistent;
using testing::ReadPage;
using testing::RecordingWindows;
using testing::TablesInUse;

// Answers every box and match choice from a fixed-seed generator instead of
// a script: any button the box offers, any row offered or "not a match".
class AnyAnswerPlatform : public testing::ScriptedPlatform {
public:
    std::mt19937 rng{7};

    MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title,
                     const std::string&) override {
        boxes.push_back({text, buttons, icon, title});
        switch (buttons) {
            case MsgButtons::Ok: return MsgResult::Ok;
            case MsgButtons::OkCancel: return rng() % 2 ? MsgResult::Ok : MsgResult::Cancel;
            case MsgButtons::YesNo:
            case MsgButtons::YesNoDefaultNo: return rng() % 2 ? MsgResult::Yes : MsgResult::No;
            case MsgButtons::YesNoCancel: {
                const MsgResult r[] = {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
                return r[rng() % 3];
            }
            case MsgButtons::RetryCancel: return MsgResult::Cancel;
        }
        return MsgResult::Cancel;
    }
    int32_t ChooseMatch(const MatchRequest& request) override {
        matchRequests.push_back(request);
        // Now and then a number no row offered: the choice is checked before use.
        if (rng() % 10 == 0) {
            const int32_t wild[] = {-1, g.IndivCount + 1, kMaxIndiv + 1, 1 << 30};
            return wild[rng() % std::size(wild)];
        }
        std::vector<int32_t> choices{0};
        for (const auto& row : request.rows)
            if (row.indiv != 0) choices.push_back(row.indiv);
        return choices[rng() % choices.size()];
    }
};

// Lines of the damaged pages: labels without values, over-long and odd
// characters, valid and invalid UTF-8.
const std::vector<std::string> kOddLines = {
    "Sex:", "Sex: ", "Birth:", "Death:", "Christened:", "Burial:", "Marriage:", "Father:", "Mother:",
    "Spouse:", "Parents:", "Marriages:", "Event(s):", "Sex: F", "Sex: X Y Z", ":", "::::", "(AFN:",
    "(AFN: )", "Father: (AFN: 1-2)", "Mother: ( AFN: ", "Spouse: Ann (AFN: 3-4) Family", "Spouse: <unknown>",
    "# Father: Tom LEE (AFN: 7-7)", "* Mother: Sue LEE", "#", "* ", "\t\tBirth:\t1850\t", "\r", "\r\r\r",
    "Birth: 31 Feb 99999", "Marriage: \xC3\xA9t\xC3\xA9 1850", "\tZ\xC3\xBCrich, \xE5\x8C\x97\xE4\xBA\xAC",
    "Father: \xFF\xFE\xFD (AFN: \x80\x81)", "Mother: \xE2\x82", "Spouse: \xF0\x9F\x98\x80\xF0\x9F",
    "Sex: \xC3", "John (AFN: 1B2C-3DF)", "(AFN: 1B2C-3DF)", "Mary PARKER (AFN: 2C3D-5HJ)",
    "Samuel WHITLOCK (AFN: 9K7L-2MN)", "FamilySearch(TM) Ancestral File Individual Record"};

std::string LongLine(std::mt19937& rng) {
    const std::string pieces[] = {"a", "Z ", "\xC3\xA9", "\xE5\x8C\x97", "\xFF", "\t", ":", "(AFN: ", ")"};
    std::string s = rng() % 2 ? "Father: " : "";
    for (int n = 200 + static_cast<int>(rng() % 4000); n > 0; --n) s += pieces[rng() % std::size(pieces)];
    return s;
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t lf = text.find('\n', start);
        lines.push_back(text.substr(start, lf == std::string::npos ? std::string::npos : lf - start));
        if (lf == std::string::npos) return lines;
        start = lf + 1;
    }
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
    std::string out;
    for (const auto& l : lines) out += l + end;
    return out;
}

// The sample page with a few lines removed, repeated, moved or replaced.
std::string DamagedPage(const std::string& page, std::mt19937& rng) {
    std::vector<std::string> lines = LinesOf(page);
    // A page without identifiers: people are matched by name and dates.
    if (rng() % 3 == 0)
        for (auto& l : lines)
            if (const std::size_t open = l.find("(AFN:"); open != std::string::npos) l.erase(open);
    for (int m = 1 + static_cast<int>(rng() % 4); m > 0; --m) {
        const std::size_t at = 1 + rng() % (lines.size() - 1);  // the heading stays, so the parser runs
        switch (rng() % 13) {
            case 0: lines.erase(lines.begin() + static_cast<long>(at)); break;
            case 1: lines.insert(lines.begin() + static_cast<long>(at), lines[at]); break;
            case 2: std::swap(lines[at], lines[1 + rng() % (lines.size() - 1)]); break;
            case 3: lines.insert(lines.begin() + static_cast<long>(at), kOddLines[rng() % kOddLines.size()]); break;
            case 4: lines[at] = (rng() % 2 ? "# " : "* ") + lines[at]; break;
            case 5: lines.insert(lines.begin() + static_cast<long>(at), LongLine(rng)); break;
            case 6: {
                const char* label[] = {"Mother: ", "Father: ", "Spouse: ", "Marriage: ", "Sex: "};
                const std::string which = label[rng() % std::size(label)];
                for (int k = 0; k < 40; ++k)
                    lines.insert(lines.begin() + static_cast<long>(at),
                                 which + (k % 3 ? "Kin" + std::to_string(k) + " DOE (AFN: K-" + std::to_string(k) + ")"
                                                : std::string()));
                break;
            }
            case 7: {  // bytes overwritten with anything at all
                std::string& l = lines[at];
                for (int k = 0; k < 4 && !l.empty(); ++k) l[rng() % l.size()] = static_cast<char>(rng() % 256);
                break;
            }
            case 8: lines[at] = lines[at].substr(0, rng() % (lines[at].size() + 1)); break;
            case 9: lines[at] = "\t" + lines[at] + "\t"; break;
            // Damage that leaves people close to, not equal to, those held:
            // the close-match choice comes into play.
            case 10: {  // the identifier gone
                const std::size_t open = lines[at].find("(AFN:");
                const std::size_t close = lines[at].find(')', open);
                if (open != std::string::npos)
                    lines[at].erase(open, close == std::string::npos ? std::string::npos : close - open + 1);
                break;
            }
            case 11:  // other digits: dates a year or so off, other identifiers
                for (char& ch : lines[at])
                    if (ch >= '0' && ch <= '9' && rng() % 3 == 0) ch = static_cast<char>('0' + rng() % 10);
                break;
            case 12: {  // a surname spelt another way
                const char* names[] = {"WHITLOCK", "MARSH", "BENNETT", "PARKER"};
                const char* other[] = {"WHITLOCKE", "MARCH", "BENET", "PARKES"};
                const std::size_t k = rng() % std::size(names);
                const std::size_t pos = lines[at].find(names[k]);
                if (pos != std::string::npos) lines[at].replace(pos, std::strlen(names[k]), other[k]);
                break;
            }
        }
        if (lines.size() < 2) lines.push_back("Sex: M");
    }
    std::string text;
    switch (rng() % 5) {
        case 0: text = Joined(lines, "\r\n"); break;
        case 1: text = Joined(lines, "\r"); break;  // lone CRs: one long line
        case 2: text = Joined(lines, " "); break;   // no line ends at all
        default: text = Joined(lines, "\n"); break;
    }
    if (rng() % 8 == 0) text = text.substr(0, rng() % (text.size() + 1));
    return text;
}

// Text with no page in it, or the page heading over nothing sensible.
std::string Garbage(std::mt19937& rng) {
    std::string text = rng() % 2 ? "FamilySearch Ancestral File Individual Record\n" : "";
    for (int n = static_cast<int>(rng() % 60); n > 0; --n) {
        switch (rng() % 4) {
            case 0: text += kOddLines[rng() % kOddLines.size()]; break;
            case 1: text += LongLine(rng); break;
            case 2:
                for (int k = static_cast<int>(rng() % 80); k > 0; --k) text += static_cast<char>(rng() % 256);
                break;
            case 3: text += std::string(rng() % 5, '\r'); break;
        }
        const char* ends[] = {"\n", "\r\n", "\r", "", "\t"};
        text += ends[rng() % std::size(ends)];
    }
    return text;
}

// The start of a failing text, readable in the test output.
std::string Shown(const std::string& text) {
    std::string out = "text of " + std::to_string(text.size()) + " bytes:\n";
    for (std::size_t i = 0; i < text.size() && i < 800; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || (c >= 0x20 && c < 0x7F)) {
            out += static_cast<char>(c);
        } else {
            const char* hex = "0123456789ABCDEF";
            out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        }
    }
    return out;
}

class PasteRobustness : public ::testing::Test {
protected:
    AnyAnswerPlatform ui;
    RecordingWindows windows;

    void SetUp() override {
        ResetProgramState();
        InstallPlatform(&ui);
        InstallWindowFakes(&windows);
    }
    void TearDown() override {
        RemoveWindowFakes();
        InstallPlatform(nullptr);
    }
};

// One paste of text, checked; then undone and checked again, and (when
// keep) pasted once more so later pages meet people already held. Returns
// whether the page person was filed.
bool PasteAndUndo(const std::string& text, RecordingWindows& windows, bool keep, std::mt19937& rng) {
    const TablesInUse before = TablesInUse::Now();
    const std::size_t snapshots = windows.tips.size();
    ProcessClipboard(text);
    EXPECT_NO_FATAL_FAILURE(ExpectTablesConsistent()) << Shown(text);
    if (windows.tips.size() == snapshots) {
        // Refused: nothing was filed.
        EXPECT_TRUE(TablesInUse::Now() == before) << Shown(text);
        return false;
    }
    // A pick from the parent list, as the user may make after the paste.
    if (g.PageScratch.PageParentSetCount > 1 && rng() % 2) {
        LinkChildToParents(static_cast<int16_t>(rng() % (g.PageScratch.PageParentSetCount + 2)));
        EXPECT_NO_FATAL_FAILURE(ExpectTablesConsistent()) << Shown(text);
    }
    const bool filed = !TrimBlanks(g.PageScratch.pgName).empty() && g.PageMainIndiv > 0;
    RestoreUndo();
    EXPECT_TRUE(TablesInUse::Now() == before) << "undo did not give back the tables; " << Shown(text);
    EXPECT_NO_FATAL_FAILURE(ExpectTablesConsistent());
    if (keep) {
        g.LastPaste.clear();
        ProcessClipboard(text);
        EXPECT_NO_FATAL_FAILURE(ExpectTablesConsistent()) << Shown(text);
    }
    return filed;
}

TEST_F(PasteRobustness, DamagedAndRandomTextKeepsTheTablesConsistent) {
    const std::string page = ReadPage("af_individual.txt");
    ASSERT_FALSE(page.empty());
    std::mt19937 rng(20240607);
    int filed = 0;
    for (int c = 0; c < 400 && !HasFailure(); ++c) {
        SCOPED_TRACE("case " + std::to_string(c));
        if (c % 50 == 0) ResetProgramState();
        const std::string text = c % 4 == 3 ? Garbage(rng) : DamagedPage(page, rng);
        if (PasteAndUndo(text, windows, rng() % 2, rng)) ++filed;
    }
    // The damage left most pages readable: the parser and the filing ran,
    // and close matches were offered.
    EXPECT_GT(filed, 100);
    EXPECT_GT(ui.matchRequests.size(), 8u);
}

TEST_F(PasteRobustness, TablesNearlyFullStayConsistent) {
    const std::string page = ReadPage("af_individual.txt");
    std::mt19937 rng(1832);
    for (int c = 0; c < 24 && !HasFailure(); ++c) {
        SCOPED_TRACE("case " + std::to_string(c));
        if (c % 12 == 0) {
            // Room for a few more people and one more family.
            ResetProgramState();
            testing::FillTablesAllButThree();
        }
        PasteAndUndo(DamagedPage(page, rng), windows, rng() % 2, rng);
    }
}

}  // namespace
}  // namespace lintora

namespace lintora {
namespace {

// The GenCircles and MyTrees pages, damaged the same way, into empty and
// into nearly full tables.
TEST_F(PasteRobustness, DamagedGenCirclesAndMyTreesPagesKeepTheTablesConsistent) {
    std::mt19937 rng(1901);
    for (const char* name : {"gencircles_individual.txt", "gencircles_pedigree.txt", "mytrees_individual.txt",
                             "mytrees_family.txt", "mytrees_pedigree.txt"}) {
        SCOPED_TRACE(name);
        const std::string page = ReadPage(name);
        ASSERT_FALSE(page.empty());
        int parsed = 0;
        for (int c = 0; c < 80 && !HasFailure(); ++c) {
            SCOPED_TRACE("case " + std::to_string(c));
            if (c % 20 == 0) ResetProgramState();
            if (c == 60) {
                // Room for a few more people and one more family.
                testing::FillTablesAllButThree();
            }
            const std::size_t snapshots = windows.tips.size();
            PasteAndUndo(DamagedPage(page, rng), windows, rng() % 2, rng);
            if (windows.tips.size() > snapshots) ++parsed;
        }
        // Most damaged pages are still recognised and read.
        EXPECT_GT(parsed, 25);
    }
}

}  // namespace
}  // namespace lintora

namespace lintora {
namespace {

// The individual and family pages with the lines that name the page person
// (among the first ones) dropped at random, and damaged besides: a paste
// the user is told found no data has filed nothing at all.
TEST_F(PasteRobustness, PasteReportedAsNoDataChangesNothing) {
    const char* const kNoData = "Lintora unable to extract any data from copied text.";
    std::mt19937 rng(777);
    int noData = 0, filed = 0;
    for (const char* name : {"anc_individual.txt", "gencircles_individual.txt", "af_individual.txt",
                             "af_family.txt", "igi_individual.txt", "prf_individual.txt", "mytrees_individual.txt",
                             "mytrees_family.txt"}) {
        SCOPED_TRACE(name);
        const std::vector<std::string> page = LinesOf(ReadPage(name));
        ASSERT_GT(page.size(), 8u);
        for (int c = 0; c < 40 && !HasFailure(); ++c) {
            SCOPED_TRACE("case " + std::to_string(c));
            if (c % 10 == 0) ResetProgramState();
            std::vector<std::string> lines = {page[0]};
            for (std::size_t k = 1; k < page.size(); ++k)
                if (k > 8 || rng() % 3 != 0) lines.push_back(page[k]);
            std::string text = Joined(lines, "\n");
            if (rng() % 2) text = DamagedPage(text, rng);

            const TablesInUse before = TablesInUse::Now();
            const std::size_t shown = ui.boxes.size();
            g.LastPaste.clear();
            ProcessClipboard(text);
            ASSERT_NO_FATAL_FAILURE(ExpectTablesConsistent()) << Shown(text);
            bool reportedNone = false;
            for (std::size_t b = shown; b < ui.boxes.size(); ++b)
                reportedNone = reportedNone || ui.boxes[b].text.rfind(kNoData, 0) == 0;
            if (reportedNone) {
                ++noData;
                EXPECT_TRUE(TablesInUse::Now() == before) << "filed on a paste that found no data; " << Shown(text);
            } else if (!(TablesInUse::Now() == before)) {
                ++filed;
            }
        }
    }
    // Both outcomes were met often.
    EXPECT_GT(noData, 40);
    EXPECT_GT(filed, 80);
}

}  // namespace
}  // namespace lintora
