#pragma once

#include "encoding/EncodeCounters.h"
#include "encoding/EncoderLibrary.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CAppSettings;
class CTrackItem;
class CTrackEncoder;
class CTrackList;
class IEncodeObserver;
class IUserPrompt;

// One encode run over the checked tracks of the list. It has WorkerCount() workers
// ("EncodeJobs": one per online core by default, 1 for the run one track at a time),
// each taking the next checked track in list order and encoding it with an encoder stream
// of its own (CTrackEncoder), so every MP3 file is byte for byte what a one-job run
// writes. Playlist entries are written in list order: a finished track's entry waits
// for the tracks before it, so a stop leaves the entries of the tracks before the first
// unfinished one. A loop failure stops new tracks and lets running ones end; Stop ends all.
// "Delete wav after encode" deletes a WAV (to the trash unless "DeleteToTrash" is 0)
// only when its MP3 file is proven whole; otherwise the track's m_bWavKept says so.
//
// For a window: Start() runs the workers on threads of their own and returns at once.
// The window thread may then read WorkerEnded(), WorkerCount() and Counters(n) at any time
// (the counters records are atomic and stay in place for the run's life) and the track
// flags the workers write (m_nPercent, m_bEncoding, m_bEncoded, m_bChecked,
// m_bWavPresent); everything else reaches it through IEncodeObserver, whose calls name
// the worker, and IUserPrompt, both called on the workers' threads. The list does not
// change while the run works.
class CEncodeRun {
public:
    CEncodeRun(CTrackList& tracks, const CAppSettings& settings, CEncoderLibrary& library,
               IEncodeObserver& observer, IUserPrompt& prompt);
    ~CEncodeRun();
    CEncodeRun(const CEncodeRun&) = delete;
    CEncodeRun& operator=(const CEncodeRun&) = delete;

    // Starts the run with a thread priority from -2 (low) to 2 (highest) for its workers;
    // false, and nothing done, while the run is already working.
    bool Start(int nThreadPriority);
    // The Stop command: each worker ends after its current read, removing its partial MP3.
    void RequestStop() { m_bStopRequested = true; }
    // True once every worker has ended (set before the observer's OnRunEnded).
    bool WorkerEnded() const { return m_bWorkerEnded; }
    // Waits for the run to end.
    void Join();

    // The whole run on the calling thread, which is worker 0, with the other workers on
    // threads of their own; returns when all have ended.
    void RunEncodeWorker();

    // Workers of this run: "EncodeJobs" (0 for the online cores), at most one per
    // checked track and at least one. Fixed when the run is made.
    unsigned WorkerCount() const { return static_cast<unsigned>(m_counters.size()); }
    const SEncodeCounters& Counters(unsigned nWorker = 0) const { return *m_counters[nWorker]; }

    // Estimated MP3 frames of a track.
    static std::uint32_t EstimateFrames(unsigned nInputRate, unsigned nOutputRate,
                                        unsigned nSampleFrames, unsigned nFrameSize);
    // The workers "EncodeJobs" asks for: `nJobs`, or the online cores for 0; at most 64.
    static unsigned JobsFor(unsigned nJobs);

    // The run's playlist, and the entries of encoded tracks it is missing; read after the run.
    const std::string& PlaylistPath() const { return m_strPlaylistPath; }
    unsigned PlaylistFailures() const { return m_nPlaylistFailures; }

private:
    // Where a track of the list stands in this run, for the order of the playlist.
    enum class ESlot : std::uint8_t { NotInRun, Waiting, Encoding, Listed, Unlisted, Unfinished };

    void RunWorker(unsigned nWorker);
    bool TakeNextTrack(size_t& nPosition);
    void EncodeTrack(size_t nPosition, unsigned nWorker);
    void FinishSlot(size_t nPosition, ESlot slot);
    void ShowLoopFailure(const CTrackItem& track, const std::string& strReason);
    void DeleteWavOfWholeMp3(CTrackItem& track, const CTrackEncoder& encoder);

    CTrackList& m_tracks;
    const CAppSettings& m_settings;
    CEncoderLibrary& m_library;
    IEncodeObserver& m_observer;
    IUserPrompt& m_prompt;
    // One record per worker, each written by its worker alone.
    std::vector<std::unique_ptr<SEncodeCounters>> m_counters;
    std::atomic<bool> m_bStopRequested{false};
    std::atomic<bool> m_bWorkerEnded{false};
    // Set by a loop failure: no worker takes another track.
    std::atomic<bool> m_bNoNewTracks{false};
    int m_nThreadPriority = 0;
    bool m_bApplyPriority = false;

    // Guards the order of the run: the next track to take, the slots and the playlist.
    std::mutex m_orderMutex;
    size_t m_nNextTrack = 0;
    std::vector<ESlot> m_slots;
    size_t m_nFirstUnlisted = 0;
    // Where this run's playlist goes, and how many entries could not be written to it.
    std::string m_strPlaylistPath;
    std::atomic<unsigned> m_nPlaylistFailures{0};
    std::thread m_worker;
};
