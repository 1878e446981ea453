#include "encoding/AppSettings.h"

#include "platform/Profile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {
// Every setting the profile keeps, for comparing what was saved with what was read back.
auto Persisted(const CAppSettings& s) {
    return std::tie(s.m_bUseId3Tag, s.m_nSampleRate, s.m_nChannelMode, s.m_nBitrate,
                    s.m_nMpegVersion, s.m_bVbr, s.m_nVbrMinBitrate, s.m_nVbrMaxBitrate,
                    s.m_nVbrQuality, s.m_bPrivate, s.m_bCrc, s.m_bCopyright, s.m_bOriginal,
                    s.m_strComment, s.m_nPlaylistType, s.m_strPlaylistFormat, s.m_strOutputDir,
                    s.m_strInputDir, s.m_strOutputFileFormat, s.m_bDelWav, s.m_bSameDir,
                    s.m_nThreadPriority, s.m_nEncodeJobs, s.m_bDeleteToTrash, s.m_nNumberStyle);
}
} // namespace

TEST(AppSettingsTest, FirstStartPutsTheFoldersInHomeAndEveryFieldRoundTrips) {
    CTempDir dir;
    CAppSettings fresh("/home/user/");
    fresh.LoadSettings(CProfile());
    EXPECT_EQ(fresh.m_strOutputDir, "/home/user/");
    EXPECT_EQ(fresh.m_strInputDir, "/home/user/");
    EXPECT_EQ(fresh.m_nEncodeJobs, 0u); // one job per core
    EXPECT_EQ(fresh.m_strProgramDir.back(), '/');

    CAppSettings saved("/x/");
    saved.m_bUseId3Tag = false;
    saved.m_nSampleRate = 22050;
    saved.m_nChannelMode = 3;
    saved.m_nBitrate = 96;
    saved.m_nMpegVersion = saved.m_bVbr = 1;
    saved.m_nVbrMinBitrate = 32;
    saved.m_nVbrMaxBitrate = 144;
    saved.m_nVbrQuality = 9;
    saved.m_bPrivate = saved.m_bCrc = saved.m_bCopyright = saved.m_bOriginal = 1;
    saved.m_strComment = "ripped at home";
    saved.m_nPlaylistType = 3;
    saved.m_strPlaylistFormat = "[artist]";
    saved.m_strOutputDir = "/music/out/";
    saved.m_strInputDir = "/music/in/";
    saved.m_strOutputFileFormat = "[number][title]";
    saved.m_bDelWav = true;
    saved.m_bSameDir = 1;
    saved.m_nThreadPriority = -2;
    saved.m_nEncodeJobs = 3;
    saved.m_bDeleteToTrash = false;
    saved.m_nNumberStyle = 3;
    // Not persisted: tag defaults other than the comment.
    saved.m_strArtist = "Someone";
    {
        CProfile profile(dir.File("Wavsmith.ini"));
        ASSERT_TRUE(saved.SaveSettings(profile));
    }
    CAppSettings loaded("/elsewhere/");
    loaded.LoadSettings(CProfile(dir.File("Wavsmith.ini")));
    EXPECT_EQ(Persisted(loaded), Persisted(saved));
    EXPECT_TRUE(loaded.m_strArtist.empty());
}

TEST(AppSettingsTest, DamagedProfileLoadsWhatItCanAndDefaultsTheRest) {
    CTempDir dir;
    const char raw[] = "garbage\0\xff\xfe line\n[broken\nBitrate=lots\n"
                       "[settings_mp3]\nSampleRate=48000\nBitrate=lots\nChannelMode\n"
                       "UseID3Tag=0\n=7\n[PlayList]\nType=2";
    const std::string path = dir.WriteFile("Wavsmith.ini", std::string(raw, sizeof raw - 1));
    CAppSettings settings("/h/");
    settings.LoadSettings(CProfile(path));
    EXPECT_EQ(settings.m_nSampleRate, 48000u);
    EXPECT_EQ(settings.m_nBitrate, 160u);
    EXPECT_EQ(settings.m_nChannelMode, 2u);
    EXPECT_FALSE(settings.m_bUseId3Tag);
    EXPECT_EQ(settings.m_nPlaylistType, 2u);
}
