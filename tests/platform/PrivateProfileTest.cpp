#include "platform/PrivateProfile.h"

#include "platform/Profile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(PrivateProfileTest, LookupIgnoresCaseTakesTheFirstMatchAndTrimsAndReadsLeadingNumbers) {
    CPrivateProfile ini;
    ini.Parse("[Main]\r\n  Key = first value  \r\nkey=second\n[main]\nOther=x\n");
    EXPECT_EQ(ini.GetString("MAIN", "KEY", "d"), "first value");
    // A second section of the same name is shadowed by the first.
    EXPECT_EQ(ini.GetString("main", "Other", "d"), "d");
    EXPECT_EQ(ini.GetString("Missing", "Key", "d"), "d");
    EXPECT_FALSE(ini.Find("Main", "Absent").has_value());

    // Integers take the leading number and fall back on text.
    ini.Parse("[s]\na=42\nb=-7 apples\nc=none\nd=\n");
    EXPECT_EQ(ini.GetInt("s", "a", 1), 42);
    EXPECT_EQ(ini.GetInt("s", "b", 1), -7);
    for (const char* key : {"c", "d", "e"})
        EXPECT_EQ(ini.GetInt("s", key, 5), 5) << key;
}

TEST(PrivateProfileTest, WritesAndDeletesChangeOnlyTheirLinesAndKeepEverythingElse) {
    CPrivateProfile ini;
    ini.Parse("; a comment\n[One]\nA=1\nstray line\n\n[Two]\nB=2\n");
    ini.WriteString("one", "a", "changed");
    ini.WriteString("One", "New", "n");
    ini.WriteInt("Three", "C", 3);
    EXPECT_EQ(ini.Serialize(),
              "; a comment\n[One]\nA=changed\nNew=n\nstray line\n\n[Two]\nB=2\n[Three]\nC=3\n");
    ini.DeleteKey("one", "NEW");
    ini.DeleteSection("two");
    EXPECT_EQ(ini.Serialize(), "; a comment\n[One]\nA=changed\nstray line\n\n[Three]\nC=3\n");
    EXPECT_FALSE(ini.HasSection("Two"));
}

TEST(PrivateProfileTest, LineBreaksInWrittenTextNeverStartANewKeyOrSection) {
    CPrivateProfile ini;
    ini.WriteString("Playlist", "Title1", "Song\nFile2=/etc/passwd\r\n[Evil]");
    ini.WriteString("Sec]\nX", "Key\n=Y", "v");
    CPrivateProfile reread;
    reread.Parse(ini.Serialize());
    EXPECT_EQ(reread.SectionNames().size(), 2u);
    EXPECT_FALSE(reread.Find("Playlist", "File2").has_value());
    EXPECT_FALSE(reread.HasSection("Evil"));
    EXPECT_EQ(reread.KeyNames("Playlist"), std::vector<std::string>{"Title1"});
}

TEST(PrivateProfileTest, SaveReplacesTheFileWholeAndKeepsItsModeOrFailsAndMissingIsEmpty) {
    CTempDir dir;
    const std::string path = dir.File("cfg.ini");
    CPrivateProfile ini;
    ini.WriteString("S", "K", "V");
    ASSERT_TRUE(ini.Save(path, 0600));
    EXPECT_EQ(FileMode(path), 0600u);
    EXPECT_EQ(dir.ReadFile("cfg.ini"), "[S]\nK=V\n");

    ::chmod(path.c_str(), 0640);
    ini.WriteString("S", "K", "W");
    ASSERT_TRUE(ini.Save(path, 0600));
    EXPECT_EQ(FileMode(path), 0640u);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_FALSE(ini.Save(dir.File("no/such/dir/x.ini")));
    CPrivateProfile missing;
    EXPECT_FALSE(missing.Load(dir.File("absent.ini")));
    EXPECT_TRUE(missing.SectionNames().empty());
}

TEST(ProfileTest, WritesPersistAtOnceAndUnknownKeysSurvive) {
    CTempDir dir;
    const std::string path = dir.WriteFile("Orvandel/Wavsmith.ini", "[Future]\nKeep=me\n");
    {
        CProfile profile(path);
        EXPECT_EQ(profile.GetString("future", "keep", ""), "me");
        EXPECT_TRUE(profile.WriteInt("Settings", "NumberFormatId", 3));
    }
    CProfile reread(path);
    EXPECT_EQ(reread.GetInt("Settings", "NumberFormatId", 1), 3);
    EXPECT_EQ(reread.GetString("Future", "Keep", ""), "me");
}

TEST(ProfileTest, DeferredSaveWritesTheBatchOnceAtTheEnd) {
    CTempDir dir;
    const std::string path = dir.File("deep/Wavsmith.ini");
    CProfile profile(path);
    {
        CProfile::CDeferredSave batch(profile);
        profile.WriteString("A", "x", "1");
        EXPECT_FALSE(std::filesystem::exists(path));
        profile.WriteString("A", "y", "2");
    }
    EXPECT_EQ(FileMode(path), 0600u);
    CProfile reread(path);
    EXPECT_EQ(reread.GetString("A", "x", ""), "1");
    EXPECT_EQ(reread.GetString("A", "y", ""), "2");
}

TEST(ProfileTest, OutOfRangeIntegersReadAsTheDefault) {
    CTempDir dir;
    const std::string path =
        dir.WriteFile("p.ini", "[S]\nbig=99999999999\nneg=-2\nfull=4294967295\n");
    CProfile profile(path);
    EXPECT_EQ(profile.GetInt("S", "big", 7), 7);
    EXPECT_EQ(profile.GetInt("S", "neg", 7), -2);
    // A DWORD of all ones reads back as the same 32 bits.
    EXPECT_EQ(static_cast<unsigned>(profile.GetInt("S", "full", 7)), 0xFFFFFFFFu);
}
