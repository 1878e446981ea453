#include "filelist/TrackInfoPages.h"
#include "platform/PlatformPaths.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
// A language file beside the built wavsmith-cli (the test program sits in the same
// folder), removed again when the test ends.
class CProgramDirLanguageFile {
public:
    CProgramDirLanguageFile(const std::string& strStem, const std::string& content)
        : m_strName(strStem + std::to_string(::getpid())),
          m_strPath(CPlatformPaths::DataDir() + m_strName + ".lng") {
        std::ofstream(m_strPath, std::ios::binary) << content;
    }
    ~CProgramDirLanguageFile() { std::remove(m_strPath.c_str()); }
    const std::string& Name() const { return m_strName; }

private:
    std::string m_strName;
    std::string m_strPath;
};

class InfoCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.WriteFile("some.wav", CWaveWriter::PcmTone(2, 44100, 2.0));
        m_dir.WriteFile("album/a.wav", CWaveWriter::PcmTone(1, 22050, 1.0));
        m_dir.WriteFile("album/b.wav", CWaveWriter::PcmTone(2, 44100, 3.0));
    }

    SCliResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--profile", "profile.ini"});
        return RunCli(args, m_dir.Path());
    }

    CTempDir m_dir;
};
} // namespace

TEST_F(InfoCommandTest, PrintsEachTabTitleOnALineOfItsOwnThenItsText) {
    const SCliResult result = Run({"info", "some.wav", "--out", m_dir.File("mp3")});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(result.m_strOut.rfind("General\nTitle\t: some\n", 0), 0u) << result.m_strOut;
    EXPECT_NE(result.m_strOut.find("\n\n<MP3>\nFilename : 01 - some.mp3\nDirectory : " +
                                   m_dir.File("mp3/")),
              std::string::npos)
        << result.m_strOut;

    // The track option picks a row of the list.
    SCliResult row = Run({"info", "--track", "2", "album"});
    ASSERT_EQ(row.m_nExitCode, 0) << row.m_strErr;
    EXPECT_NE(row.m_strOut.find("Title\t: b\n"), std::string::npos);

    row = Run({"info", "--track", "3", "album"});
    EXPECT_EQ(row.m_nExitCode, 1);
    EXPECT_EQ(row.m_strOut, "");
    EXPECT_NE(row.m_strErr.find("no track 3"), std::string::npos);
    EXPECT_EQ(Run({"info", "--track", "0", "album"}).m_nExitCode, 2);
}

// The stored language applies unless the option overrides it.
TEST_F(InfoCommandTest, GermanPagesFromTheShippedLanguageFileAsStoredOrAsked) {
    SCliResult result = Run({"--lang", "german", "info", "some.wav"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(result.m_strOut.rfind("Allgemein\nTitel\t: some\n", 0), 0u) << result.m_strOut;

    m_dir.WriteFile("profile.ini", "[Settings]\nLanguage=German\n");
    result = Run({"list", "some.wav"});
    EXPECT_NE(result.m_strOut.find("Nr.  WAV-Dateiname"), std::string::npos) << result.m_strOut;
    result = Run({"--lang=", "info", "some.wav"});
    EXPECT_EQ(result.m_strOut.rfind("General\n", 0), 0u) << result.m_strOut;
}

TEST_F(InfoCommandTest, AMismatchedTranslatedFormatPrintsTheParsingError) {
    const CProgramDirLanguageFile bad("badtest", "[DlgItemInfo]\n6143=Übersicht\n"
                                                 "6136=Titel %s, Länge %s, %n%n%n%s %s\n");
    const SCliResult result = Run({"--lang", bad.Name(), "info", "some.wav"});
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_EQ(result.m_strOut, std::string(CTrackInfoPages::kLanguageFileError) + "\n");
}
