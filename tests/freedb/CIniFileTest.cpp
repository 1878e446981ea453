#include "freedb/service/IniFile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
std::vector<std::string> Lines(const CIniFile& ini) {
    std::vector<std::string> lines;
    for (int i = 0; i < ini.GetLineCount(); ++i)
        lines.push_back(ini.GetLine(i));
    return lines;
}

} // namespace

TEST(CIniFileLoadTest, KeepsNonEmptyLinesWholeOrCutAndAMissingFileIsEmpty) {
    CTempDir dir;
    CIniFile ini;
    ASSERT_TRUE(ini.LoadFile(dir.WriteFile("a.ini", "[one]\r\nk=v\r\n\r\n\n  \nlast")));
    EXPECT_EQ(Lines(ini), (std::vector<std::string>{"[one]", "k=v", "  ", "last"}));
    EXPECT_EQ(ini.ReadString("one", "k", "-"), "v");
    EXPECT_FALSE(ini.LoadFile(dir.File("absent.ini")));
    EXPECT_EQ(ini.GetLineCount(), 0);
    EXPECT_EQ(ini.FindSection("one"), -1);

    // An overlong line is cut, not split.
    // Split at 1023 characters, the tail would be a section header of its own.
    const std::string line = "title=" + std::string(1017, 'a') + "[CDDB]";
    ini.LoadText("[album]\n" + line + "\nnext=1\n");
    ASSERT_EQ(ini.GetLineCount(), 3);
    EXPECT_EQ(ini.GetLine(1), line.substr(0, CIniFile::kMaxLineLength));
    EXPECT_EQ(ini.FindSection("CDDB"), -1);
    EXPECT_EQ(ini.ReadInt("album", "next", 0), 1);
}

TEST(CIniFileLookupTest, SectionsMatchTrimmedAndWithoutCaseAndKeysOnlyInTheirOwn) {
    CIniFile ini;
    ini.LoadText("k=0\n  [First]  \nArtist=Someone\nartistic=no\n[second]\nyear=1999\n[]\n[x\n");
    EXPECT_EQ(ini.FindSection("first"), 1);
    EXPECT_EQ(ini.FindSection("SECOND"), 4);
    EXPECT_EQ(ini.FindSection("third"), -1);
    for (int line : {0, 6, 7, 99})
        EXPECT_FALSE(ini.IsSectionHeader(line)) << line;
    std::string value;
    EXPECT_EQ(ini.FindKey(1, "artist", value), 2);
    EXPECT_EQ(value, "Someone");
    EXPECT_EQ(ini.FindKey(1, "year", value), -1);
    EXPECT_EQ(ini.FindKey(4, "year", value), 5);
    EXPECT_EQ(ini.FindKey(-1, "year", value), -1);
    EXPECT_EQ(ini.ReadString("first", "art", "none"), "none");
}

TEST(CIniFileLookupTest, RememberedSectionFollowsInsertedLines) {
    CIniFile ini;
    ini.LoadText("[a]\nx=1\n[b]\ny=2\n");
    ASSERT_EQ(ini.FindSection("b"), 2);
    ASSERT_TRUE(ini.WriteString("a", "new", "v"));
    EXPECT_EQ(ini.FindSection("b"), 3);
    EXPECT_EQ(ini.GetLine(3), "[b]");

    ini.LoadText("[z]\n[b]\n");
    EXPECT_EQ(ini.FindSection("b"), 1);
    ini.LoadText("[b]\n");
    EXPECT_EQ(ini.FindSection("b"), 0);
}

TEST(CIniFileWriteTest, KeysAreReplacedInPlaceOrAddedAtTheTopOfANewSection) {
    CIniFile ini;
    ini.LoadText("[disc]\nArtist=Old\ntitle=T\n[next]\nartist=other\n");
    ASSERT_TRUE(ini.WriteString("DISC", "artist", "New"));
    ASSERT_TRUE(ini.WriteInt("disc", "title", -3));
    ASSERT_TRUE(ini.WriteString("new", "artist", "A"));
    ASSERT_TRUE(ini.WriteInt("new", "numTracks", 12));
    EXPECT_EQ(Lines(ini),
              (std::vector<std::string>{"[disc]", "artist=New", "title=-3", "[next]",
                                        "artist=other", "[new]", "numTracks=12", "artist=A"}));
    EXPECT_EQ(ini.ReadInt("disc", "title", 0), -3);
    EXPECT_EQ(ini.ReadInt("disc", "artist", 7), 7);
    EXPECT_EQ(ini.ReadInt("disc", "missing", 7), 7);
}

TEST(CIniFileWriteTest, NothingWrittenAddsALineOrASectionAndUnusableNamesAreRefused) {
    CIniFile ini;
    ASSERT_TRUE(ini.WriteString("disc", "title", "x\r\n[CDDB]\nRemoteServer=evil"));
    ASSERT_TRUE(ini.WriteString("a]\n[CDDB", "b=\n[c]", "v"));
    ASSERT_TRUE(ini.WriteString("disc", "long", std::string(2000, 'z') + "\n[CDDB]"));
    EXPECT_EQ(ini.GetLineCount(), 5);
    EXPECT_EQ(ini.FindSection("CDDB"), -1);
    EXPECT_EQ(ini.ReadString("disc", "title", ""), "x  [CDDB] RemoteServer=evil");
    EXPECT_EQ(ini.GetLine(3), "[a   CDDB]");
    EXPECT_EQ(ini.GetLine(4), "b   c=v");
    EXPECT_EQ(ini.ReadString("disc", "long", "").size(), CIniFile::kMaxLineLength - 5);

    // A title cut in the middle of a character keeps whole characters only.
    ASSERT_TRUE(ini.WriteString("disc", "utf", std::string(1016, 'a') + "\xC3\xA9\xC3\xA9"));
    EXPECT_EQ(ini.ReadString("disc", "utf", ""), std::string(1016, 'a') + "\xC3\xA9");

    // Unusable names are refused.
    CIniFile fresh;
    EXPECT_FALSE(fresh.WriteString("", "k", "v"));
    EXPECT_FALSE(fresh.WriteString("[]", "k", "v"));
    EXPECT_FALSE(fresh.WriteString("s", "=", "v"));
    EXPECT_FALSE(fresh.WriteString(std::string(1022, 's'), "k", "v"));
    EXPECT_EQ(fresh.GetLineCount(), 0);
    EXPECT_FALSE(fresh.IsModified());
}

TEST(CIniFileSaveTest, WritesLinesWithLineFeedsOrFailsAndStaysModified) {
    CTempDir dir;
    CIniFile ini;
    ini.LoadText("[a]\r\nk=v\r\n");
    ini.WriteString("b", "x", "1");
    ASSERT_TRUE(ini.IsModified());
    EXPECT_FALSE(ini.SaveFile(dir.WriteFile("file", "x") + "/below.ini"));
    EXPECT_TRUE(ini.IsModified());
    const std::string path = dir.File("sub/dir/out.ini");
    ASSERT_TRUE(ini.SaveFile(path));
    EXPECT_FALSE(ini.IsModified());
    EXPECT_EQ(dir.ReadFile("sub/dir/out.ini"), "[a]\nk=v\n[b]\nx=1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("sub/dir")),
                            std::filesystem::directory_iterator{}),
              1);
    // An empty file replaces what was there.
    ASSERT_TRUE(CIniFile().SaveFile(path));
    EXPECT_EQ(dir.ReadFile("sub/dir/out.ini"), "");
}

TEST(CIniFileSaveTest, NewFileIsPrivateAndAnOldOneKeepsItsMode) {
    CTempDir dir;
    CIniFile ini;
    ini.WriteString("CDDB", "ProxyUser", "me");
    ASSERT_TRUE(ini.SaveFile(dir.File("new.ini")));
    EXPECT_EQ(FileMode(dir.File("new.ini")), 0600u);

    const std::string shared = dir.WriteFile("shared.ini", "");
    ::chmod(shared.c_str(), 0644);
    ASSERT_TRUE(ini.SaveFile(shared));
    EXPECT_EQ(FileMode(shared), 0644u);
}
