// Damaged GEDCOM and work files, seeded and bounded: after every load the
// tables hold together, and the work is what its own save reopens (field by
// field through the work file, byte for byte through GEDCOM, whose ANSEL
// spells out some letters).
#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "files/charset.h"
#include "files/file_loading.h"
#include "files/gedcom_writer.h"
#include "files/text_lines.h"
#include "record_store/program_state.h"
#include "tests/files/files_fixture.h"
#include "tests/support/table_checks.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

template <std::size_t N>
std::string Pick(std::mt19937& rng, const char* const (&list)[N]) {
    return list[rng() % N];
}

// Name words and values of the kinds real files showed trouble with:
// suffixes and ranks, marks, lone letters, small letters, letters ANSEL
// lacks, combining marks, control characters, surname prefixes, slashes.
const char* const kWords[] = {"John", "mary", "Louis_IV", "of_Hesse", "Jr", "III", "IV", "Sir", "Capt",
                              "(Jack)", "\"Bo\"", "van", "DYKE", "l2", "A", "Zo\xC3\xAB", "\xC4\xB2sbrand",
                              "e\xCC\x81", "O'Brien", "Smith-Jones", "<unknown>", "LIVING", "Mrs", "Queen",
                              "?", ".", ",", "Dover\x05Kent", "tab\there", "\xC2\xA0", "@X@", "Ann/Marie",
                              "de,", "O'", "O\xE2\x80\x99", "Le", "Ann/", "/"};

std::string Words(std::mt19937& rng, int most) {
    std::string out;
    for (int k = static_cast<int>(rng() % (most + 1)); k > 0; --k) out += (out.empty() ? "" : " ") + Pick(rng, kWords);
    return out;
}

std::string NameValue(std::mt19937& rng) {
    switch (rng() % 6) {
        case 0: return Words(rng, 3);
        case 1: return Words(rng, 2) + " /" + Words(rng, 2) + "/";
        case 2: return Words(rng, 3) + " //";
        case 3: return Words(rng, 2) + " /" + Words(rng, 2) + "/ " + Words(rng, 1);
        case 4: return Words(rng, 2) + " //" + Words(rng, 2);
        default: return Words(rng, 1) + std::string(1, '\0');
    }
}

// Note text over a few lines, blank ones among them, first ones too.
void NoteLines(std::mt19937& rng, std::string& t, int level) {
    const std::string sub = std::to_string(level) + " ";
    for (int k = static_cast<int>(rng() % 4); k > 0; --k)
        t += sub + (rng() % 2 ? "CONT" : "CONC") + (rng() % 3 ? "" : " ") + (rng() % 2 ? " " + Words(rng, 3) : "") +
             "\n";
}

// A small GEDCOM file put together at random.
std::string GeneratedGedcom(std::mt19937& rng) {
    const char* const heads[] = {"0 HEAD\n1 CHAR ANSEL\n", "0 HEAD\n1 CHAR UTF-8\n", "0 HEAD\n", ""};
    std::string t = Pick(rng, heads);
    const int people = 1 + static_cast<int>(rng() % 8), families = static_cast<int>(rng() % 5);
    auto ref = [&](char kind, int count) { return "@" + std::string(1, kind) + std::to_string(1 + rng() % (count + 1)) + "@"; };
    for (int i = 1; i <= people; ++i) {
        t += "0 @I" + std::to_string(i) + "@ INDI\n";
        for (int n = static_cast<int>(rng() % 3); n > 0; --n) {
            t += "1 NAME " + NameValue(rng) + "\n";
            const char* const parts[] = {"GIVN", "SURN", "NSFX", "NPFX", "NICK", "TITL", "SPFX"};
            for (int p = static_cast<int>(rng() % 3); p > 0; --p) t += "2 " + Pick(rng, parts) + " " + Words(rng, 2) + "\n";
        }
        const char* const sexes[] = {"M", "F", "U", "", "Male"};
        t += "1 SEX " + Pick(rng, sexes) + "\n";
        const char* const events[] = {"BIRT", "CHR", "DEAT", "BURI"};
        for (int e = static_cast<int>(rng() % 3); e > 0; --e)
            t += "1 " + Pick(rng, events) + "\n2 DATE " + std::to_string(1800 + rng() % 100) + "\n2 PLAC " +
                 Words(rng, 3) + "\n";
        for (int f = static_cast<int>(rng() % 3); f > 0; --f) t += "1 FAMS " + ref('F', families) + "\n";
        for (int f = static_cast<int>(rng() % 3); f > 0; --f) t += "1 FAMC " + ref('F', families) + "\n";
        if (rng() % 3 == 0) t += "1 NOTE " + ref('N', 2) + "\n";
        if (rng() % 3 == 0) {
            t += "1 NOTE" + std::string(rng() % 2 ? " " + Words(rng, 3) : "") + "\n";
            NoteLines(rng, t, 2);
        }
        if (rng() % 4 == 0) t += "1 SOUR @S1@\n";
        if (rng() % 4 == 0) t += "1 TITL " + Words(rng, 2) + "\n";
        // What only work files carry, and what both do.
        const char* const more[] = {"1 AFN ", "1 CDP2 12-", "1 _GID ", "1 SUBN ", "2 _EXT ", "1 CHAN\n2 DATE "};
        if (rng() % 3 == 0) t += Pick(rng, more) + (rng() % 2 ? std::to_string(rng() % 5000) : Words(rng, 2)) + "\n";
    }
    for (int f = 1; f <= families; ++f) {
        t += "0 @F" + std::to_string(f) + "@ FAM\n";
        if (rng() % 4) t += "1 HUSB " + ref('I', people) + "\n";
        if (rng() % 4) t += "1 WIFE " + ref('I', people) + "\n";
        for (int c = static_cast<int>(rng() % 4); c > 0; --c) t += "1 CHIL " + ref('I', people) + "\n";
        if (rng() % 3 == 0) t += "1 MARR\n2 DATE 1850\n2 PLAC " + Words(rng, 2) + "\n";
        if (rng() % 4 == 0) t += "1 NOTE " + Words(rng, 2) + "\n";
        if (rng() % 4 == 0) t += "1 SOUR @S1@\n";
    }
    for (int n = 1; n <= 2; ++n) {
        t += "0 @N" + std::to_string(n) + "@ NOTE" + (rng() % 2 ? " " + Words(rng, 3) : "") + "\n";
        NoteLines(rng, t, 1);
    }
    t += "0 @S1@ SOUR\n1 TITL " + Words(rng, 3) + "\n1 REPO @R1@\n0 @R1@ REPO\n1 NAME " + Words(rng, 2) + "\n";
    return t + "0 TRLR\n";
}

// A few kinds of damage to the lines of a file.
void Damage(std::vector<std::string>& lines, std::mt19937& rng) {
    const char* const extra[] = {"1 NOTE", "2 CONT", "2 CONC ", "1 CONC", "1 FAMS @F1@", "1 FAMC @F2@",
                                 "1 CHIL @I1@", "1 HUSB @I2@", "1 NAME //", "2 GIVN", "2 SURN", "2 NSFX IV",
                                 "0 @F9@ FAM", "0 @I9@ INDI", "0 @N1@ NOTE", "1 NAME \xC3\xA9mile /Zola/"};
    for (int m = 1 + static_cast<int>(rng() % 4); m > 0 && !lines.empty(); --m) {
        const std::size_t at = rng() % lines.size();
        std::string& l = lines[at];
        switch (rng() % 9) {
            case 0: lines.erase(lines.begin() + static_cast<long>(at)); break;
            case 1: lines.insert(lines.begin() + static_cast<long>(at), l); break;
            case 2: std::swap(l, lines[rng() % lines.size()]); break;
            case 3:  // a level one deeper or shallower
                if (!l.empty() && l[0] >= '0' && l[0] <= '8')
                    l[0] = static_cast<char>(l[0] + (rng() % 2 || l[0] == '0' ? 1 : -1));
                break;
            case 4: l = l.substr(0, rng() % (l.size() + 1)); break;
            case 5: lines.insert(lines.begin() + static_cast<long>(at), Pick(rng, extra)); break;
            case 6: {  // a byte of any kind, control characters most of all
                const char c = static_cast<char>(rng() % 3 ? rng() % 0x20 : rng() % 256);
                l.insert(rng() % (l.size() + 1), 1, c);
                break;
            }
            case 7: l += " " + std::string(100 + rng() % 300, 'w'); break;
            case 8: l += " " + Pick(rng, kWords); break;
        }
    }
}

std::string Joined(const std::vector<std::string>& lines, const char* end) {
    std::string out;
    for (const auto& l : lines) out += l + end;
    return out;
}

// UTF-16 little-endian with its byte-order mark.
std::string Utf16(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    auto unit = [&](unsigned u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned c = static_cast<unsigned char>(utf8[i]);
        unsigned cp = c, n = 1;
        if (c >= 0xF0) cp = c & 0x07, n = 4;
        else if (c >= 0xE0) cp = c & 0x0F, n = 3;
        else if (c >= 0xC0) cp = c & 0x1F, n = 2;
        for (unsigned k = 1; k < n && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

class ReloadFuzz : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
    }
    // Writes the bytes as a file and loads it; true when the work is the file's.
    bool Load(const std::string& name, const std::string& bytes) {
        Write(dir / name, bytes);
        for (int k = 0; k < 8; ++k) ui.Answer(MsgResult::Ok);
        const bool loaded = LoadFile((dir / name).string());
        ui.answers.clear();
        ui.boxes.clear();
        return loaded;
    }
    std::string Saved(FileKind kind) {
        const std::string name = kind == FileKind::Gedcom ? "saved.ged" : "saved.lnt";
        return FileContents(kind, BuildFileLines(kind, (dir / name).string()));
    }
    // Each count says how many links there are.
    static void ExpectCountsFollowLinks() {
        std::vector<int> fams(g.IndivCount + 1), children(g.FamilCount + 1);
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            ++fams[g.Famil[f].fHusb];
            if (g.Famil[f].fWife != g.Famil[f].fHusb) ++fams[g.Famil[f].fWife];
        }
        for (int32_t i = 1; i <= g.IndivCount; ++i) ++children[g.Indiv[i].iFamc];
        for (int32_t i = 1; i <= g.IndivCount; ++i) ASSERT_EQ(g.Indiv[i].iFamsCount, fams[i]) << "individual " << i;
        for (int32_t f = 1; f <= g.FamilCount; ++f) ASSERT_EQ(g.Famil[f].fChilCount, children[f]) << "family " << f;
    }
    // The text of a GEDCOM file damaged, loaded in one of the forms a load
    // meets (a generated file also in UTF-16, in ANSEL or as a work file),
    // and its own save reopened; 1 when it loaded.
    int LoadDamaged(int run, const std::string& text, std::mt19937& rng, bool generated) {
        std::vector<std::string> lines = SplitFileLines(text);
        Damage(lines, rng);
        std::string plain = Joined(lines, "\n"), bytes;
        std::string name = "damaged.ged";
        switch (generated ? rng() % 5 : 0) {
            case 0: bytes = Joined(lines, "\r\n"); break;
            case 1: bytes = Utf16(plain); break;
            case 2: bytes = Utf8ToAnsel(plain); break;  // what the header may or may not say
            default: {  // a work file: the lines of the loaded file's save, damaged again
                if (!Load("plain.ged", plain)) return 0;
                std::vector<std::string> work = SplitFileLines(Saved(FileKind::Work));
                for (auto& l : work) l = DecodeLine(l);
                Damage(work, rng);
                plain = Joined(work, "\n");
                for (auto& l : work) l = EncodeLine(l);
                bytes = Joined(work, "\r\n");
                name = "damaged.lnt";
            }
        }
        SCOPED_TRACE("run " + std::to_string(run) + ":\n" + plain.substr(0, 4000));
        if (!Load(name, bytes)) return 0;
        ExpectItsOwnSaveReopened();
        return 1;
    }
    // The work now, saved and reopened: the same work, the same file again.
    void ExpectItsOwnSaveReopened() {
        ASSERT_NO_FATAL_FAILURE(ExpectTablesConsistent());
        ASSERT_NO_FATAL_FAILURE(ExpectCountsFollowLinks());
        const SeenWork loaded = SeenWork::Now();
        const std::string work = Saved(FileKind::Work);
        ASSERT_TRUE(Load("saved.lnt", work));
        ASSERT_NO_FATAL_FAILURE(ExpectSameWork(SeenWork::Now(), loaded));
        EXPECT_TRUE(Saved(FileKind::Work) == work) << "the work file differs when saved again";
        const std::string ged = Saved(FileKind::Gedcom);
        ASSERT_TRUE(Load("saved.ged", ged));
        ASSERT_NO_FATAL_FAILURE(ExpectTablesConsistent());
        const std::string again = Saved(FileKind::Gedcom);
        if (again == ged) return;
        const auto a = SplitFileLines(ged), b = SplitFileLines(again);
        for (std::size_t k = 0; k < std::min(a.size(), b.size()); ++k)
            if (a[k] != b[k]) {
                ADD_FAILURE() << "GEDCOM line " << k + 1 << ": " << a[k] << " | " << b[k];
                return;
            }
        ADD_FAILURE() << "GEDCOM files of " << a.size() << " and " << b.size() << " lines";
    }
};

TEST_F(ReloadFuzz, DamagedFilesLoadAsTheirOwnSaveReopens) {
    // The generated files have a stream of their own: the same cases
    // wherever the project stands.
    std::mt19937 rng(5505);
    int loaded = 0;
    for (int run = 0; run < 100 && !HasFailure(); ++run) loaded += LoadDamaged(run, GeneratedGedcom(rng), rng, true);
    EXPECT_GT(loaded, 80);
}

// The person that run 67 of the generated files met: a surname with a
// slash from a SURN line below a NAME line without slashes, and part lines
// of an earlier NAME line, which the second one replaces.
TEST_F(ReloadFuzz, SurnameWithASlashAfterANameWithoutSlashes) {
    ASSERT_TRUE(Load("run67.ged", "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I3@ INDI\r\n1 NAME of_Hesse /III/ \r\n"
                                  "2 NSFX Ann/Marie\r\n2 NSFX \r\n1 NAME Sir" + std::string(1, '\0') +
                                  "\r\n2 SURN Ann/Marie\r\n2 TITL . Jr\r\n1 SEX F\r\n0 TRLR\r\n"));
    EXPECT_EQ(g.Indiv[1].iGivn.value() + "|" + g.Indiv[1].iSurn.value() + "|" + g.Indiv[1].iTitle.value(),
              "Sir|Ann/Marie|. Jr");
    ExpectItsOwnSaveReopened();
}

// Real files from outside the project, damaged as above; they add cases.
TEST_F(ReloadFuzz, DamagedSharedFilesLoadAsTheirOwnSaveReopens) {
    if (!HaveSharedGedcom()) GTEST_SKIP() << NoSharedGedcom();
    std::vector<fs::path> files(fs::directory_iterator(SharedGedcomDir()), {});
    std::sort(files.begin(), files.end());  // the same cases whatever order the folder lists
    std::vector<std::string> shared;
    for (const fs::path& file : files) shared.push_back(Read(file));
    std::mt19937 rng(5505);
    int loaded = 0;
    for (int run = 0; run < 20 && !HasFailure(); ++run)
        loaded += LoadDamaged(run, shared[rng() % shared.size()], rng, false);
    EXPECT_GT(loaded, 15);
}

}  // namespace
}  // namespace lintora::testing
