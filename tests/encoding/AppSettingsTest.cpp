#include "encoding/AppSettings.h"

#include "platform/Profile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(AppSettingsTest, EmptyProfileGivesTheFirstStartDefaults) {
    CProfile profile;
    CAppSettings settings("/home/user/");
    settings.LoadSettings(profile);
    EXPECT_EQ(settings.m_nSampleRate, 44100u);
    EXPECT_EQ(settings.m_nChannelMode, 2u);
    EXPECT_EQ(settings.m_nBitrate, 160u);
    EXPECT_EQ(settings.m_bVbr, 0u);
    EXPECT_EQ(settings.m_nMpegVersion, 0u);
    EXPECT_EQ(settings.m_nVbrQuality, 5u);
    EXPECT_EQ(settings.m_nVbrMinBitrate, 128u);
    EXPECT_EQ(settings.m_nVbrMaxBitrate, 160u);
    EXPECT_TRUE(settings.m_bUseId3Tag);
    EXPECT_EQ(settings.m_nPlaylistType, 1u);
    EXPECT_EQ(settings.m_strPlaylistFormat, "[year] - [album]");
    EXPECT_EQ(settings.m_strOutputDir, "/home/user/");
    EXPECT_EQ(settings.m_strInputDir, "/home/user/");
    EXPECT_EQ(settings.m_strOutputFileFormat, "[number] - [title]");
    EXPECT_EQ(settings.m_nNumberStyle, 1u);
    EXPECT_EQ(settings.m_nEncodeJobs, 0u); // one job per core
    EXPECT_TRUE(settings.m_bDeleteToTrash);
    EXPECT_FALSE(settings.m_strProgramDir.empty());
    EXPECT_EQ(settings.m_strProgramDir.back(), '/');
}

TEST(AppSettingsTest, SaveThenLoadRoundTripsEveryPersistedField) {
    CTempDir dir;
    CAppSettings saved("/x/");
    saved.m_bUseId3Tag = false;
    saved.m_nSampleRate = 22050;
    saved.m_nChannelMode = 3;
    saved.m_nBitrate = 96;
    saved.m_nMpegVersion = 1;
    saved.m_bVbr = 1;
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
    CProfile profile(dir.File("Wavsmith.ini"));
    CAppSettings loaded("/elsewhere/");
    loaded.LoadSettings(profile);
    EXPECT_FALSE(loaded.m_bUseId3Tag);
    EXPECT_EQ(loaded.m_nSampleRate, 22050u);
    EXPECT_EQ(loaded.m_nChannelMode, 3u);
    EXPECT_EQ(loaded.m_nBitrate, 96u);
    EXPECT_EQ(loaded.m_nMpegVersion, 1u);
    EXPECT_EQ(loaded.m_bVbr, 1u);
    EXPECT_EQ(loaded.m_nVbrMinBitrate, 32u);
    EXPECT_EQ(loaded.m_nVbrMaxBitrate, 144u);
    EXPECT_EQ(loaded.m_nVbrQuality, 9u);
    EXPECT_EQ(loaded.m_bPrivate + loaded.m_bCrc + loaded.m_bCopyright + loaded.m_bOriginal, 4u);
    EXPECT_EQ(loaded.m_strComment, "ripped at home");
    EXPECT_EQ(loaded.m_nPlaylistType, 3u);
    EXPECT_EQ(loaded.m_strPlaylistFormat, "[artist]");
    EXPECT_EQ(loaded.m_strOutputDir, "/music/out/");
    EXPECT_EQ(loaded.m_strInputDir, "/music/in/");
    EXPECT_EQ(loaded.m_strOutputFileFormat, "[number][title]");
    EXPECT_TRUE(loaded.m_bDelWav);
    EXPECT_EQ(loaded.m_bSameDir, 1u);
    EXPECT_EQ(loaded.m_nThreadPriority, -2);
    EXPECT_EQ(loaded.m_nEncodeJobs, 3u);
    EXPECT_FALSE(loaded.m_bDeleteToTrash);
    EXPECT_EQ(loaded.m_nNumberStyle, 3u);
    EXPECT_TRUE(loaded.m_strArtist.empty());
}

TEST(AppSettingsTest, DamagedProfileLoadsWhatItCanAndDefaultsTheRest) {
    CTempDir dir;
    const char raw[] = "garbage\0\xff\xfe line\n[broken\nBitrate=lots\n"
                       "[settings_mp3]\nSampleRate=48000\nBitrate=lots\nChannelMode\n"
                       "UseID3Tag=0\n=7\n[PlayList]\nType=2";
    const std::string path = dir.WriteFile("Wavsmith.ini", std::string(raw, sizeof raw - 1));
    CProfile profile(path);
    CAppSettings settings("/h/");
    settings.LoadSettings(profile);
    EXPECT_EQ(settings.m_nSampleRate, 48000u);
    EXPECT_EQ(settings.m_nBitrate, 160u);
    EXPECT_EQ(settings.m_nChannelMode, 2u);
    EXPECT_FALSE(settings.m_bUseId3Tag);
    EXPECT_EQ(settings.m_nPlaylistType, 2u);
}
