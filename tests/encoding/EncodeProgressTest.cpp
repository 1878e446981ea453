#include "encoding/EncodeProgress.h"

#include "encoding/AppSettings.h"
#include "encoding/EncodeRun.h"
#include "encoding/TrackItem.h"
#include "filelist/TrackList.h"
#include "lang/StringCatalogue.h"

#include <gtest/gtest.h>

namespace {
void AddTrack(CTrackList& tracks, bool bEncoded, bool bChecked, bool bEncoding, unsigned nPercent) {
    auto track = std::make_unique<CTrackItem>(CAppSettings());
    track->m_bEncoded = bEncoded;
    track->m_bChecked = bChecked;
    track->m_bEncoding = bEncoding;
    track->m_nPercent = nPercent;
    tracks.Append(std::move(track));
}
} // namespace

TEST(EncodeProgressTest, OverallPercentCountsTracksEncodedInEarlierRuns) {
    const CStringCatalogue catalogue;
    CEncodeProgress progress(catalogue);
    CTrackList tracks;
    SEncodeCounters counters;
    AddTrack(tracks, false, true, false, 0);
    progress.UpdateEncodeCounters(tracks, counters, 100);
    EXPECT_EQ(progress.m_nOverallPercent, 0u);

    tracks.Clear();
    for (int i = 0; i < 3; ++i)
        AddTrack(tracks, true, false, false, 0);
    AddTrack(tracks, false, true, true, 50);
    progress.UpdateEncodeCounters(tracks, counters, 100);
    EXPECT_EQ(progress.m_nOverallPercent, 87u);
    EXPECT_EQ(progress.m_strOverallLine, "All files 87 %");

    // With two jobs, both tracks being encoded count: (50 + 30 + 300) / 5.
    AddTrack(tracks, false, true, true, 30);
    progress.UpdateEncodeCounters(tracks, counters, 100);
    EXPECT_EQ(progress.m_nOverallPercent, 76u);
}

TEST(EncodeProgressTest, FilePercentTimeAndSpeedFollowTheFrameCounters) {
    const CStringCatalogue catalogue;
    CEncodeProgress progress(catalogue);
    CTrackList tracks;
    SEncodeCounters counters;
    counters.m_nTotalFrames = 1;
    progress.UpdateEncodeCounters(tracks, counters, 10);
    EXPECT_EQ(progress.m_nFilePercent, 100);
    EXPECT_EQ(progress.m_fSpeed, 0.0f);
    EXPECT_EQ(progress.m_strEtaLine, "ETA:   0:00:00");

    // Frame 0 moves the start stamp along with the clock.
    counters.m_nTotalFrames = 101;
    progress.UpdateEncodeCounters(tracks, counters, 20);
    EXPECT_EQ(progress.m_fElapsed, 0.0f);

    // 25 frames in 10 s with 76 to go: 30.4 s left.
    counters.m_nCurrentFrame = 25;
    counters.m_nFrameSize = 1152;
    counters.m_nOutputRate = 44100;
    progress.UpdateEncodeCounters(tracks, counters, 30);
    EXPECT_EQ(progress.m_nFilePercent, 25);
    EXPECT_FLOAT_EQ(progress.m_fRemaining, 30.4f);
    EXPECT_FLOAT_EQ(progress.m_fSpeed, 76.0f * 1152 / (30.4f * 44100) * 0.5f);
    EXPECT_EQ(progress.m_strTimeLine, "Time/estimated:     0:00:10 /  0:00:30");
    EXPECT_EQ(progress.m_strFrameLine, "Frame/all:     25/   100");
}

TEST(EncodeProgressTest, FormatLinesDescribeTheEncoderRecord) {
    CAppSettings settings;
    settings.m_nChannelMode = 1;
    CTrackItem track(settings);
    CEncoderLibrary::Config config = CEncoderLibrary::BuildEncoderConfig(track, 48000);
    EXPECT_EQ(CEncodeProgress::Format1Text(config), "MPEG1 Output sampling frequency 44100 Hz");
    EXPECT_EQ(CEncodeProgress::Format2Text(config), "CBR Bitrate 160 kbps, joint stereo");
    track.m_bVbr = 1;
    track.m_nMpegVersion = 1;
    track.m_nOutSampleRate = 0;
    config = CEncoderLibrary::BuildEncoderConfig(track, 22050);
    EXPECT_EQ(CEncodeProgress::Format1Text(config), "MPEG2 Output sampling frequency 22050 Hz");
    EXPECT_EQ(CEncodeProgress::Format2Text(config), "VBR Bitrate 128 - 160 kbps, joint stereo");
}
