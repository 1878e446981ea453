#include "encoding/PlaylistWriter.h"

#include "encoding/AppSettings.h"
#include "encoding/TrackItem.h"
#include "platform/PrivateProfile.h"
#include "platform/Profile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {
// Expected playlists live in golden/ beside this file.
std::string Golden(const std::string& strName) {
    return ReadBeside(__FILE__, "golden", strName);
}

class PlaylistWriterTest : public ::testing::Test {
protected:
    PlaylistWriterTest() : m_settings(m_dir.Path()), m_first(m_settings), m_second(m_settings) {
        m_settings.m_strPlaylistName = "list.m3u";
        m_first.m_strArtist = "Abba";
        m_first.m_strTitle = "SOS";
        m_first.m_nPlayTime = 180;
        m_first.m_strMp3Path = "/music/01 - SOS.mp3";
        m_second.m_strTitle = "Intro";
        m_second.m_nPlayTime = 7;
        m_second.m_strMp3Path = "/music/02 - Intro.mp3";
    }

    bool Write(const CTrackItem& track) {
        return CPlaylistWriter::WritePlaylistEntry(track, m_settings,
                                                   CPlaylistWriter::PlaylistPath(m_settings, ""));
    }

    CTempDir m_dir;
    CAppSettings m_settings;
    CTrackItem m_first;
    CTrackItem m_second;
};
} // namespace

TEST(PlaylistNameTest, TheTemplateFilledByTheTagsOrTheFolderNameWithTheKindsExtension) {
    CProfile profile;
    CAppSettings settings;
    const auto name = [&](unsigned nKind) {
        settings.m_nPlaylistType = nKind;
        CPlaylistWriter::MakePlaylistName(settings, profile);
        return settings.m_strPlaylistName;
    };
    settings.m_strYear = "1999";
    settings.m_strAlbum = "X";
    EXPECT_EQ(name(1), "1999 - X.m3u");
    EXPECT_EQ(name(2), "1999 - X.m3u");
    EXPECT_EQ(name(3), "1999 - X.pls");
    EXPECT_EQ(name(0), "");

    // Without album and year only separators are left: the source folder names it.
    settings.m_strYear = settings.m_strAlbum = "";
    settings.m_strInputDir = "/music/Live: 1999/";
    EXPECT_EQ(name(1), "Live- 1999.m3u");
    settings.m_strInputDir = "/";
    EXPECT_EQ(name(1), "Playlist.m3u");
    // A token left empty takes its separator with it.
    settings.m_strAlbum = "Ärger";
    EXPECT_EQ(name(1), "Ärger.m3u");
    settings.m_strPlaylistFormat = "[album] - [year]";
    EXPECT_EQ(name(1), "Ärger.m3u");
    settings.m_strPlaylistFormat = ".[year]_[album]";
    EXPECT_EQ(name(1), "Ärger.m3u");

    // Track tokens stay; symbols follow the profile.
    settings.m_strPlaylistFormat = "[artist]: [genre] [title] [number]";
    settings.m_strArtist = "AC/DC";
    settings.m_nGenre = 101; // Rock
    EXPECT_EQ(name(1), "AC-DC- Rock [title] [number].m3u");
    profile.WriteString("SymbolReplacement", "3", "+");
    EXPECT_EQ(name(1), "AC+DC- Rock [title] [number].m3u");
}

TEST(PlaylistPathTest, BesideTheFirstWavWhenMp3sGoBesideTheirWavsElseTheDestination) {
    CAppSettings settings;
    settings.m_strInputDir = "/wav/";
    settings.m_strOutputDir = "/mp3/";
    settings.m_strPlaylistName = "list.m3u";
    settings.m_bSameDir = 1;
    EXPECT_EQ(CPlaylistWriter::PlaylistPath(settings, "/first/"), "/first/list.m3u");
    EXPECT_EQ(CPlaylistWriter::PlaylistPath(settings, ""), "/mp3/list.m3u");
    settings.m_bSameDir = 0;
    EXPECT_EQ(CPlaylistWriter::PlaylistPath(settings, "/first/"), "/mp3/list.m3u");

    settings.m_strOutputDir = "/mp3";
    EXPECT_EQ(CPlaylistWriter::PlaylistPath(settings, ""), "/mp3/list.m3u");
    settings.m_strOutputDir = "";
    EXPECT_EQ(CPlaylistWriter::PlaylistPath(settings, ""), "list.m3u");
}

TEST_F(PlaylistWriterTest, M3uAppendsOnePathPerTrackAndExtendedItsHeaderOnlyIntoANewFile) {
    m_dir.WriteFile("list.m3u", "/music/00 - Earlier run.mp3\n");
    m_settings.m_nPlaylistType = 1;
    EXPECT_TRUE(Write(m_first));
    EXPECT_TRUE(Write(m_second));
    EXPECT_EQ(m_dir.ReadFile("list.m3u"),
              "/music/00 - Earlier run.mp3\n/music/01 - SOS.mp3\n/music/02 - Intro.mp3\n");

    // Extended M3U writes its header only into a new file.
    m_settings.m_nPlaylistType = 2;
    m_settings.m_strPlaylistName = "extended.m3u";
    EXPECT_TRUE(Write(m_first));
    EXPECT_TRUE(Write(m_second));
    EXPECT_EQ(m_dir.ReadFile("extended.m3u"), Golden("PlaylistExtended.m3u"));
}

TEST_F(PlaylistWriterTest, PlsCountsEntriesAndKeepsWhatItDoesNotKnowOrIsNewAndReadableByAll) {
    m_settings.m_nPlaylistType = 3;
    m_settings.m_strPlaylistName = "list.pls";
    m_dir.WriteFile("list.pls", "; kept by hand\n[Playlist]\nAuthor=me\n[Extra]\nkeep=yes\n");
    EXPECT_TRUE(Write(m_first));
    EXPECT_TRUE(Write(m_second));
    EXPECT_EQ(m_dir.ReadFile("list.pls"), Golden("PlaylistTwoEntries.pls"));

    m_settings.m_strPlaylistName = "new.pls";
    ASSERT_TRUE(Write(m_first));
    EXPECT_EQ(FileMode(m_dir.File("new.pls")), 0644u);
}

TEST_F(PlaylistWriterTest, LineBreaksInTagsNeitherSplitLinesNorAddKeys) {
    m_first.m_strArtist = "Abba\r";
    m_first.m_strTitle = "SOS\nFile9=/etc/passwd";
    m_settings.m_nPlaylistType = 2;
    ASSERT_TRUE(Write(m_first));
    EXPECT_EQ(m_dir.ReadFile("list.m3u"),
              "#EXTM3U\n#EXTINF:180,Abba  - SOS File9=/etc/passwd\n/music/01 - SOS.mp3\n");

    m_settings.m_nPlaylistType = 3;
    m_settings.m_strPlaylistName = "list.pls";
    ASSERT_TRUE(Write(m_first));
    CPrivateProfile pls;
    ASSERT_TRUE(pls.Load(m_dir.File("list.pls")));
    EXPECT_EQ(pls.KeyNames("Playlist"), (std::vector<std::string>{"NumberOfEntries", "Version",
                                                                  "File1", "Title1", "Length1"}));
    EXPECT_EQ(pls.GetString("Playlist", "Title1", ""), "Abba  - SOS File9=/etc/passwd");
}

TEST_F(PlaylistWriterTest, NoKindWritesNothingAndAnUnwritablePlaylistIsReported) {
    m_settings.m_nPlaylistType = 0;
    EXPECT_TRUE(Write(m_first));
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.Path()));

    m_settings.m_strOutputDir = m_dir.File("missing/");
    for (unsigned kind = 1; kind <= 3; ++kind) {
        m_settings.m_nPlaylistType = kind;
        EXPECT_FALSE(Write(m_first)) << "kind " << kind;
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.Path()));
}

TEST_F(PlaylistWriterTest, OnAFullDiskThePlaylistStaysAsItWasNeverCutOrEmpty) {
    const std::string earlier = "/music/00 - Earlier run.mp3\n";
    for (unsigned kind = 1; kind <= 3; ++kind) {
        m_settings.m_nPlaylistType = kind;
        m_settings.m_strPlaylistName = "new" + std::to_string(kind);
        {
            const CFileSizeLimit fullDisk(10);
            EXPECT_FALSE(Write(m_first)) << "kind " << kind;
        }
        EXPECT_FALSE(std::filesystem::exists(m_dir.File(m_settings.m_strPlaylistName)));
        m_settings.m_strPlaylistName = "old" + std::to_string(kind);
        m_dir.WriteFile(m_settings.m_strPlaylistName, earlier);
        const CFileSizeLimit fullDisk(earlier.size() + 10);
        EXPECT_FALSE(Write(m_first)) << "kind " << kind;
        EXPECT_EQ(m_dir.ReadFile(m_settings.m_strPlaylistName), earlier) << "kind " << kind;
    }
    // Nothing but the playlists: no temporary file is left behind either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 3);
}

TEST_F(PlaylistWriterTest, AnEntryWhosePathIsListedAlreadyIsNotRepeated) {
    for (unsigned kind = 1; kind <= 3; ++kind) {
        m_settings.m_nPlaylistType = kind;
        m_settings.m_strPlaylistName = "list" + std::to_string(kind);
        ASSERT_TRUE(Write(m_first));
        ASSERT_TRUE(Write(m_second));
        const std::string once = m_dir.ReadFile(m_settings.m_strPlaylistName);
        // The same batch again, as a re-run encodes it.
        EXPECT_TRUE(Write(m_first));
        EXPECT_TRUE(Write(m_second));
        EXPECT_EQ(m_dir.ReadFile(m_settings.m_strPlaylistName), once) << "kind " << kind;
    }
    EXPECT_EQ(m_dir.ReadFile("list3").find("File3"), std::string::npos);
}
