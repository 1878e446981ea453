#include "filelist/TrackList.h"

#include "encoding/AppSettings.h"
#include "filelist/OutputNamer.h"
#include "platform/Profile.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

class TrackListTest : public ::testing::Test {
protected:
    TrackListTest() : m_settings(m_dir.Path()), m_namer(m_settings, m_profile) {}

    // A short valid WAV file in the temporary folder; returns its path.
    std::string WriteWave(const std::string& strName) const {
        return m_dir.WriteFile(strName, CWaveWriter::PcmTone(2, 8000, 0.01));
    }

    // A track made directly, for the list operations that do not read files.
    std::unique_ptr<CTrackItem> MakeTrack(const std::string& strPath) const {
        auto track = std::make_unique<CTrackItem>(m_settings);
        track->m_strWavPath = strPath;
        track->m_strTitle = strPath;
        track->m_bWavPresent = true;
        return track;
    }

    void AppendTracks(const std::vector<std::string>& paths) {
        for (const auto& path : paths)
            m_list.Append(MakeTrack(path));
    }

    std::vector<std::string> ListedPaths() const {
        std::vector<std::string> paths;
        for (size_t i = 0; i < m_list.Count(); ++i)
            paths.push_back(m_list.At(i).m_strWavPath);
        return paths;
    }

    CTempDir m_dir;
    CProfile m_profile;
    CAppSettings m_settings;
    COutputNamer m_namer;
    CTrackList m_list;
};

using Paths = std::vector<std::string>;

TEST_F(TrackListTest, AddedTrackStartsFromTheFileAndTheSettingsAndRefusedFilesAddNothing) {
    m_settings.m_nBitrate = 256;
    m_settings.m_strArtist = "Artist";
    ASSERT_TRUE(m_list.AddWaveFile(WriteWave("one.wav"), m_settings));
    ASSERT_TRUE(m_list.AddWaveFile(WriteWave("Two.WAV"), m_settings));
    ASSERT_EQ(m_list.Count(), 2u);

    const CTrackItem& t = m_list.At(1);
    EXPECT_EQ(std::tie(t.m_nIndex, t.m_strWavPath, t.m_strFileTitle, t.m_strTitle, t.m_strWavDir,
                       t.m_strOutputDir, t.m_nBitrate, t.m_strArtist, t.m_nSampleFrames),
              std::make_tuple(1u, m_dir.File("Two.WAV"), "Two", "Two", m_dir.Path(),
                              m_settings.m_strOutputDir, 256u, "Artist", 80u));
    EXPECT_TRUE(t.m_bChecked && t.m_bWavPresent && !t.m_bEncoded);

    // Files of another name, missing or not WAV files add nothing.
    EXPECT_FALSE(m_list.AddWaveFile(WriteWave("long.wave"), m_settings));
    EXPECT_FALSE(m_list.AddWaveFile(m_dir.File("missing.wav"), m_settings));
    EXPECT_FALSE(m_list.AddWaveFile(m_dir.WriteFile("text.wav", "not a wave file"), m_settings));
    EXPECT_EQ(m_list.Count(), 2u);
    EXPECT_FALSE(m_list.Contains(m_dir.File("text.wav")));
}

TEST_F(TrackListTest, APathIsListedOnceCaseMakesADifferentFileAndARemovedOneCanComeBack) {
    const std::string lower = WriteWave("song.wav");
    const std::string upper = WriteWave("SONG.wav");
    EXPECT_TRUE(m_list.AddWaveFile(lower, m_settings));
    EXPECT_TRUE(m_list.AddWaveFile(lower, m_settings));
    EXPECT_TRUE(m_list.AddWaveFile(upper, m_settings));
    EXPECT_EQ(ListedPaths(), (Paths{lower, upper}));

    // A listed file that has gone is refused, and still not added twice.
    std::filesystem::remove(lower);
    EXPECT_FALSE(m_list.AddWaveFile(lower, m_settings));
    EXPECT_EQ(m_list.Count(), 2u);

    // Removed, or cleared, it can be added again.
    const std::string other = WriteWave("b.wav");
    ASSERT_TRUE(m_list.AddWaveFile(other, m_settings));
    m_list.RemoveAt(3);
    EXPECT_EQ(ListedPaths(), (Paths{lower, upper, other}));
    EXPECT_TRUE(m_list.Contains(other));
    m_list.RemoveAt(1);
    EXPECT_FALSE(m_list.Contains(upper));
    EXPECT_TRUE(m_list.AddWaveFile(upper, m_settings));
    EXPECT_EQ(ListedPaths(), (Paths{lower, other, upper}));
    m_list.Clear();
    EXPECT_FALSE(m_list.Contains(other));
    EXPECT_TRUE(m_list.AddWaveFile(other, m_settings));
    EXPECT_EQ(ListedPaths(), (Paths{other}));

    // A path appended twice stays listed until both are gone.
    m_list.Clear();
    AppendTracks({"/x/a.wav", "/x/a.wav"});
    m_list.RemoveAt(0);
    EXPECT_TRUE(m_list.Contains("/x/a.wav"));
    m_list.RemoveAt(0);
    EXPECT_FALSE(m_list.Contains("/x/a.wav"));
}

TEST_F(TrackListTest, MovePutsATrackAfterAnotherAndIgnoresPlacesThatChangeNothing) {
    AppendTracks({"0", "1", "2", "3", "4"});
    m_list.Move(0, 2);
    EXPECT_EQ(ListedPaths(), (Paths{"1", "2", "0", "3", "4"}));
    m_list.Move(4, 0);
    EXPECT_EQ(ListedPaths(), (Paths{"1", "4", "2", "0", "3"}));
    m_list.Move(1, 4);
    const Paths moved{"1", "2", "0", "3", "4"};
    EXPECT_EQ(ListedPaths(), moved);
    // Places where nothing would change, or that do not exist, are ignored.
    const std::pair<int, int> ignored[] = {{1, 1},  {2, 1}, {1, 0}, {0, -1},
                                           {2, -1}, {5, 0}, {0, 5}, {-1, 1}};
    for (const auto& [from, to] : ignored) {
        m_list.Move(from, to);
        EXPECT_EQ(ListedPaths(), moved) << "from " << from << " to " << to;
    }
}

TEST_F(TrackListTest, SortOrdersByEachKeyInBothDirections) {
    AppendTracks({"/m/c.wav", "/m/a.wav", "/m/b.wav"});
    const unsigned playTimes[] = {20, 30, 10};
    const unsigned wavSizes[] = {300, 100, 200};
    const unsigned mp3Sizes[] = {5, 7, 6};
    for (size_t i = 0; i < 3; ++i) {
        m_list.At(i).m_nPlayTime = playTimes[i];
        m_list.At(i).m_nWavSize = wavSizes[i];
        m_list.At(i).m_nMp3Size = mp3Sizes[i];
    }
    const struct {
        int key;
        Paths ascending;
    } keys[] = {
        {CTrackList::kSortByPath, {"/m/a.wav", "/m/b.wav", "/m/c.wav"}},
        {CTrackList::kSortByPlayTime, {"/m/b.wav", "/m/c.wav", "/m/a.wav"}},
        {CTrackList::kSortByWavSize, {"/m/a.wav", "/m/b.wav", "/m/c.wav"}},
        {CTrackList::kSortByMp3Size, {"/m/c.wav", "/m/b.wav", "/m/a.wav"}},
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.key);
        m_list.Sort(key.key, false, m_namer);
        EXPECT_EQ(ListedPaths(), key.ascending);
        m_list.Sort(key.key, true, m_namer);
        EXPECT_EQ(ListedPaths(), (Paths(key.ascending.rbegin(), key.ascending.rend())));
    }
    // Paths compare byte by byte.
    m_list.At(2).m_strWavPath = "/m/B.wav";
    m_list.Sort(CTrackList::kSortByPath, false, m_namer);
    EXPECT_EQ(ListedPaths(), (Paths{"/m/B.wav", "/m/a.wav", "/m/b.wav"}));
}

TEST_F(TrackListTest, SortByStatusPutsEncodedThenPresentFirstAndKeepsTies) {
    AppendTracks({"plain", "deleted", "encoded", "plain2", "encoded-deleted"});
    m_list.At(1).m_bWavPresent = false;
    m_list.At(2).m_bEncoded = true;
    m_list.At(4).m_bEncoded = true;
    m_list.At(4).m_bWavPresent = false;

    m_list.Sort(CTrackList::kSortByStatus, false, m_namer);
    EXPECT_EQ(ListedPaths(), (Paths{"encoded", "encoded-deleted", "plain", "plain2", "deleted"}));
    m_list.Sort(CTrackList::kSortByStatus, true, m_namer);
    EXPECT_EQ(ListedPaths(), (Paths{"deleted", "plain", "plain2", "encoded-deleted", "encoded"}));
}

TEST_F(TrackListTest, SortRenumbersAndRenamesEvenForKeysThatKeepTheOrder) {
    AppendTracks({"/m/b.wav", "/m/a.wav", "/m/c.wav"});
    m_list.At(2).m_bEncoded = true;
    m_list.At(2).m_strMp3Path = "/out/kept.mp3";
    for (size_t i = 0; i < 3; ++i)
        m_list.At(i).m_nIndex = 7;

    m_list.Sort(1, false, m_namer);
    EXPECT_EQ(ListedPaths(), (Paths{"/m/b.wav", "/m/a.wav", "/m/c.wav"}));
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(m_list.At(i).m_nIndex, i);
    EXPECT_FALSE(m_list.At(0).m_strMp3Path.empty());
    EXPECT_NE(m_list.At(0).m_strMp3Path, m_list.At(1).m_strMp3Path);
    EXPECT_EQ(m_list.At(2).m_strMp3Path, "/out/kept.mp3");
}

TEST_F(TrackListTest, NamesThatComeOutTheSameGetDistinctNumbersInListOrder) {
    m_settings.m_strOutputFileFormat = "[title]";
    AppendTracks({"/a/x.wav", "/b/x.wav", "/c/x.wav", "/d/y.wav"});
    for (size_t i = 0; i < m_list.Count(); ++i)
        m_list.At(i).m_strTitle = i < 3 ? "Intro" : "Intro (2)";
    // An encoded track holds its name; the others keep clear of it.
    m_list.At(2).m_bEncoded = true;
    m_list.At(2).m_strMp3Path = m_dir.Path() + "Intro.mp3";
    m_list.ApplySettingsToTracks(m_settings, m_namer);
    std::vector<std::string> names;
    for (size_t i = 0; i < m_list.Count(); ++i)
        names.push_back(m_list.At(i).m_strMp3Path.substr(m_dir.Path().size()));
    EXPECT_EQ(names, (Paths{"Intro (2).mp3", "Intro (3).mp3", "Intro.mp3", "Intro (2) (2).mp3"}));
}

TEST_F(TrackListTest, ApplyingSettingsSparesTheOptionsOfEncodedTracks) {
    AppendTracks({"/m/new.wav", "/m/done.wav"});
    CTrackItem& done = m_list.At(1);
    done.m_bEncoded = true;
    done.m_strMp3Path = "/old/done.mp3";
    const unsigned oldBitrate = done.m_nBitrate;

    m_settings.m_nBitrate = oldBitrate + 32;
    m_settings.m_strArtist = "New Artist";
    m_settings.m_strOutputDir = m_dir.Path() + "out/";
    m_list.ApplySettingsToTracks(m_settings, m_namer);

    const CTrackItem& fresh = m_list.At(0);
    EXPECT_EQ(fresh.m_nBitrate, oldBitrate + 32);
    EXPECT_EQ(fresh.m_strArtist, "New Artist");
    EXPECT_EQ(fresh.m_strOutputDir, m_settings.m_strOutputDir);
    EXPECT_EQ(fresh.m_strMp3Path.rfind(m_settings.m_strOutputDir, 0), 0u);

    EXPECT_EQ(done.m_nBitrate, oldBitrate);
    EXPECT_EQ(done.m_strArtist, "");
    EXPECT_EQ(done.m_strOutputDir, m_settings.m_strOutputDir);
    EXPECT_EQ(done.m_strMp3Path, "/old/done.mp3");
}

} // namespace
