#include "support/CliRunner.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {
class ListCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.WriteFile("album/01 Opening.wav", CWaveWriter::PcmTone(2, 44100, 2.0));
        m_dir.WriteFile("album/02 Closing.WAV", CWaveWriter::PcmTone(1, 44100, 65.0));
        m_dir.WriteFile("album/03 Broken.wav",
                        CWaveWriter().AddFmtChunk(85, 2, 44100, 16).AddSilentData(16).Bytes());
        m_dir.WriteFile("album/notes.txt", "not audio");
        m_dir.WriteFile("album/deeper/04 Hidden.wav", CWaveWriter::PcmTone(2, 44100, 1.0));
    }

    SCliResult Run(std::vector<std::string> args) { return RunCli(args, m_dir.Path()); }

    CTempDir m_dir;
};
} // namespace

TEST_F(ListCommandTest, ListsTheFolderWithNamesRefusalsAndTotals) {
    const SCliResult result =
        Run({"list", "--out", m_dir.File("mp3"), "--template", "[number]. [artist] - [title]",
             "--number-style", "2", "--artist", "AC/DC", "album"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    const std::string& out = result.m_strOut;
    EXPECT_NE(out.find("A. AC-DC - 01 Opening.mp3"), std::string::npos) << out;
    EXPECT_NE(out.find("1  " + m_dir.File("album/03 Broken.wav") + ": audio format 85, not PCM\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Play time: 01:07"), std::string::npos) << out;
}

TEST_F(ListCommandTest, ProfileSettingsApplyAndOptionsOverrideThem) {
    m_dir.WriteFile("profile.ini", "[settings_main]\nOutputFileFormat=[title] ([year])\n"
                                   "OutputDir=/srv/music/\n[Settings]\nNumberFormatId=0\n");
    SCliResult result = Run({"--profile", "profile.ini", "list", "album/01 Opening.wav"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_NE(result.m_strOut.find("01 Opening ().mp3"), std::string::npos) << result.m_strOut;

    result = Run({"--profile", "profile.ini", "list", "--year=1999", "--template", "[number]",
                  "album/01 Opening.wav"});
    EXPECT_NE(result.m_strOut.find("  1.mp3"), std::string::npos) << result.m_strOut;
    // The run changed nothing in the profile.
    EXPECT_EQ(m_dir.ReadFile("profile.ini").find("1999"), std::string::npos);
}

TEST_F(ListCommandTest, ValuesTheTablesDoNotOfferAndUnknownNamesAreBadUsage) {
    SCliResult result = Run({"list", "--bitrate", "100", "album"});
    EXPECT_EQ(result.m_nExitCode, 2);
    EXPECT_NE(result.m_strErr.find("--bitrate 100 is not offered for MPEG-1"), std::string::npos)
        << result.m_strErr;
    EXPECT_TRUE(result.m_strOut.empty());

    result = Run({"list", "--mpeg", "2", "--rate", "44100", "album"});
    EXPECT_EQ(result.m_nExitCode, 2);
    EXPECT_NE(result.m_strErr.find("16000, 22050, 24000"), std::string::npos) << result.m_strErr;

    EXPECT_EQ(Run({"list", "--genre", "Polka Metal", "album"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"list", "--preset", "LOUD", "album"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"list", "--number-style", "4", "album"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"list", "--mode"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"list"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"frobnicate", "album"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"list", "--vbr=yes", "album"}).m_nExitCode, 2);
    result = Run({"--lang", "klingon", "list", "album"});
    EXPECT_EQ(result.m_nExitCode, 2);
    EXPECT_NE(result.m_strErr.find("unknown language 'klingon'; the languages are English, German"),
              std::string::npos)
        << result.m_strErr;
    EXPECT_EQ(Run({"--lang", "english", "list", "album"}).m_nExitCode, 0);

    for (const char* help : {"--help", "-h"}) {
        result = Run({help});
        EXPECT_EQ(result.m_nExitCode, 0);
        EXPECT_EQ(result.m_strOut.rfind("Usage: wavsmith-cli", 0), 0u) << help;
    }
    result = Run({"--version"});
    EXPECT_EQ(result.m_nExitCode, 0);
    EXPECT_EQ(result.m_strOut, "wavsmith-cli 1.65\n");
    EXPECT_EQ(Run({"-x", "list", "album"}).m_nExitCode, 2);
}

TEST_F(ListCommandTest, MissingOrUnreadablePathsAreReportedAndTheRestStillListed) {
    SCliResult result = Run({"list", "nowhere.wav", "album/01 Opening.wav"});
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_NE(result.m_strErr.find("nowhere.wav: no such file or folder"), std::string::npos);
    EXPECT_NE(result.m_strOut.find("01 Opening.wav"), std::string::npos);

    // A file in a folder that cannot be read is listed with the system's reason and makes
    // the run fail, unlike a file refused for its contents.
    std::filesystem::create_symlink(m_dir.File("gone"), m_dir.File("album/05 Gone.wav"));
    result = Run({"list", "album"});
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_NE(result.m_strOut.find("could not be read:\n2  " + m_dir.File("album/05 Gone.wav") +
                                   ": no such file or directory"),
              std::string::npos)
        << result.m_strOut;
    // The reasons, numbers in them too, follow the interface language.
    result = Run({"--lang", "german", "list", "album"});
    EXPECT_NE(result.m_strOut.find(": Audioformat 85, kein PCM\n"), std::string::npos);
    EXPECT_NE(result.m_strOut.find("nicht gelesen werden:\n2  " + m_dir.File("album/05 Gone.wav") +
                                   ": Datei oder Ordner nicht vorhanden"),
              std::string::npos)
        << result.m_strOut;
}

// Relative paths are made absolute and plain before the list compares them.
TEST_F(ListCommandTest, TheSameFileGivenTwiceIsListedOnce) {
    const SCliResult result =
        Run({"list", "album/01 Opening.wav", "album/../album/01 Opening.wav", "album"});
    ASSERT_EQ(result.m_nExitCode, 0);
    EXPECT_NE(result.m_strOut.find("For 2 files required"), std::string::npos) << result.m_strOut;
}
