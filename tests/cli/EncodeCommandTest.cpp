#include "support/CliRunner.h"
#include "support/Mp3Decoder.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
class EncodeCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.WriteFile("album/Intro.wav", CWaveWriter::PcmTone(2, 44100, 0.5));
        m_dir.WriteFile("album/Outro.wav", CWaveWriter::PcmTone(1, 44100, 0.5));
    }

    SCliResult Run(std::vector<std::string> args, const std::string& launcher = "") {
        return RunCli(args, m_dir.Path(), launcher);
    }

    CTempDir m_dir;
};
} // namespace

TEST_F(EncodeCommandTest, EncodesAFolderIntoNamedTaggedFilesAndAPlaylist) {
    const std::string out = m_dir.Path() + "out/";
    const SCliResult result = Run({"encode", "album", "--out", out, "--yes", "--artist", "Band",
                                   "--album", "Live", "--year", "2001", "--playlist", "extm3u",
                                   "--mode", "mono", "--no-progress", "-j", "2"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(result.m_strOut, out + "01 - Intro.mp3\n" + out + "02 - Outro.mp3\n");
    const SDecodedMp3 decoded = DecodeMp3(out + "01 - Intro.mp3");
    ASSERT_TRUE(decoded.m_bOk);
    EXPECT_EQ(decoded.m_nChannels, 1);
    EXPECT_EQ(m_dir.ReadFile("out/2001 - Live.m3u").rfind("#EXTM3U\n#EXTINF:0,Band - Intro\n", 0),
              0u);
    // Asked before the folder was made, and answered by --yes.
    EXPECT_NE(result.m_strErr.find("does not exist. Do you want the folder to be created?"),
              std::string::npos);
    EXPECT_NE(result.m_strErr.find("wavsmith-cli: 2 written, 0 skipped, 0 failed; playlist " + out +
                                   "2001 - Live.m3u\n"),
              std::string::npos)
        << result.m_strErr;

    // Beside the WAV files, with the playlist named after their folder.
    ASSERT_EQ(
        Run({"encode", "album", "--same-dir", "--playlist", "m3u", "--no-progress"}).m_nExitCode,
        0);
    EXPECT_TRUE(fs::exists(m_dir.Path() + "album/album.m3u"));
}

TEST_F(EncodeCommandTest, WithoutYesAQuestionIsAnsweredNoAndNothingIsWritten) {
    const SCliResult result = Run({"encode", "album", "--out", m_dir.Path() + "out/"});
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_FALSE(fs::exists(m_dir.Path() + "out"));
    EXPECT_NE(result.m_strErr.find("No (standard input is not a terminal"), std::string::npos);
    EXPECT_NE(result.m_strErr.find("wavsmith-cli: 0 written, 0 skipped, 2 failed\n"),
              std::string::npos)
        << result.m_strErr;
}

TEST_F(EncodeCommandTest, SaveStoresTheRunsSettingsInTheProfile) {
    const SCliResult result = Run({"--profile", "p.ini", "encode", "album/Intro.wav", "--out",
                                   m_dir.Path(), "--bitrate", "192", "--save", "--no-id3"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    const std::string profile = m_dir.ReadFile("p.ini");
    EXPECT_NE(profile.find("Bitrate=192"), std::string::npos) << profile;
    EXPECT_NE(profile.find("UseID3Tag=0"), std::string::npos) << profile;
    const std::string mp3 = m_dir.ReadFile("01 - Intro.mp3");
    ASSERT_GT(mp3.size(), 128u);
    EXPECT_NE(mp3.substr(mp3.size() - 128, 3), "TAG");

    // A profile that cannot be written is said, and is a failure.
    m_dir.WriteFile("file", "");
    const SCliResult failed = Run({"--profile", "file/p.ini", "encode", "album/Intro.wav", "--out",
                                   m_dir.Path(), "--save", "--no-progress"});
    EXPECT_EQ(failed.m_nExitCode, 1);
    EXPECT_NE(failed.m_strErr.find("the settings could not be saved to file/p.ini"),
              std::string::npos)
        << failed.m_strErr;
}

TEST_F(EncodeCommandTest, StoredValuesTheVersionDoesNotOfferAreMappedAsThePageMapsThem) {
    m_dir.WriteFile("p.ini", "[settings_mp3]\nMPEGVersion=1\nSampleRate=44100\nVBR=1\n"
                             "VBRMinBitrate=8\nVBRMaxBitrate=100\n");
    const SCliResult result = Run({"--profile", "p.ini", "encode", "album/Intro.wav", "--out",
                                   m_dir.Path(), "--no-progress"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    const SDecodedMp3 decoded = DecodeMp3(m_dir.Path() + "01 - Intro.mp3");
    ASSERT_TRUE(decoded.m_bOk);
    EXPECT_EQ(decoded.m_nRate, 22050);
}

TEST_F(EncodeCommandTest, UnreadableFormatsAndBadOptionsGiveTheirStatus) {
    m_dir.WriteFile("wide/Wide.wav",
                    CWaveWriter().AddFmtChunk(1, 3, 44100, 16).AddSilentData(6000).Bytes());
    SCliResult result = Run({"encode", "wide", "--out", m_dir.Path()});
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_NE(result.m_strErr.find("Wide.wav: 3 channels"), std::string::npos) << result.m_strErr;
    EXPECT_FALSE(fs::exists(m_dir.Path() + "01 - Wide.mp3"));

    EXPECT_EQ(Run({"encode", "album", "--playlist", "wpl"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"encode", "album", "--priority", "urgent"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"encode", "album", "--jobs", "65"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"encode"}).m_nExitCode, 2);
}

TEST_F(EncodeCommandTest, DeletedWavFilesGoToTheTrashUnlessUnlinkIsAsked) {
    const std::string trash = m_dir.Path() + ".local/share/Trash/";
    SCliResult result =
        Run({"encode", "album/Intro.wav", "--out", m_dir.Path(), "--delete-wav", "--no-progress"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_FALSE(fs::exists(m_dir.Path() + "album/Intro.wav"));
    EXPECT_TRUE(fs::exists(trash + "files/Intro.wav"));
    const std::string info = m_dir.ReadFile(".local/share/Trash/info/Intro.wav.trashinfo");
    EXPECT_NE(info.find("Path=" + m_dir.Path() + "album/Intro.wav"), std::string::npos) << info;

    result = Run({"encode", "album/Outro.wav", "--out", m_dir.Path(), "--delete-wav=unlink",
                  "--no-progress"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_FALSE(fs::exists(m_dir.Path() + "album/Outro.wav"));
    EXPECT_FALSE(fs::exists(trash + "files/Outro.wav"));
    EXPECT_EQ(Run({"encode", "album", "--delete-wav=shred"}).m_nExitCode, 2);
}

TEST_F(EncodeCommandTest, CtrlCHangUpAndTermStopTheRunAndLeaveNoPartialFile) {
    m_dir.WriteFile("long/Long.wav", CWaveWriter::PcmTone(2, 44100, 180.0));
    const std::string out = m_dir.Path() + "out/";
    fs::create_directory(out);
    for (const auto& [signal, status] : {std::pair{"INT", 130}, {"HUP", 129}, {"TERM", 143}}) {
        const SCliResult result =
            Run({"encode", "long", "--out", out, "--no-progress"},
                std::string("timeout --preserve-status -s ") + signal + " 0.5");
        EXPECT_EQ(result.m_nExitCode, status) << signal << ": " << result.m_strErr;
        // Neither the MP3 nor its temporary file is left.
        EXPECT_TRUE(fs::is_empty(out)) << signal;
    }
    EXPECT_TRUE(fs::exists(m_dir.Path() + "long/Long.wav"));
}
