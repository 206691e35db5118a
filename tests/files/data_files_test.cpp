#include "files/data_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/text_lines.h"
#include "lintora_version.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "tests/files/files_fixture.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

const std::string kMissingFile =
    "Lintora data file is missing.\nTo restore the missing file, exit program and restart.";

std::string MissingData(const std::string& path) {
    return "Problem processing " + path + " - missing data \nTo restore the missing data, exit program and restart.";
}

// Seven standard sources and a repository, as the smallest valid site file.
std::string MinimalSite() {
    std::string s = "0!REPOS!Home!Street!Town!!R1\r\n";
    for (int k = 1; k <= 7; ++k) s += "0!SOURCE!S" + std::to_string(k) + "!!Title " + std::to_string(k) + "!!!!R1\r\n";
    return s;
}

class DataFilesTest : public FilesTest {
protected:
    std::string SitePath() { return SiteDataFilePath(); }
    std::string UserPath() { return (fs::path(g.AppPath) / "LINTORA.USR").string(); }
    void Site(const std::string& s) { Write(SitePath(), s); }
    void User(const std::string& s) { Write(UserPath(), s); }
};

TEST_F(DataFilesTest, NamedFromTheVersion) {
    EXPECT_EQ(fs::path(SiteDataFilePath()).filename().string(),
              "Lintora" + std::to_string(kVersionMajor) + std::to_string(kVersionMinor) + ".dat");
    EXPECT_EQ(fs::path(SiteDataFilePath()).parent_path().string(), g.AppPath);
}

TEST_F(DataFilesTest, ShippedSiteFileHoldsEverySiteAndRecordSet) {
    fs::copy_file(ProjectDir() / "files" / fs::path(SiteDataFilePath()).filename(), SitePath());
    LoadDatFile("All");
    EXPECT_TRUE(ui.boxes.empty());
    std::set<std::string> sets;
    for (int32_t s = 1; s <= g.SourceCount; ++s) {
        const SourceRec& src = g.Source[s];
        sets.insert(src.sSite.trimmed() + "/" + src.sKind.trimmed());
        EXPECT_EQ(src.sFlag.value(), "I");
        EXPECT_FALSE(src.sTitle.blank());
        ASSERT_GT(src.sRepos, 0) << src.sTitle.value();  // every source finds its repository
        EXPECT_EQ(g.Repository[src.sRepos].rXref, src.sReposXref);
    }
    EXPECT_EQ(sets, (std::set<std::string>{"LDS/ANC", "LDS/IGI", "LDS/PRF", "ANC/", "RW/", "GC/", "MYT/"}));
    EXPECT_GE(g.SourceCount, 7);
    // Search pages grouped by site, numbered 1, 2, 3 ... in order, at most
    // 16 to a site; each site has a "Home" page, never at position 1, and
    // every other page is an https search holding placeholders.
    ASSERT_GT(g.LinkCount, 0);
    int site = 0, position = 0;
    std::map<int, int> homePosition;
    for (int16_t l = 1; l <= g.LinkCount; ++l) {
        const LinkRec& link = g.Links[l];
        int n = std::stoi(link.lSiteNo);
        EXPECT_TRUE(n == site || n == site + 1) << "row " << l;
        position = n == site ? position + 1 : 0;
        site = n;
        EXPECT_LT(position, 16);
        EXPECT_EQ(link.lUrl.value().rfind("https://", 0), 0u) << link.lUrl.value();
        if (link.lPageName.trimmed() == "Home") {
            homePosition[n] = position;
            EXPECT_EQ(link.lUrl.value().find('#'), std::string::npos);
        } else {
            EXPECT_EQ(link.lPageName.value().find("Home"), std::string::npos);
            const std::string& url = link.lUrl.value();
            EXPECT_TRUE(url.find("#ILNAME#") != std::string::npos || url.find("#LDSAFN#") != std::string::npos)
                << link.lPageName.value();
        }
    }
    EXPECT_GE(site, 5);
    EXPECT_LE(site, 12);
    EXPECT_EQ(homePosition.size(), static_cast<std::size_t>(site));
    for (const auto& [s, pos] : homePosition) EXPECT_NE(pos, 1) << "site " << s;
    const char* firstSite[] = {"#IFNAME#", "#LDSAFN#", "#J1FAFN#", "#J1FPRF#", "#REGIDX#", "www.familysearch.org/"};
    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(g.Links[p + 1].lSiteName.trimmed(), "FamilySearch");
        EXPECT_NE(g.Links[p + 1].lUrl.value().find(firstSite[p]), std::string::npos) << p;
    }
    EXPECT_EQ(g.Links[7].lSiteNo, "2");
    // Every region below level 1 names a region of the level above.
    std::map<std::string, std::set<std::string>> codes;
    for (int16_t r = 1; r <= g.RegionCount; ++r) codes[g.Regions[r].rgTag.trimmed()].insert(g.Regions[r].rgCode.trimmed());
    const std::map<std::string, std::vector<std::string>> above = {
        {"ALLR2", {"ALLR1"}}, {"AFNR2", {"AFNR1"}}, {"IGIR2", {"IGIR1"}}, {"IGIR3", {"IGIR2"}}};
    ASSERT_GT(g.RegionCount, 0);
    for (int16_t r = 1; r <= g.RegionCount; ++r) {
        std::string tag = g.Regions[r].rgTag.trimmed();
        auto it = above.find(tag);
        if (it == above.end()) continue;
        bool found = false;
        for (const auto& up : it->second) found = found || codes[up].count(g.Regions[r].rgParent.trimmed());
        EXPECT_TRUE(found) << tag << " " << g.Regions[r].rgName.value();
    }
    // Level-3 codes are unique, and no region of the country lists is the
    // parent of a level-3 region.
    std::set<std::string> level3;
    for (int16_t r = 1; r <= g.RegionCount; ++r) {
        if (g.Regions[r].rgTag.trimmed() != "IGIR3") continue;
        EXPECT_TRUE(level3.insert(g.Regions[r].rgCode.trimmed()).second) << g.Regions[r].rgCode.value();
        EXPECT_EQ(codes["ALLR2"].count(g.Regions[r].rgParent.trimmed()), 0u);
        EXPECT_EQ(codes["AFNR2"].count(g.Regions[r].rgParent.trimmed()), 0u);
    }
    // Nothing in the shipped file is cut by a field width.
    std::string text = Read(SitePath());
    for (int16_t r = 1; r <= g.RegionCount; ++r)
        EXPECT_NE(text.find("!" + g.Regions[r].rgName.value() + "!"), std::string::npos);
}

// Each row of the shipped file comes back field for field: no text is cut by
// its field's width (a cut region code would tie children to the wrong parent).
TEST_F(DataFilesTest, ShippedSiteFileFitsTheFieldWidths) {
    fs::copy_file(ProjectDir() / "files" / fs::path(SiteDataFilePath()).filename(), SitePath());
    LoadDatFile("All");
    ASSERT_TRUE(ui.boxes.empty());
    int32_t repos = 0, sources = 0;
    int16_t links = 0, regions = 0;
    for (const auto& line : SplitFileLines(Read(SitePath()))) {
        std::vector<std::string> f = SplitFields(line, "!");
        ASSERT_GE(f.size(), 2u) << line;
        auto same = [&](std::size_t k, const std::string& loaded) {
            EXPECT_EQ(loaded, TrimBlanks(f[k])) << "field " << k << " of " << line;
        };
        if (f[1] == "REPOS") {
            const ReposRec& r = g.Repository[++repos];
            same(2, r.rName.trimmed());
            same(3, r.rAddr.trimmed());
            same(4, r.rCont.trimmed());
        } else if (f[1] == "SOURCE") {
            const SourceRec& s = g.Source[++sources];
            same(2, s.sSite.trimmed());
            same(3, s.sKind.trimmed());
            same(4, s.sTitle.trimmed());
            same(5, s.sAbbr.trimmed());
            same(6, s.sAuthor.trimmed());
            same(7, s.sPublish.trimmed());
        } else if (f[1] == "LINKS") {
            const LinkRec& l = g.Links[++links];
            same(3, l.lSiteName.trimmed());
            same(4, l.lPageName.trimmed());
            same(5, l.lUrl.trimmed());
        } else {
            const RegionRec& r = g.Regions[++regions];
            same(1, r.rgTag.trimmed());
            same(2, r.rgName.trimmed());
            same(4, r.rgParent.trimmed());
            same(5, r.rgCode.trimmed());
            same(6, r.rgText.trimmed());
        }
    }
    EXPECT_EQ(repos, g.RepositoryCount);
    EXPECT_EQ(sources, g.SourceCount);
    EXPECT_EQ(links, g.LinkCount);
    EXPECT_EQ(regions, g.RegionCount);
}

TEST_F(DataFilesTest, RowsAndFlags) {
    Site("x!REPOS!Home!Street!Town!ignored!R1\r\n"
         "x!SOURCE!LDS!IGI!Index!IGI!Church!Pub!R1\r\n"
         "x!NOTHING!rows of other kinds are ignored\r\n"
         "x!LINKS!07!FamilySearch!Page!http://a/#IFNAME#\r\n"
         "x!ALLR1!United States!aux!!USA!US text!-3\r\n");
    LoadDatFile("All");
    EXPECT_TRUE(ui.boxes.empty());  // no user file: no check on the number of sources
    ASSERT_EQ(g.RepositoryCount, 1);
    EXPECT_EQ(g.Repository[1].rName.value(), "Home");
    EXPECT_EQ(g.Repository[1].rCont.value(), "Town");
    EXPECT_EQ(g.Repository[1].rXref, "R1");
    EXPECT_EQ(g.Repository[1].rFlag.value(), "I");
    ASSERT_EQ(g.SourceCount, 1);
    EXPECT_EQ(g.Source[1].sKind.value(), "IGI");
    EXPECT_EQ(g.Source[1].sPublish.value(), "Pub");
    EXPECT_EQ(g.Source[1].sRepos, 1);
    ASSERT_EQ(g.LinkCount, 1);
    EXPECT_EQ(g.Links[1].lSiteNo, "7");
    ASSERT_EQ(g.RegionCount, 1);
    EXPECT_EQ(g.Regions[1].rgTag.value(), "ALLR1");
    EXPECT_EQ(g.Regions[1].rgCode.value(), "USA");
    EXPECT_EQ(g.Regions[1].rgIndex, -3);
    // Limited: sources and repositories again, pages and regions kept.
    Site(MinimalSite());
    for (const char* mode : {"Limited", "all", ""}) {  // any mode but "All" is limited
        LoadDatFile(mode);
        EXPECT_EQ(g.SourceCount, 7) << mode;
        EXPECT_EQ(g.LinkCount, 1) << mode;
        EXPECT_EQ(g.RegionCount, 1) << mode;
    }
}

TEST_F(DataFilesTest, MissingSiteFile) {
    ui.Answer(MsgResult::Ok);
    LoadDatFile("All");
    EXPECT_EQ(ui.boxes.back().text, kMissingFile);
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(g.SourceCount, 0);
}

// Data files named by links to a drive that is not mounted: each is there
// but cannot be read, which is a fault in its data, not a missing file; the
// links stay as they are.
TEST_F(DataFilesTest, ALinkToNothingIsAnUnreadableDataFileNotAMissingOne) {
    Site(MinimalSite());
    LoadDatFile("All");
    ASSERT_TRUE(ui.boxes.empty());
    ASSERT_EQ(g.SourceCount, 7);

    const fs::path unmounted = dir / "unmounted";
    fs::remove(SitePath());
    fs::create_symlink(unmounted / "Lintora11.dat", SitePath());
    ui.Answer(MsgResult::Ok);
    LoadDatFile("Limited");  // as a clear of the work reads it
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{MissingData(SitePath())});
    EXPECT_EQ(g.SourceCount, 0);
    EXPECT_TRUE(fs::is_symlink(SitePath()));

    fs::remove(SitePath());
    Site(MinimalSite());
    fs::create_symlink(unmounted / "LINTORA.USR", UserPath());
    ui.Answer(MsgResult::Ok);
    LoadDatFile("All");
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{MissingData(SitePath()), MissingData(UserPath())}));
    EXPECT_EQ(g.SourceCount, 7);  // the site file's, read before
    EXPECT_TRUE(fs::is_symlink(UserPath()));
}

TEST_F(DataFilesTest, FaultsInTheSiteFileStopItAndKeepEarlierRows) {
    const std::string bad[] = {
        "\r\n",                                       // a blank line
        "x!REPOS!Home!Street!Town!\r\n",              // 6 fields
        "x!SOURCE!LDS!IGI!Index!IGI!Church!Pub\r\n",  // 8 fields
        "x!LINKS!one!Site!Page!http://a\r\n",         // not a number
        "x!LINKS!1!Site!Page\r\n",                    // 5 fields
        "x!IGIR1!Name!!!CODE!Text\r\n",               // 7 fields
        "x!IGIR1!Name!!!CODE!Text!99999\r\n",         // not a 16-bit number
    };
    for (const auto& line : bad) {
        ResetWork();
        Site("x!REPOS!First!!!!R1\r\n" + line + "x!REPOS!Never!!!!R2\r\n");
        User("1!SOURCE!U!!User!!!!!U\r\n");
        ui.Answer(MsgResult::Ok);
        LoadDatFile("All");
        EXPECT_EQ(ui.boxes.back().text, MissingData(SitePath())) << line;
        EXPECT_EQ(g.RepositoryCount, 1) << line;
        EXPECT_EQ(g.SourceCount, 0) << line;  // the user file is not read
    }
    Site("");
    ui.Answer(MsgResult::Ok);
    LoadDatFile("All");
    EXPECT_EQ(ui.boxes.back().text, MissingData(SitePath()));
}

TEST_F(DataFilesTest, LimitsOfPagesAndRegions) {
    std::string site = MinimalSite();
    for (int k = 1; k <= 51; ++k) site += "x!LINKS!1!Site!Page " + std::to_string(k) + "!http://a\r\n";
    Site(site);
    ui.Answer(MsgResult::Ok);
    LoadDatFile("All");
    EXPECT_EQ(g.LinkCount, 50);
    EXPECT_EQ(g.Links[50].lPageName.value(), "Page 50");
    EXPECT_TRUE(ui.Showed("missing data"));

    site = MinimalSite();
    for (int k = 1; k <= 1301; ++k) site += "x!IGIR1!R" + std::to_string(k) + "!!!C!T!" + std::to_string(k) + "\r\n";
    Site(site);
    ui.Answer(MsgResult::Ok);
    LoadDatFile("All");
    EXPECT_EQ(g.RegionCount, 1300);
    EXPECT_EQ(g.Regions[1300].rgIndex, 1300);
}

TEST_F(DataFilesTest, UserFileRules) {
    Site(MinimalSite());
    // Short lines are skipped, other kinds are ignored.
    User("1!SOURCE!x\r\n\r\n1!LINKS!1!a!b!c\r\n2!REPOS!Mine!Addr!Cont!!U4!!U!!!\r\n");
    LoadDatFile("All");
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(g.LinkCount, 0);
    ASSERT_EQ(g.RepositoryCount, 2);
    EXPECT_EQ(g.Repository[2].rFlag.value(), "U");
    EXPECT_EQ(g.Repository[2].rXref, "U4");
    // A row too short for its kind stops the user file.
    for (const char* line : {"1!REPOS!a!b!c\r\n", "1!REPOS!a!b!c!d\r\n", "1!SOURCE!a!b!c!d!e!f\r\n"}) {
        User(line);
        ui.Answer(MsgResult::Ok);
        LoadDatFile("All");
        EXPECT_EQ(ui.boxes.back().text, MissingData(UserPath())) << line;
    }
    // An empty user file loads nothing, and the number of sources is checked.
    Site("0!SOURCE!S!!T!!!!\r\n");
    User("");
    ui.Answer(MsgResult::Ok);
    LoadDatFile("All");
    EXPECT_EQ(ui.boxes.back().text, MissingData(UserPath()));
}

TEST_F(DataFilesTest, UserRecordsSurviveSaveAndLoad) {
    Site(MinimalSite());
    LoadDatFile("All");
    // A user repository and three user sources: one cited, one never cited,
    // one pointing to a standard repository.
    int32_t rep = AddRepository();
    g.Repository[rep].rName = "My archive";
    g.Repository[rep].rAddr = "Box 1";
    int32_t a = AddSource();
    g.Source[a].sTitle = "Family Bible! (old)";
    g.Source[a].sSite = "USR";
    g.Source[a].sRepos = static_cast<int16_t>(rep);
    g.Source[a].sCitations = 2;
    int32_t b = AddSource();
    g.Source[b].sTitle = "Letters";
    g.Source[b].sRepos = static_cast<int16_t>(rep);
    int32_t c = AddSource();
    g.Source[c].sTitle = "Church book";
    g.Source[c].sRepos = 1;
    g.Source[c].sKind = "X";
    SaveUserFile();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(g.Source[a].sFlag.value(), "U");
    EXPECT_EQ(g.Repository[rep].rFlag.value(), "U");
    std::string first = Read(UserPath());

    for (int round = 0; round < 2; ++round) {
        LoadDatFile("All");
        ASSERT_EQ(g.SourceCount, 10);
        ASSERT_EQ(g.RepositoryCount, 2);
        EXPECT_EQ(g.Source[8].sTitle.value(), "Family Bible| (old)");
        EXPECT_EQ(g.Source[8].sSite.value(), "USR");
        EXPECT_EQ(g.Source[8].sRepos, 2);
        EXPECT_EQ(g.Source[9].sTitle.value(), "Letters");  // never cited, still kept
        EXPECT_EQ(g.Source[9].sRepos, 2);
        EXPECT_EQ(g.Source[10].sRepos, 1);
        EXPECT_EQ(g.Source[10].sKind.value(), "X");
        EXPECT_EQ(g.Repository[2].rName.value(), "My archive");
        for (int32_t s = 8; s <= 10; ++s) EXPECT_EQ(g.Source[s].sFlag.value(), "U");
        SaveUserFile();
        EXPECT_EQ(Read(UserPath()), first);  // saving again writes the same lines
    }
    EXPECT_TRUE(ui.boxes.empty());
}

// A load takes the sources of the last reading while the files are as they
// were, and reads them again once either changes; what the work added to
// the sources never comes back, and a faulty file is reported at each load.
TEST_F(DataFilesTest, DataFilesAreReadAgainOnlyWhenTheyChange) {
    Site(MinimalSite());
    User("1!SOURCE!U!!Diary!!!!R1!U\r\n");
    LoadDatFile("All");
    ASSERT_EQ(g.SourceCount, 8);
    const std::vector<SourceRec> read = g.Source;
    const std::vector<ReposRec> readRepos = g.Repository;
    // The work changes and adds sources; the next load has the files' own.
    g.Source[8].sCitations = 3;
    g.Source[2].sTitle = "Changed";
    g.Repository[AddRepository()].rName = "From a file";
    AddSource();
    LoadDatFile("Limited");
    EXPECT_EQ(g.Source, read);
    EXPECT_EQ(g.Repository, readRepos);
    EXPECT_EQ(g.SourceUB, 8);
    EXPECT_EQ(g.RepositoryUB, 1);

    // Rewritten with the same size and modification time, the site file is
    // still read again: its change time moved.
    const auto siteTime = fs::last_write_time(SitePath());
    std::string other = MinimalSite();
    other.replace(other.find("Title 1"), 7, "Title X");
    Site(other);
    fs::last_write_time(SitePath(), siteTime);
    LoadDatFile("Limited");
    EXPECT_EQ(g.Source[1].sTitle.value(), "Title X");

    // A changed user file is read again, and with it the site file.
    User("1!SOURCE!U!!Diary!!!!R1!U\r\n2!SOURCE!U!!Letters!!!!R1!U\r\n");
    LoadDatFile("Limited");
    ASSERT_EQ(g.SourceCount, 9);
    EXPECT_EQ(g.Source[1].sTitle.value(), "Title X");
    EXPECT_EQ(g.Source[9].sTitle.value(), "Letters");
    EXPECT_EQ(g.Source[9].sRepos, 1);
    EXPECT_TRUE(ui.boxes.empty());

    // A user file that lost a row is reported at every load.
    Site("0!REPOS!Home!Street!Town!!R1\r\n");
    for (int load = 1; load <= 2; ++load) {
        ui.Answer(MsgResult::Ok);
        LoadDatFile("Limited");
        EXPECT_EQ(ui.boxes.size(), static_cast<std::size_t>(load));
        EXPECT_EQ(ui.boxes.back().text, MissingData(UserPath()));
    }
}

// A rewrite of the same size within one tick of the time stamp (two
// seconds on FAT) is still read again: by the user in an editor, or by the
// program's own save. The next save then keeps the user's edit.
TEST_F(DataFilesTest, SameSizeRewriteWithinOneTimeStampTickIsReadAgain) {
    Site(MinimalSite());
    User("1!SOURCE!U!!Diary!!!!R1!U\r\n");
    LoadDatFile("All");
    ASSERT_EQ(g.SourceCount, 8);
    const auto tick = fs::last_write_time(UserPath());

    User("1!SOURCE!U!!Deeds!!!!R1!U\r\n");
    fs::last_write_time(UserPath(), tick);
    LoadDatFile("Limited");
    ASSERT_EQ(g.SourceCount, 8);
    EXPECT_EQ(g.Source[8].sTitle.value(), "Deeds");
    SaveUserFile();
    EXPECT_EQ(Read(UserPath()), "8!SOURCE!U!!Deeds!!!!R1!U\r\n");

    g.Source[8].sTitle = "Wills";
    SaveUserFile();
    fs::last_write_time(UserPath(), tick);
    LoadDatFile("Limited");
    EXPECT_EQ(g.Source[8].sTitle.value(), "Wills");
    EXPECT_TRUE(ui.boxes.empty());
}

// Repository numbers of three digits and more keep their link: U105 is not
// cut to U10.
TEST_F(DataFilesTest, LinksToHighRepositoryNumbersSurvive) {
    Site(MinimalSite());
    LoadDatFile("All");
    for (int k = 2; k <= 120; ++k) {
        int32_t r = AddRepository();
        ASSERT_EQ(r, k);
        g.Repository[r].rName = "Archive " + std::to_string(k);
    }
    for (int16_t target : {10, 105, 120}) {
        int32_t s = AddSource();
        g.Source[s].sTitle = "Points to " + std::to_string(target);
        g.Source[s].sRepos = target;
    }
    SaveUserFile();
    LoadDatFile("All");
    ASSERT_EQ(g.RepositoryCount, 120);
    ASSERT_EQ(g.SourceCount, 10);
    for (int32_t s = 8; s <= 10; ++s) {
        const SourceRec& src = g.Source[s];
        ASSERT_GT(src.sRepos, 0) << src.sTitle.value();
        EXPECT_EQ("Points to " + std::to_string(src.sRepos), src.sTitle.value());
        EXPECT_EQ(g.Repository[src.sRepos].rName.value(), "Archive " + std::to_string(src.sRepos));
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DataFilesTest, RepositoryLinkTextIsKeptWhole) {
    Site(MinimalSite());
    User("1!SOURCE!S!!Unresolved!!!!REP123!U\r\n");
    LoadDatFile("All");
    ASSERT_EQ(g.SourceCount, 8);
    EXPECT_EQ(g.Source[8].sReposXref, "REP123");
    EXPECT_EQ(g.Source[8].sRepos, 0);
    SaveUserFile();
    EXPECT_NE(Read(UserPath()).find("!REP123!U"), std::string::npos);
}

TEST_F(DataFilesTest, SaveUserFileWritesThePreferences) {
    g.prefName = "  Jane  ";
    g.prefAddr3 = "Street";
    g.prefSourceSW = 1;
    g.prefNotes = " note ";
    SaveUserFile();
    EXPECT_EQ(GetStartupSetting("prefName", "?"), "Jane");
    EXPECT_EQ(GetStartupSetting("prefAddr3", "?"), "Street");
    EXPECT_EQ(GetStartupSetting("prefAddr1", "?"), "");
    EXPECT_EQ(GetStartupSetting("prefSourceSW", "?"), "1");
    EXPECT_EQ(GetStartupSetting("prefNotes", "?"), "note");
    EXPECT_TRUE(fs::exists(UserPath()));
}

TEST_F(DataFilesTest, SaveUserFileFailureKeepsTheOldFileAndSaysWhy) {
    fs::create_directories(UserPath());  // a folder in the way
    int32_t s = AddSource();
    g.Source[s].sTitle = "Mine";
    ui.Answer(MsgResult::Ok);
    SaveUserFile();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes.back().text.rfind("Problem creating " + UserPath() + "\n", 0), 0u);
    EXPECT_EQ(g.Source[s].sFlag.value(), "P");  // not written, so not marked
    EXPECT_EQ(GetStartupSetting("prefName", "?"), "");  // the settings were saved
    // Settings that cannot be written: the user file is written all the same.
    fs::remove(UserPath());
    fs::path ini = dir / "config" / "Lintora" / "Lintora.ini";
    fs::remove(ini);
    fs::create_directories(ini);
    ui.Answer(MsgResult::Ok);
    SaveUserFile();
    EXPECT_EQ(ui.boxes.back().text, "Problem saving settings: " + ini.string() + " cannot be read: it is a folder");
    EXPECT_NE(Read(UserPath()).find("!Mine!"), std::string::npos);
    EXPECT_EQ(g.Source[s].sFlag.value(), "U");
}

// The user's own records in a file that cannot be read (here a link to a
// drive that is not mounted) are not written over by a save.
TEST_F(DataFilesTest, SaveUserFileLeavesAFileItCannotReadAlone) {
    const fs::path gone = dir / "unmounted" / "LINTORA.USR";
    fs::create_symlink(gone, UserPath());
    int32_t s = AddSource();
    g.Source[s].sTitle = "Mine";
    ui.Answer(MsgResult::Ok);
    SaveUserFile();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes.back().text, "Problem creating " + UserPath() + "\n" + UserPath() +
                                         " cannot be read: it is a link to " + gone.string() +
                                         ", which is not there\nIt is left as it is.");
    EXPECT_TRUE(fs::is_symlink(UserPath()));
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_EQ(g.Source[s].sFlag.value(), "P");  // not written, so not marked
}

// Runs read, which must not wait on any of the pipes. A read that waits
// fails the test; writers then let it go, so that the test ends.
template <typename Read>
void WithoutWaitingOn(const std::vector<fs::path>& pipes, Read read) {
    auto done = std::async(std::launch::async, read);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return;
    ADD_FAILURE() << "waited on a pipe";
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        for (const fs::path& pipe : pipes)
            if (const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);
}

// Settings and a user data file that are pipes (left by a script that fed
// them once) are reported at once, never waited on, and stay as they are.
TEST_F(DataFilesTest, PipesInPlaceOfTheSettingsAndTheUserFileAreReportedAtOnce) {
    Site(MinimalSite());
    const fs::path ini = dir / "config" / "Lintora" / "Lintora.ini";
    fs::create_directories(ini.parent_path());
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(UserPath().c_str(), 0600), 0);
    for (int answer = 0; answer < 3; ++answer) ui.Answer(MsgResult::Ok);
    const std::vector<fs::path> pipes{ini, UserPath()};
    WithoutWaitingOn(pipes, [] { ReadStartupSettings(); });
    WithoutWaitingOn(pipes, [] { LoadDatFile("All"); });
    WithoutWaitingOn(pipes, [] { SaveUserFile(); });
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "Problem reading settings: " + ini.string() +
                                  " cannot be read: it is not an ordinary file\nThe file is left as it is; the "
                                  "program starts without the settings it holds.",
                              MissingData(UserPath()),
                              "Problem creating " + UserPath() + "\n" + UserPath() +
                                  " cannot be read: it is not an ordinary file\nIt is left as it is.",
                          }));
    EXPECT_EQ(g.SourceCount, 7);  // the site file's, read before
    EXPECT_EQ(fs::status(ini).type(), fs::file_type::fifo);
    EXPECT_EQ(fs::status(UserPath()).type(), fs::file_type::fifo);
}

TEST_F(DataFilesTest, UserFileGoesToTheDataFolderWhenTheProgramFolderIsNotWritable) {
    EXPECT_EQ(UserDataFilePath(), UserPath());
    g.AppPath = (dir / "no-such-folder").string();
    EXPECT_EQ(UserDataFilePath(), (dir / "data" / "Lintora" / "LINTORA.USR").string());
    SaveUserFile();
    EXPECT_TRUE(fs::exists(dir / "data" / "Lintora" / "LINTORA.USR"));
}

TEST_F(DataFilesTest, StartupSettingsDefaultsAndValues) {
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const fs::path home = dir / "home";
    fs::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    struct RestoreHome {
        std::string home;
        ~RestoreHome() { setenv("HOME", home.c_str(), 1); }
    } restore{oldHome};

    // The file dialogs start at home, never in the program's folder.
    ReadStartupSettings();
    EXPECT_EQ(g.InitDirGED, home.string());
    EXPECT_EQ(g.InitDirWRK, home.string());
    EXPECT_EQ(g.prefName, " ");
    EXPECT_EQ(g.prefNotes, " ");
    EXPECT_EQ(g.prefSourceSW, 0);
    EXPECT_EQ(g.datFilename, " ");
    EXPECT_EQ(g.LastWorkFile, "");  // nothing remembered
    EXPECT_EQ(g.datPos, 0);
    EXPECT_EQ(GetStartupSetting("CurDir", "?"), g.AppPath);

    SaveStartupSetting("InitDirWRK", "/trees");
    SaveStartupSetting("datFilename", "smith.lnt");
    SaveStartupSetting("datPos", "17");
    SaveStartupSetting("prefSourceSW", "x");
    SaveStartupSetting("prefEmail", " ");
    SaveStartupSetting("InitDirGED", g.AppPath);
    ReadStartupSettings();
    EXPECT_EQ(g.LastWorkFile, "/trees/smith.lnt");
    EXPECT_EQ(g.datPos, 17);
    EXPECT_EQ(g.prefSourceSW, 0);
    EXPECT_EQ(g.prefEmail, " ");
    // A remembered folder that is gone, or the program's own: home instead.
    EXPECT_EQ(g.InitDirWRK, home.string());
    EXPECT_EQ(g.InitDirGED, home.string());
    // The folder last used, while it is there.
    SaveStartupSetting("InitDirWRK", dir.string());
    ReadStartupSettings();
    EXPECT_EQ(g.InitDirWRK, dir.string());
    // A work file remembered without its folder is the program folder's.
    SaveStartupSetting("InitDirWRK", " ");
    ReadStartupSettings();
    EXPECT_EQ(g.LastWorkFile, (std::filesystem::path(g.AppPath) / "smith.lnt").string());
}

}  // namespace
}  // namespace lintora::testing
