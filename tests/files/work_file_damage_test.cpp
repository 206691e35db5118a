// Work files damaged at random: a bad digit group, a cut line, lines lost,
// repeated or out of place. Every load ends; a file taken leaves every link
// in range, a file refused leaves the work as it was.
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "files/file_loading.h"
#include "files/gedcom_writer.h"
#include "record_store/program_state.h"
#include "tests/files/files_fixture.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

// A small family with notes, sources and a repository, as a GEDCOM file.
const char* const kFamilyFile =
    "0 HEAD\r\n1 CHAR ANSEL\r\n"
    "0 @I1@ INDI\r\n1 NAME John Henry /Whitlock/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 12 MAR 1832\r\n"
    "2 PLAC Wellsville, Allegany, New York\r\n1 FAMC @F1@\r\n1 FAMS @F2@\r\n1 SOUR @S1@\r\n1 NOTE @N1@\r\n"
    "0 @I2@ INDI\r\n1 NAME Samuel /Whitlock/\r\n1 SEX M\r\n1 FAMS @F1@\r\n"
    "0 @I3@ INDI\r\n1 NAME Abigail /Marsh/\r\n1 SEX F\r\n1 FAMS @F1@\r\n"
    "0 @I4@ INDI\r\n1 NAME Eliza Ann /Bennett/\r\n1 SEX F\r\n1 FAMS @F2@\r\n1 DEAT\r\n2 DATE 1899\r\n"
    "0 @I5@ INDI\r\n1 NAME Mary /Whitlock/\r\n1 SEX F\r\n1 FAMC @F2@\r\n1 NOTE Z\xC3\xBCrich first,\r\n"
    "2 CONT then Provo\r\n"
    "0 @F1@ FAM\r\n1 HUSB @I2@\r\n1 WIFE @I3@\r\n1 CHIL @I1@\r\n"
    "0 @F2@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I4@\r\n1 CHIL @I5@\r\n1 MARR\r\n2 DATE 15 JUN 1855\r\n"
    "2 PLAC Nauvoo, Hancock, Illinois\r\n1 SOUR @S1@\r\n"
    "0 @N1@ NOTE Served in the militia\r\n1 CONC , 1857.\r\n"
    "0 @S1@ SOUR\r\n1 TITL Family Bible\r\n1 REPO @R1@\r\n"
    "0 @R1@ REPO\r\n1 NAME County library\r\n"
    "0 TRLR\r\n";

// The work a load replaces or keeps: the tables and the sources.
struct Work {
    testing::TablesInUse tables;
    int32_t sourceCount, repositoryCount;

    static Work Now() { return {testing::TablesInUse::Now(), g.SourceCount, g.RepositoryCount}; }
    bool operator==(const Work&) const = default;
};

std::vector<std::string> EncodedLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t crlf; (crlf = bytes.find("\r\n", start)) != std::string::npos; start = crlf + 2)
        lines.push_back(bytes.substr(start, crlf - start));
    return lines;
}

// A few kinds of damage to the encoded lines of a work file.
std::string Damaged(std::vector<std::string> lines, std::mt19937& rng) {
    for (int m = 1 + static_cast<int>(rng() % 3); m > 0 && !lines.empty(); --m) {
        const std::size_t at = rng() % lines.size();
        std::string& l = lines[at];
        switch (rng() % 9) {
            case 0:  // one digit changed: another byte, or a group over 255
                if (!l.empty()) l[rng() % l.size()] = static_cast<char>('0' + rng() % 10);
                break;
            case 1: l = l.substr(0, rng() % (l.size() + 1)); break;  // cut, maybe inside a group
            case 2: lines.erase(lines.begin() + static_cast<long>(at)); break;
            case 3: lines.insert(lines.begin() + static_cast<long>(at), l); break;
            case 4: std::swap(l, lines[rng() % lines.size()]); break;
            case 5: {  // a plain line among the encoded ones
                const char* plain[] = {"0 @I9@ INDI", "1 FAMC @F1@", "1 HUSB @I1@", "1 CHIL @I2@", "2 CONT x", "junk"};
                lines.insert(lines.begin() + static_cast<long>(at), plain[rng() % std::size(plain)]);
                break;
            }
            case 6: {  // a pointer re-aimed: the same line with another digit in it
                std::string plain;
                if (TryDecodeLine(l, plain)) {
                    for (char& c : plain)
                        if (c >= '1' && c <= '9') c = static_cast<char>('1' + rng() % 9);
                    l = EncodeLine(plain);
                }
                break;
            }
            case 7: {  // bytes that are no text of any kind
                std::string junk;
                for (int k = static_cast<int>(rng() % 40); k > 0; --k) junk += static_cast<char>(rng() % 256);
                l = rng() % 2 ? EncodeLine(junk) : junk;
                break;
            }
            case 8: l = EncodeLine(std::string(rng() % 3000, 'a')); break;  // an over-long line
        }
    }
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    if (rng() % 6 == 0) out = out.substr(0, rng() % (out.size() + 1));  // the file cut off
    return out;
}

class WorkFileDamage : public testing::FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(testing::ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
    }
    void Load(const std::string& name, const std::string& bytes) {
        Write(dir / name, bytes);
        LoadFile((dir / name).string());
    }
};

TEST_F(WorkFileDamage, EveryLoadEndsAndLeavesATidyWork) {
    Load("family.ged", kFamilyFile);
    ASSERT_EQ(g.IndivCount, 5);
    ASSERT_EQ(g.FamilCount, 2);
    const std::string good = FileContents(FileKind::Work, BuildFileLines(FileKind::Work, (dir / "w.lnt").string()));
    const std::vector<std::string> lines = EncodedLines(good);
    ASSERT_GT(lines.size(), 30u);

    std::mt19937 rng(1855);
    int taken = 0, refused = 0;
    for (int file = 0; file < 300 && !HasFailure(); ++file) {
        SCOPED_TRACE("file " + std::to_string(file));
        const std::string bytes = Damaged(lines, rng);
        const Work before = Work::Now();
        const std::size_t shown = ui.boxes.size();
        for (int k = 0; k < 4; ++k) ui.Answer(MsgResult::Ok);
        Load("w.lnt", bytes);
        ui.answers.clear();
        ASSERT_NO_FATAL_FAILURE(testing::ExpectTablesConsistent());
        bool refusedNow = false;
        for (std::size_t b = shown; b < ui.boxes.size(); ++b)
            refusedNow = refusedNow || ui.boxes[b].text.rfind("Error: Input file", 0) == 0 ||
                         ui.boxes[b].text == "No GED data in file!" || ui.boxes[b].text == "File is empty!";
        if (refusedNow) {
            ++refused;
            ASSERT_TRUE(Work::Now() == before) << "a refused file changed the work";
        } else {
            ++taken;
        }
        // Now and then the good file again, so the next one replaces a full work.
        if (rng() % 4 == 0) {
            Load("w.lnt", good);
            ASSERT_EQ(g.IndivCount, 5);
        }
    }
    // Both ways were taken many times.
    EXPECT_GT(taken, 50);
    EXPECT_GT(refused, 10);
}

// A work file whose line ends a copy tool changed (to LF, or to CR) is
// whole; cut inside its last line, it is told cut short, judged by the line
// end the file itself uses.
TEST_F(WorkFileDamage, AWorkFileIsJudgedByItsOwnLineEnds) {
    Load("family.ged", kFamilyFile);
    ASSERT_EQ(g.IndivCount, 5);
    const std::string good = FileContents(FileKind::Work, BuildFileLines(FileKind::Work, (dir / "w.lnt").string()));
    const std::string cutShort =
        "w.lnt ends before its last line (0 TRLR): it may be incomplete. Saving over it would lose what is missing.";
    for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(lineEnd == "\r" ? "CR" : lineEnd == "\n" ? "LF" : "CRLF");
        std::string converted;
        for (const std::string& line : EncodedLines(good)) converted += line + lineEnd;
        ui.boxes.clear();
        Load("w.lnt", converted);
        EXPECT_EQ(ui.Texts(), std::vector<std::string>{});
        EXPECT_EQ(g.IndivCount, 5);
        ui.Answer(MsgResult::Ok);
        Load("w.lnt", converted.substr(0, converted.size() - lineEnd.size()));
        EXPECT_EQ(ui.Texts(), std::vector<std::string>{cutShort});
        EXPECT_EQ(g.IndivCount, 5);
        ui.answers.clear();
    }
}

}  // namespace
}  // namespace lintora
