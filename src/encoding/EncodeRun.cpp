#include "encoding/EncodeRun.h"

#include "encoding/AppSettings.h"
#include "encoding/EncodeObserver.h"
#include "encoding/Mp3FrameWalk.h"
#include "encoding/PlaylistWriter.h"
#include "encoding/TrackEncoder.h"
#include "encoding/TrackItem.h"
#include "filelist/TrackList.h"
#include "platform/Text.h"
#include "platform/ThreadPriority.h"
#include "platform/Trash.h"
#include "platform/UserPrompt.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {
bool InRun(const CTrackItem& track) {
    return track.m_bChecked && track.m_bWavPresent;
}

// Whether the MP3 file of `track` is proven whole, so that its WAV may go: its Xing/Info
// frame written, its size the bytes written, and its frames, walked header by header, as
// many as that frame counts. Otherwise `strReason` says what is wrong.
bool Mp3ProvenWhole(const CTrackItem& track, const CTrackEncoder& encoder, std::string& strReason) {
    if (!encoder.HeaderWritten()) {
        strReason = "its Xing/Info frame could not be written";
        return false;
    }
    struct stat status {};
    if (::stat(track.m_strMp3Path.c_str(), &status) != 0 ||
        static_cast<std::uint64_t>(status.st_size) != encoder.BytesWritten()) {
        strReason = CText::Format("it does not hold the %llu bytes written",
                                  static_cast<unsigned long long>(encoder.BytesWritten()));
        return false;
    }
    const SMp3Frames frames = CMp3FrameWalk::WalkFile(track.m_strMp3Path);
    if (!frames.m_bWhole)
        strReason = "its frames do not run to its end";
    else if (!frames.m_bHasCount)
        strReason = "it has no Xing/Info frame with a frame count";
    else if (frames.m_nFrames != frames.m_nCountedFrames + 1)
        strReason = CText::Format("it holds %u frames, its encoder wrote %u", frames.m_nFrames,
                                  frames.m_nCountedFrames + 1);
    else
        return true;
    return false;
}
} // namespace

CEncodeRun::CEncodeRun(CTrackList& tracks, const CAppSettings& settings, CEncoderLibrary& library,
                       IEncodeObserver& observer, IUserPrompt& prompt)
    : m_tracks(tracks), m_settings(settings), m_library(library), m_observer(observer),
      m_prompt(prompt) {
    size_t nInRun = 0;
    for (size_t i = 0; i < m_tracks.Count(); ++i)
        nInRun += InRun(m_tracks.At(i)) ? 1 : 0;
    const size_t nWorkers =
        std::max<size_t>(1, std::min<size_t>(JobsFor(m_settings.m_nEncodeJobs), nInRun));
    for (size_t i = 0; i < nWorkers; ++i)
        m_counters.push_back(std::make_unique<SEncodeCounters>());
}

CEncodeRun::~CEncodeRun() {
    RequestStop();
    Join();
}

unsigned CEncodeRun::JobsFor(unsigned nJobs) {
    // More workers than this only share the same cores; a damaged setting gets no more.
    constexpr unsigned kMaxJobs = 64;
    if (nJobs != 0)
        return std::min(nJobs, kMaxJobs);
    const long nCores = ::sysconf(_SC_NPROCESSORS_ONLN);
    return nCores > 0 ? std::min(static_cast<unsigned>(nCores), kMaxJobs) : 1;
}

bool CEncodeRun::Start(int nThreadPriority) {
    if (m_worker.joinable() && !m_bWorkerEnded)
        return false;
    Join();
    m_bStopRequested = false;
    m_bWorkerEnded = false;
    m_nThreadPriority = nThreadPriority;
    m_bApplyPriority = true;
    m_worker = std::thread([this] { RunEncodeWorker(); });
    return true;
}

void CEncodeRun::Join() {
    if (m_worker.joinable())
        m_worker.join();
}

void CEncodeRun::RunEncodeWorker() {
    m_bWorkerEnded = false;
    m_bNoNewTracks = false;
    m_nNextTrack = 0;
    m_nFirstUnlisted = 0;
    m_slots.assign(m_tracks.Count(), ESlot::NotInRun);
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        if (InRun(m_tracks.At(i)))
            m_slots[i] = ESlot::Waiting;
    }
    m_strPlaylistPath = CPlaylistWriter::PlaylistPath(
        m_settings, m_tracks.Empty() ? std::string() : m_tracks.At(0).m_strWavDir);
    m_nPlaylistFailures = 0;

    std::vector<std::thread> helpers;
    try {
        for (unsigned n = 1; n < WorkerCount(); ++n)
            helpers.emplace_back([this, n] { RunWorker(n); });
    } catch (const std::system_error&) {
        // A thread the system would not give: the workers that started share the list.
    }
    RunWorker(0);
    for (std::thread& helper : helpers)
        helper.join();
    m_bWorkerEnded = true;
    m_observer.OnRunEnded();
}

void CEncodeRun::RunWorker(unsigned nWorker) {
    if (m_bApplyPriority)
        CThreadPriority::ApplyToCurrentThread(m_nThreadPriority);
    for (size_t position = 0; TakeNextTrack(position);) {
        m_observer.OnUpdateCounters();
        EncodeTrack(position, nWorker);
    }
}

// The next track in list order that this run encodes, unless the run is ending.
bool CEncodeRun::TakeNextTrack(size_t& nPosition) {
    std::lock_guard lock(m_orderMutex);
    while (!m_bStopRequested && !m_bNoNewTracks && m_nNextTrack < m_slots.size()) {
        const size_t position = m_nNextTrack++;
        if (m_slots[position] == ESlot::Waiting) {
            m_slots[position] = ESlot::Encoding;
            nPosition = position;
            return true;
        }
    }
    return false;
}

void CEncodeRun::EncodeTrack(size_t nPosition, unsigned nWorker) {
    CTrackItem& track = m_tracks.At(nPosition);
    SEncodeCounters& counters = *m_counters[nWorker];
    track.m_bWavKept = false;
    track.m_bEncoding = true;
    m_observer.OnTrackStarted(track, nWorker);

    const std::uint32_t frameSize = track.m_nOutSampleRate > 24000 ? 1152 : 576;
    counters.m_nBytesRead = 0;
    counters.m_nCurrentFrame = 0;
    counters.m_nFileSize = track.m_nWavSize;
    counters.m_nFrameSize = frameSize;
    counters.m_nOutputRate = track.m_nOutSampleRate;
    counters.m_nTotalFrames = EstimateFrames(track.m_nSamplesPerSec, track.m_nOutSampleRate,
                                             track.m_nSampleFrames, frameSize);
    counters.m_nTrack = static_cast<int>(nPosition);

    CTrackEncoder encoder(m_library, m_observer, m_prompt, m_bStopRequested, counters, nWorker);
    const CTrackEncoder::EResult result = encoder.EncodeFile(track);
    ESlot slot = ESlot::Unlisted;
    switch (result) {
    case CTrackEncoder::EResult::Failed:
        m_bNoNewTracks = true;
        ShowLoopFailure(track, encoder.FailureReason());
        [[fallthrough]];
    case CTrackEncoder::EResult::Stopped:
        slot = ESlot::Unfinished;
        break;
    case CTrackEncoder::EResult::Encoded:
        if (track.m_bDeleteWav)
            DeleteWavOfWholeMp3(track, encoder);
        slot = ESlot::Listed;
        break;
    case CTrackEncoder::EResult::Skipped:
        break;
    }
    FinishSlot(nPosition, slot);
    // An unfinished track keeps its check mark, so that a later run takes it up again.
    if (slot != ESlot::Unfinished)
        track.m_bChecked = false;
    track.m_bEncoding = false;
    counters.m_nTrack = -1;
    m_observer.OnTrackFinished(track, nWorker);
}

// Records how the track at `nPosition` ended and writes the playlist entries that no
// longer wait for a track before them.
void CEncodeRun::FinishSlot(size_t nPosition, ESlot slot) {
    std::string strFailedEntry;
    {
        std::lock_guard lock(m_orderMutex);
        m_slots[nPosition] = slot;
        for (; m_nFirstUnlisted < m_slots.size(); ++m_nFirstUnlisted) {
            const ESlot next = m_slots[m_nFirstUnlisted];
            if (next != ESlot::NotInRun && next != ESlot::Unlisted && next != ESlot::Listed)
                break;
            const CTrackItem& track = m_tracks.At(m_nFirstUnlisted);
            if (next != ESlot::Listed ||
                CPlaylistWriter::WritePlaylistEntry(track, m_settings, m_strPlaylistPath))
                continue;
            // Said once per run: a playlist that cannot be written fails alike for every track.
            if (m_nPlaylistFailures++ == 0)
                strFailedEntry = track.m_strMp3Path;
        }
    }
    if (!strFailedEntry.empty()) {
        m_prompt.ShowMessage("Unable to add the file\n\n" + strFailedEntry +
                                 "\n\nto the playlist\n\n" + m_strPlaylistPath,
                             EPromptIcon::Exclamation);
    }
}

void CEncodeRun::ShowLoopFailure(const CTrackItem& track, const std::string& strReason) {
    m_prompt.ShowMessage(CText::Format("Encoding stopped at track %u, %s:\n\n%s",
                                       track.m_nIndex + 1, track.m_strWavPath.c_str(),
                                       strReason.c_str()),
                         EPromptIcon::Error);
}

void CEncodeRun::DeleteWavOfWholeMp3(CTrackItem& track, const CTrackEncoder& encoder) {
    std::string reason;
    if (!Mp3ProvenWhole(track, encoder, reason)) {
        track.m_strWavKeptReason = reason;
        track.m_bWavKept = true;
        return;
    }
    // To the trash, where the file manager can restore it, unless the settings say not.
    const bool deleted = m_settings.m_bDeleteToTrash
                             ? CTrash::MoveToTrash(track.m_strWavPath, reason)
                             : std::remove(track.m_strWavPath.c_str()) == 0;
    if (deleted) {
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
