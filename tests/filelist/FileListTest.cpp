#include "filelist/FileList.h"

#include "encoding/AppSettings.h"
#include "freedb/service/AlbumInfo.h"
#include "lang/StringCatalogue.h"
#include "platform/Profile.h"
#include "support/FailingReaddir.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <climits>
#include <discid/discid.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
class FileListTest : public ::testing::Test {
protected:
    FileListTest() : m_settings(m_dir.Path()), m_fileList(m_tracks, m_settings, m_profile) {}

    void AddTracks(int nCount) {
        std::vector<std::string> paths;
        for (int i = 0; i < nCount; ++i)
            paths.push_back(m_dir.WriteFile("t" + std::to_string(i) + ".wav",
                                            CWaveWriter::PcmTone(1, 8000, 0.1)));
        m_fileList.OpenFiles(paths);
    }

    CTempDir m_dir;
    CProfile m_profile;
    CStringCatalogue m_catalogue;
    CRecordingPrompt m_prompt;
    CAppSettings m_settings;
    CTrackList m_tracks;
    CFileList m_fileList;
};
} // namespace

TEST(FileListDestinationTest, OnlyAbsolutePathsOfValidFolderNamesAreValid) {
    for (const char* valid : {"/music/out/", "/music/out", "/"})
        EXPECT_TRUE(CFileList::IsValidDestination(valid)) << valid;
    for (const char* invalid : {"music/", "", "/music/a.b./", "/music/.hidden/", "/music/ lead/",
                                "/music//out/", "/what?/", "/a:b/"})
        EXPECT_FALSE(CFileList::IsValidDestination(invalid)) << invalid;
}

TEST_F(FileListTest, MissingDestinationIsCreatedOnlyAfterYesAndABadOneIsReported) {
    const std::string target = m_dir.Path() + "new/deeper/";
    m_prompt.m_bAnswer = false;
    EXPECT_FALSE(CFileList::ValidateDestination(target, m_prompt, m_catalogue));
    EXPECT_FALSE(fs::exists(target));
    ASSERT_EQ(m_prompt.Entries().size(), 1u);
    EXPECT_EQ(m_prompt.Entries()[0].m_strText,
              "The folder:\n\n" + target +
                  "\n\ndoes not exist. Do you want the folder to be created?");
    EXPECT_EQ(m_prompt.Entries()[0].m_icon, EPromptIcon::Question);

    m_prompt.m_bAnswer = true;
    EXPECT_TRUE(CFileList::ValidateDestination(target, m_prompt, m_catalogue));
    EXPECT_TRUE(fs::is_directory(target));

    // An invalid or uncreatable one is reported.
    m_prompt.Clear();
    EXPECT_FALSE(CFileList::ValidateDestination("relative/dir/", m_prompt, m_catalogue));
    m_dir.WriteFile("plainfile", "x");
    EXPECT_FALSE(
        CFileList::ValidateDestination(m_dir.Path() + "plainfile/sub/", m_prompt, m_catalogue));
    const auto entries = m_prompt.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].m_strText, "The folder:\n\nrelative/dir/\n\nis invalid. Please reenter.");
    EXPECT_EQ(entries[0].m_icon, EPromptIcon::Exclamation);
    EXPECT_EQ(entries[2].m_strText,
              "The folder:\n\n" + m_dir.Path() +
                  "plainfile/sub/\n\ncannot be created. Please double check.");
}

TEST_F(FileListTest, CheckClearAndDeleteCommandsTheirEnablingAndRenumbering) {
    AddTracks(3);
    EXPECT_FALSE(m_fileList.CanCheckAll());
    EXPECT_TRUE(m_fileList.CanUncheckAll());
    m_tracks.At(1).m_bChecked = false;
    m_fileList.InvertSelection();
    EXPECT_FALSE(m_tracks.At(0).m_bChecked);
    EXPECT_TRUE(m_tracks.At(1).m_bChecked);
    EXPECT_FALSE(m_tracks.At(2).m_bChecked);
    m_fileList.UncheckAll();
    EXPECT_FALSE(m_fileList.CanUncheckAll());
    m_fileList.CheckAll();
    EXPECT_FALSE(m_fileList.CanCheckAll());

    // Clearing the status keeps the tracks whose WAV file was deleted encoded.
    m_tracks.At(0).m_bEncoded = m_tracks.At(1).m_bEncoded = m_tracks.At(2).m_bEncoded = true;
    m_tracks.At(1).m_bWavPresent = false;
    EXPECT_TRUE(m_fileList.CanClearStatus());
    EXPECT_FALSE(m_fileList.CanEncode());
    m_fileList.ClearStatus();
    EXPECT_FALSE(m_tracks.At(0).m_bEncoded);
    EXPECT_TRUE(m_tracks.At(1).m_bEncoded);
    EXPECT_FALSE(m_fileList.CanClearStatus());
    EXPECT_TRUE(m_fileList.CanEncode());

    // Deleting renumbers and forgets the path.
    const std::string removed = m_tracks.At(1).m_strWavPath;
    m_fileList.DeleteItem(1);
    ASSERT_EQ(m_tracks.Count(), 2u);
    EXPECT_EQ(m_tracks.At(1).m_nIndex, 1u);
    EXPECT_EQ(m_tracks.At(1).m_strFileTitle, "t2");
    m_fileList.DeleteItem(7);
    EXPECT_EQ(m_tracks.Count(), 2u);
    m_fileList.OpenFiles({removed});
    EXPECT_EQ(m_tracks.Count(), 3u);
    m_fileList.DeleteAllItems();
    EXPECT_FALSE(m_fileList.HasItems());
    EXPECT_FALSE(m_fileList.CanEncode());
}

TEST_F(FileListTest, RefreshAddsTheFoldersNewWavFilesOnlyAndCollectsRefusalsOrFailures) {
    m_settings.m_strInputDir.clear();
    m_settings.m_strOutputDir.clear();
    const std::string folder = m_dir.Path() + "src";
    m_dir.WriteFile("src/Track 10.WAV", CWaveWriter::PcmTone(1, 8000, 0.1));
    m_dir.WriteFile("src/Track 2.wav", CWaveWriter::PcmTone(1, 8000, 0.1));
    m_dir.WriteFile("src/bad.wav", "RIFF....WAVEjunk");
    m_dir.WriteFile("src/notes.txt", "x");
    // A named pipe must be refused at once, not wait for a writer.
    ASSERT_EQ(::mkfifo((folder + "/pipe.wav").c_str(), 0644), 0);
    m_dir.WriteFile("src/sub/c.wav", CWaveWriter::PcmTone(1, 8000, 0.1));
    m_fileList.OpenDirectory(folder);
    EXPECT_EQ(m_settings.m_strInputDir, folder + "/");
    EXPECT_EQ(m_settings.m_strOutputDir, folder + "/");
    // In the order people read numbers.
    ASSERT_EQ(m_tracks.Count(), 2u);
    EXPECT_EQ(m_tracks.At(0).m_strFileTitle, "Track 2");
    EXPECT_EQ(m_tracks.At(1).m_strFileTitle, "Track 10");
    EXPECT_EQ(m_fileList.SkippedFiles(),
              (std::vector<SSkippedFile>{
                  {folder + "/bad.wav", {.m_nReasonId = UiString::kReasonCutShort}},
                  {folder + "/pipe.wav",
                   {.m_nReasonId = UiString::kReasonNotRegular, .m_bUnreadable = true}}}));

    m_fileList.m_bDontShowSkipped = true;
    m_fileList.Refresh();
    EXPECT_EQ(m_tracks.Count(), 2u);
    EXPECT_TRUE(m_fileList.SkippedFiles().empty());

    // A listing that fails half-way is reported, not thrown.
    m_fileList.DeleteAllItems();
    const CFailingReaddir failing(1);
    EXPECT_FALSE(m_fileList.OpenDirectory(folder));
    EXPECT_LT(m_tracks.Count(), 2u);
}

TEST_F(FileListTest, PathsGivenToTheProgramAreOpenedAsFoldersOrFilesAndEveryRefusalKept) {
    m_dir.WriteFile("album/1.wav", CWaveWriter::PcmTone(1, 8000, 0.1));
    m_dir.WriteFile("album/bad.wav", "RIFF....WAVEjunk");
    const std::string single = m_dir.WriteFile("single.wav", CWaveWriter::PcmTone(1, 8000, 0.1));
    // Relative paths come from a shell started in some folder.
    const fs::path previous = fs::current_path();
    fs::current_path(m_dir.Path() + "album");

    EXPECT_FALSE(m_fileList.OpenPaths({".", "../album/../single.wav", "missing.wav"}));
    fs::current_path(previous);
    ASSERT_EQ(m_tracks.Count(), 2u);
    EXPECT_EQ(m_tracks.At(1).m_strWavPath, single);
    // The last file's folder is the source; a path that is not there does not move it.
    EXPECT_EQ(m_settings.m_strInputDir, m_dir.Path());
    const std::vector<SSkippedFile>& skipped = m_fileList.SkippedFiles();
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[0].m_strPath, m_dir.Path() + "album/bad.wav");
    EXPECT_EQ(skipped[1].m_strPath, m_dir.Path() + "album/missing.wav");
    EXPECT_TRUE(skipped[1].m_refusal.m_bUnreadable);
}

TEST_F(FileListTest, EncodeRunsOnlyWithACheckedTrackAndAValidDestination) {
    int runs = 0;
    const auto run = [&runs] { ++runs; };
    EXPECT_FALSE(m_fileList.Encode(m_prompt, m_catalogue, run));
    AddTracks(1);
    m_settings.m_strOutputDir = "not/absolute/";
    EXPECT_FALSE(m_fileList.Encode(m_prompt, m_catalogue, run));
    m_settings.m_strOutputDir = m_dir.Path();
    m_tracks.At(0).m_bChecked = false;
    EXPECT_FALSE(m_fileList.Encode(m_prompt, m_catalogue, run));
    m_tracks.At(0).m_bChecked = true;
    EXPECT_TRUE(m_fileList.Encode(m_prompt, m_catalogue, run));
    EXPECT_EQ(runs, 1);
    // The names follow the destination set last.
    EXPECT_EQ(m_tracks.At(0).m_strMp3Path, m_dir.Path() + "01 - t0.mp3");

    // Beside the WAV files the destination does not matter, but the playlist's folder does.
    m_settings.m_bSameDir = 1;
    m_settings.m_strOutputDir = "not/absolute/";
    m_tracks.At(0).m_strWavDir = m_dir.Path() + "gone/";
    m_prompt.m_bAnswer = false;
    EXPECT_FALSE(m_fileList.Encode(m_prompt, m_catalogue, run));
    ASSERT_EQ(m_prompt.Entries().size(), 2u);
    EXPECT_TRUE(m_prompt.Entries()[1].m_bQuestion);
    EXPECT_NE(m_prompt.Entries()[1].m_strText.find(m_dir.Path() + "gone/"), std::string::npos);
    m_settings.m_nPlaylistType = 0;
    EXPECT_TRUE(m_fileList.Encode(m_prompt, m_catalogue, run));
    EXPECT_EQ(runs, 2);
}

TEST_F(FileListTest, TotalsCountCheckedTracksAndMinutesPastAnHour) {
    AddTracks(6);
    for (size_t i = 0; i < 5; ++i)
        m_tracks.At(i).m_nPlayTime = 61;
    m_tracks.At(5).m_nPlayTime = 6000;
    m_tracks.At(5).m_bChecked = false;
    EXPECT_EQ(m_fileList.TotalPlayTimeText(m_catalogue), "Play time: 05:05");
    EXPECT_EQ(m_fileList.TotalSizeText(m_catalogue).rfind("For 5 files required: ", 0), 0u);
    m_fileList.InvertSelection();
    EXPECT_EQ(m_fileList.TotalPlayTimeText(m_catalogue), "Play time: 100:00");
}

namespace {
// The disc a CD ripped into these files had, as Debian's libdiscid computes it.
std::string LibdiscidFreedbId(const CAlbumInfo& album, std::vector<int>& offsets) {
    offsets = {static_cast<int>(album.GetLeadOut())};
    for (const CAlbumTrack& track : album.GetTracks())
        offsets.push_back(track.GetFrameOffset());
    DiscId* disc = discid_new();
    const int last = static_cast<int>(album.GetTrackCount());
    const std::string id = discid_put(disc, 1, last, offsets.data()) != 0
                               ? discid_get_freedb_id(disc)
                               : "refused by libdiscid";
    discid_free(disc);
    return id;
}
} // namespace

TEST_F(FileListTest, AlbumFromTheListIsTheRippedCdAndBackGivesTitlesAndNames) {
    AddTracks(3);
    // 3, 6 and 9 s: the CD's lead-out is 150 + 18 s, so its length is 20 s, not 18.
    for (size_t i = 0; i < 3; ++i) {
        m_tracks.At(i).m_nSampleFrames = 44100 * 3 * static_cast<unsigned>(i + 1);
        m_tracks.At(i).m_nSamplesPerSec = 44100;
    }
    std::vector<int> offsets;
    CAlbumInfo built = m_fileList.BuildAlbum();
    EXPECT_EQ(built.GetDiscLength(), 20u);
    EXPECT_EQ(built.GetDiscId(), "09001203");
    EXPECT_EQ(LibdiscidFreedbId(built, offsets), "09001203");

    // A real rip: lengths in CD frames from the samples, rounded to the nearest frame
    // (588 samples a frame at 44.1 kHz, so 293 rounds down and 294 up), not cut to
    // seconds. Other rates count the same way.
    const unsigned samples[] = {44100 * 200 + 293, 44100 * 250 + 294, 48000 * 321 + 1};
    for (size_t i = 0; i < 3; ++i)
        m_tracks.At(i).m_nSampleFrames = samples[i];
    m_tracks.At(2).m_nSamplesPerSec = 48000;
    built = m_fileList.BuildAlbum();
    ASSERT_EQ(built.GetTrackCount(), 3u);
    EXPECT_EQ(built.GetTracks()[1].GetFrameOffset(), 150 + 15000);
    EXPECT_EQ(built.GetTracks()[2].GetFrameOffset(), 150 + 15000 + 18751);
    EXPECT_EQ(built.GetLeadOut(), 150 + 15000 + 18751 + 24075);
    EXPECT_EQ(built.GetTracks()[2].GetLengthFrames(), 24075);
    EXPECT_EQ(built.GetDiscId(), LibdiscidFreedbId(built, offsets));

    // A tiny sample rate makes huge frame counts: positions never wrap or turn negative.
    m_tracks.At(0).m_nSampleFrames = m_tracks.At(1).m_nSampleFrames = 4000000000u;
    m_tracks.At(0).m_nSamplesPerSec = m_tracks.At(1).m_nSamplesPerSec = 8;
    built = m_fileList.BuildAlbum();
    EXPECT_EQ(built.GetTracks()[1].GetFrameOffset(), INT32_MAX);
    EXPECT_EQ(built.GetTracks()[2].GetFrameOffset(), INT32_MAX);
    EXPECT_EQ(built.GetLeadOut(), INT32_MAX);

    CAlbumInfo chosen;
    chosen.SetArtist("Band");
    chosen.SetTitle("Record");
    chosen.SetYear("1999");
    chosen.GetTrack(0).SetTitle("First Song");
    chosen.GetTrack(1).SetTitle("AC/DC");
    m_settings.m_nGenre = 5;
    m_fileList.ApplyAlbum(chosen);
    EXPECT_EQ(m_settings.m_strArtist, "Band");
    EXPECT_EQ(m_settings.m_strAlbum, "Record");
    EXPECT_EQ(m_settings.m_strYear, "1999");
    EXPECT_EQ(m_tracks.At(0).m_strTitle, "First Song");
    EXPECT_EQ(m_tracks.At(1).m_strAlbum, "Record");
    EXPECT_EQ(m_tracks.At(1).m_strMp3Path, m_settings.m_strOutputDir + "02 - AC-DC.mp3");
    EXPECT_EQ(m_tracks.At(2).m_strTitle, "");
    // The genre stays what the tracks had; the album does not carry one here.
    EXPECT_EQ(m_tracks.At(2).m_nGenre, 0u);
}

TEST_F(FileListTest, SubfoldersCountForTheFolderRuleAndForDropsOnlyWhenAsked) {
    const std::string wave = CWaveWriter::PcmTone(1, 8000, 0.1);
    m_dir.WriteFile("top/b.wav", wave);
    m_dir.WriteFile("top/a/z.wav", wave);
    m_dir.WriteFile("top/a/deeper/y.wav", wave);
    m_dir.WriteFile("only-sub/sub/x.wav", wave);
    // A link back up must not make the walk endless.
    fs::create_directory_symlink(m_dir.Path() + "top", m_dir.Path() + "top/a/loop");
    const auto titles = [this] {
        std::vector<std::string> result;
        for (size_t i = 0; i < m_tracks.Count(); ++i)
            result.push_back(m_tracks.At(i).m_strFileTitle);
        return result;
    };
    AddTracks(1);

    m_fileList.SelectSourceFolder(m_dir.Path() + "only-sub");
    EXPECT_EQ(titles(), std::vector<std::string>{"t0"});
    m_fileList.SelectSourceFolder(m_dir.Path() + "only-sub", true);
    EXPECT_EQ(titles(), std::vector<std::string>{"x"});
    // A folder's own files first, then each subfolder's in name order.
    m_fileList.SelectSourceFolder(m_dir.Path() + "top", true);
    EXPECT_EQ(titles(), (std::vector<std::string>{"b", "z", "y"}));
    EXPECT_EQ(m_settings.m_strInputDir, m_dir.Path() + "top/");

    m_fileList.DeleteAllItems();
    const std::string notes = m_dir.WriteFile("notes.txt", "x");
    m_fileList.AddPaths({m_dir.Path() + "top", m_dir.Path() + "only-sub/sub/x.wav", notes}, false);
    EXPECT_EQ(titles(), (std::vector<std::string>{"b", "x"}));
    ASSERT_EQ(m_fileList.SkippedFiles().size(), 1u);
    EXPECT_EQ(m_fileList.SkippedFiles()[0].m_strPath, notes);
}
