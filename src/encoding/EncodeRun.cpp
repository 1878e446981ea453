#include "encoding/EncodeRun.h"

#include "encoding/AppSettings.h"
#include "encoding/EncodeObserver.h"
#include "encoding/PlaylistWriter.h"
#include "encoding/TrackEncoder.h"
#include "encoding/TrackItem.h"
#include "filelist/TrackList.h"
#include "platform/Text.h"
#include "platform/ThreadPriority.h"
#include "platform/UserPrompt.h"

#include <cstdio>

CEncodeRun::CEncodeRun(CTrackList& tracks, const CAppSettings& settings, CEncoderLibrary& library,
                       IEncodeObserver& observer, IUserPrompt& prompt)
    : m_tracks(tracks), m_settings(settings), m_library(library), m_observer(observer),
      m_prompt(prompt) {}

CEncodeRun::~CEncodeRun() {
    RequestStop();
    Join();
}

bool CEncodeRun::Start(int nThreadPriority) {
    if (m_worker.joinable() && !m_bWorkerEnded)
        return false;
    Join();
    m_bStopRequested = false;
    m_bWorkerEnded = false;
    m_worker = std::thread([this, nThreadPriority] {
        CThreadPriority::ApplyToCurrentThread(nThreadPriority);
        RunEncodeWorker();
    });
    return true;
}

void CEncodeRun::Join() {
    if (m_worker.joinable())
        m_worker.join();
}

void CEncodeRun::RunEncodeWorker() {
    m_strPlaylistPath = CPlaylistWriter::PlaylistPath(
        m_settings, m_tracks.Empty() ? std::string() : m_tracks.At(0).m_strWavDir);
    m_nPlaylistFailures = 0;
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        CTrackItem& track = m_tracks.At(i);
        if (!track.m_bChecked || !track.m_bWavPresent)
            continue;
        m_observer.OnUpdateCounters();
        if (!EncodeTrack(track))
            break;
    }
    m_bWorkerEnded = true;
    m_observer.OnRunEnded();
}

bool CEncodeRun::EncodeTrack(CTrackItem& track) {
    track.m_bEncoding = true;
    m_observer.OnTrackStarted(track);

    const std::uint32_t frameSize = track.m_nOutSampleRate > 24000 ? 1152 : 576;
    m_counters.m_nBytesRead = 0;
    m_counters.m_nCurrentFrame = 0;
    m_counters.m_nFileSize = track.m_nWavSize;
    m_counters.m_nFrameSize = frameSize;
    m_counters.m_nOutputRate = track.m_nOutSampleRate;
    m_counters.m_nTotalFrames = EstimateFrames(track.m_nSamplesPerSec, track.m_nOutSampleRate,
                                               track.m_nSampleFrames, frameSize);

    CTrackEncoder encoder(m_library, m_observer, m_prompt, m_bStopRequested, m_counters);
    const CTrackEncoder::EResult result = encoder.EncodeFile(track);
    if (result == CTrackEncoder::EResult::Failed || result == CTrackEncoder::EResult::Stopped) {
        // The track keeps its check mark, so that a later run takes it up again.
        track.m_bEncoding = false;
        if (result == CTrackEncoder::EResult::Failed)
            ShowLoopFailure(track, encoder.FailureReason());
        return false;
    }
    if (result == CTrackEncoder::EResult::Encoded) {
        WritePlaylistEntry(track);
        if (track.m_bDeleteWav)
            DeleteWav(track);
    }
    track.m_bChecked = false;
    track.m_bEncoding = false;
    m_observer.OnTrackFinished(track);
    return true;
}

void CEncodeRun::ShowLoopFailure(const CTrackItem& track, const std::string& strReason) {
    m_prompt.ShowMessage(CText::Format("Encoding stopped at track %u, %s:\n\n%s",
                                       track.m_nIndex + 1, track.m_strWavPath.c_str(),
                                       strReason.c_str()),
                         EPromptIcon::Error);
}

void CEncodeRun::WritePlaylistEntry(const CTrackItem& track) {
    if (CPlaylistWriter::WritePlaylistEntry(track, m_settings, m_strPlaylistPath))
        return;
    // Said once per run: a playlist that cannot be written fails alike for every track.
    if (m_nPlaylistFailures++ == 0) {
        m_prompt.ShowMessage("Unable to add the file\n\n" + track.m_strMp3Path +
                                 "\n\nto the playlist\n\n" + m_strPlaylistPath,
                             EPromptIcon::Exclamation);
    }
}

void CEncodeRun::DeleteWav(CTrackItem& track) {
    if (std::remove(track.m_strWavPath.c_str()) == 0) {
        track.m_bWavPresent = false;
        return;
    }
    m_prompt.ShowMessage("Unable to delete file: " + track.m_strWavPath, EPromptIcon::Exclamation);
}

std::uint32_t CEncodeRun::EstimateFrames(unsigned nInputRate, unsigned nOutputRate,
                                         unsigned nSampleFrames, unsigned nFrameSize) {
    if (nFrameSize == 0)
        return 2;
    const std::int64_t frames = nSampleFrames;
    const std::int64_t size = nFrameSize;
    if (nInputRate < 25000 && nOutputRate > 25000)
        return static_cast<std::uint32_t>(2 * frames / size + 2);
    if (nInputRate > 25000 && nOutputRate < 25000)
        return static_cast<std::uint32_t>(frames / (2 * size) + 2);
    return static_cast<std::uint32_t>(frames / size + 2);
}
