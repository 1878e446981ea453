#include "filelist/TrackInfoPages.h"

#include "encoding/AppSettings.h"
#include "encoding/GenreTable.h"
#include "encoding/TrackItem.h"
#include "lang/StringCatalogue.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {
class TrackInfoPagesTest : public ::testing::Test {
protected:
    TrackInfoPagesTest() : m_catalogue(m_dir.Path()), m_track(m_settings) {
        m_track.m_strTitle = "Intro";
        m_track.m_nPlayTime = 61;
        m_track.m_strWavPath = "/music/in/01 Intro.wav";
        m_track.m_strWavDir = "/music/in/";
        m_track.m_strOutputDir = "/music/out/";
        m_track.m_strMp3Path = "/music/out/01 - Intro.mp3";
        m_track.m_bWavPresent = true;
        m_track.m_nWavSize = 10584044;
        m_track.m_nSamplesPerSec = 44100;
        m_track.m_nChannels = 2;
        m_track.m_nMp3Size = 1200000;
        m_track.m_nIndex = 2;
    }

    SInfoPages Build() const { return CTrackInfoPages(m_settings, m_catalogue).Build(m_track); }

    std::string Page(const SInfoPages& pages, size_t nIndex) const {
        return nIndex < pages.m_pages.size() ? pages.m_pages[nIndex].m_strText : "(no page)";
    }

    CTempDir m_dir;
    CAppSettings m_settings;
    CStringCatalogue m_catalogue;
    CTrackItem m_track;
};
} // namespace

TEST_F(TrackInfoPagesTest, ATrackNotYetEncodedShowsItsEstimateAndAnMp3TabInBrackets) {
    const SInfoPages pages = Build();
    ASSERT_FALSE(pages.m_strError) << *pages.m_strError;
    EXPECT_EQ(pages.m_strCaption, "File Information");
    ASSERT_EQ(pages.m_pages.size(), 4u);
    EXPECT_EQ(std::tie(pages.m_pages[0].m_strTitle, pages.m_pages[1].m_strTitle,
                       pages.m_pages[2].m_strTitle, pages.m_pages[3].m_strTitle),
              std::make_tuple("General", "Album", "WAV", "<MP3>"));
    EXPECT_EQ(Page(pages, 0), "Title\t: Intro\nLength\t: 61 seconds.\nStatus\t: -\n"
                              "WAV\t: /music/in/01 Intro.wav\nMP3\t: Not created");
    EXPECT_EQ(Page(pages, 2), "Filename : 01 Intro.wav\nDirectory : /music/in/\n"
                              "Size\t  : 10584044 bytes\nFormat\t  : PCM 44100 Hz, Stereo"
                              "\n\nFile exists and ready to be encoded!");
    EXPECT_EQ(Page(pages, 3), "Filename : 01 - Intro.mp3\nDirectory : /music/out/\n"
                              "Size\t  : 1200000 bytes\nFormat\t  : MPEG 1, 44100 Hz, Stereo\n"
                              "Bitrate\t  : CBR, 160 kbps\nCopyright : No\t\tPrivate\t: No\n"
                              "Original\t  : No\t\tCRC\t: No");

    // The WAV page's note follows the delete and encoded flags.
    m_track.m_bEncoded = true;
    EXPECT_NE(Page(Build(), 2).find("\n\nFile exists and was already encoded!"), std::string::npos);
    m_track.m_bEncoded = false;
    m_track.m_bDeleteWav = 1;
    EXPECT_NE(Page(Build(), 2).find("\n\nThis WAV file will be deleted after encoding!"),
              std::string::npos);
}

TEST_F(TrackInfoPagesTest, AnEncodedTrackWhoseWavWasDeletedShowsTheWavTabInBrackets) {
    m_track.m_bEncoded = true;
    m_track.m_bWavPresent = false;
    m_track.m_bDeleteWav = 1;
    m_track.m_nChannels = 1;
    m_track.m_nMpegVersion = 1;
    m_track.m_nOutSampleRate = 22050;
    m_track.m_nChannelMode = 7;
    m_track.m_bVbr = 1;
    m_track.m_nVbrMinBitrate = 128;
    m_track.m_nVbrMaxBitrate = 160;
    m_track.m_nVbrQuality = 5;
    m_track.m_bCopyright = 1;
    m_track.m_bCrc = 1;
    m_settings.m_bSameDir = 1;
    const SInfoPages pages = Build();
    ASSERT_EQ(pages.m_pages.size(), 4u);
    EXPECT_EQ(pages.m_pages[2].m_strTitle, "<WAV>");
    EXPECT_EQ(pages.m_pages[3].m_strTitle, "MP3");
    EXPECT_NE(Page(pages, 0).find("Status\t: Encoded\nWAV\t: Not created\n"
                                  "MP3\t: /music/out/01 - Intro.mp3"),
              std::string::npos)
        << Page(pages, 0);
    EXPECT_NE(Page(pages, 2).find("PCM 44100 Hz, Mono\n\nFile was deleted after encode!"),
              std::string::npos);
    EXPECT_NE(Page(pages, 3).find("Directory : /music/in/\n"), std::string::npos);
    EXPECT_NE(
        Page(pages, 3).find("MPEG 2, 22050 Hz, <Undefined>\n"
                            "Bitrate\t  : VBR, 128 - 160 kbps. Quality - 5\n"
                            "Copyright : Yes\t\tPrivate\t: No\nOriginal\t  : No\t\tCRC\t: Yes"),
        std::string::npos)
        << Page(pages, 3);
}

TEST_F(TrackInfoPagesTest, AlbumPageEndsWithTheCommentAndShowsNoGenreAsEmpty) {
    m_track.m_bUseId3Tag = 0;
    m_track.m_strArtist = "Abba";
    m_track.m_strAlbum = "Gold";
    m_track.m_strYear = "1992";
    m_track.m_nGenre = CGenreTable::kNoGenre;
    m_track.m_strComment = "remastered";
    EXPECT_EQ(Page(Build(), 1), "Write ID3 Tagv1\t: No\nAlbum Track ID\t: 3\nTitle\t\t: Intro\n"
                                "Artist\t\t: Abba\nAlbum\t\t: Gold\nYear\t\t: 1992\tGenre\t: \n"
                                "Comments\t:remastered");
    m_track.m_nGenre = static_cast<unsigned>(CGenreTable::FindRow("Rock"));
    EXPECT_NE(Page(Build(), 1).find("Genre\t: Rock\n"), std::string::npos);
}

TEST_F(TrackInfoPagesTest, ATranslationWhosePlaceholdersDoNotFitGivesTheErrorAndNoTabs) {
    m_dir.WriteFile("bad.lng", "[DlgItemInfo]\n6134=Dateiinformationen\n"
                               "6142=Datei %s in %d\n6148=Wave\n");
    CStringCatalogue translated(m_dir.Path());
    translated.SetInterfaceLanguage("bad");
    const SInfoPages pages = CTrackInfoPages(m_settings, translated).Build(m_track);
    EXPECT_EQ(pages.m_strCaption, "Dateiinformationen");
    EXPECT_TRUE(pages.m_pages.empty());
    ASSERT_TRUE(pages.m_strError);
    EXPECT_EQ(*pages.m_strError, CTrackInfoPages::kLanguageFileError);

    m_dir.WriteFile("bad.lng", "[DlgItemInfo]\n6148=Wave\n6141=Datei : %s (%s) %ld %d %s\n");
    translated.SetInterfaceLanguage("bad");
    const SInfoPages fitting = CTrackInfoPages(m_settings, translated).Build(m_track);
    ASSERT_EQ(fitting.m_pages.size(), 4u);
    EXPECT_EQ(fitting.m_pages[2].m_strTitle, "Wave");
    EXPECT_EQ(Page(fitting, 2), "Datei : 01 Intro.wav (/music/in/) 10584044 44100 Stereo"
                                "\n\nFile exists and ready to be encoded!");
}
