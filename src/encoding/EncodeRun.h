#pragma once

#include "encoding/EncodeCounters.h"
#include "encoding/EncoderLibrary.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

class CAppSettings;
class CTrackItem;
class CTrackList;
class IEncodeObserver;
class IUserPrompt;

// One encode run over the checked tracks of the list, on a worker thread of its own:
// per track the MP3 file (CTrackEncoder), the playlist entry and, on request, the
// deletion of the WAV file. A loop failure ends the run with a message naming the track
// and the reason. The list does not change while the run works.
class CEncodeRun {
public:
    CEncodeRun(CTrackList& tracks, const CAppSettings& settings, CEncoderLibrary& library,
               IEncodeObserver& observer, IUserPrompt& prompt);
    ~CEncodeRun();
    CEncodeRun(const CEncodeRun&) = delete;
    CEncodeRun& operator=(const CEncodeRun&) = delete;

    // Starts the worker with a thread priority from -2 (low) to 2 (highest); false, and
    // nothing done, while the run is already working.
    bool Start(int nThreadPriority);
    // The Stop command: the worker ends after its current read, removing the partial MP3.
    void RequestStop() { m_bStopRequested = true; }
    bool WorkerEnded() const { return m_bWorkerEnded; }
    // Waits for the worker to end.
    void Join();

    // The worker's body; public so that a caller may run it on its own thread.
    void RunEncodeWorker();

    // Estimated MP3 frames of a track.
    static std::uint32_t EstimateFrames(unsigned nInputRate, unsigned nOutputRate,
                                        unsigned nSampleFrames, unsigned nFrameSize);

    const SEncodeCounters& Counters() const { return m_counters; }
    // The run's playlist, and the entries of encoded tracks it is missing; read after the run.
    const std::string& PlaylistPath() const { return m_strPlaylistPath; }
    unsigned PlaylistFailures() const { return m_nPlaylistFailures; }

private:
    bool EncodeTrack(CTrackItem& track);
    void ShowLoopFailure(const CTrackItem& track, const std::string& strReason);
    void WritePlaylistEntry(const CTrackItem& track);
    void DeleteWav(CTrackItem& track);

    CTrackList& m_tracks;
    const CAppSettings& m_settings;
    CEncoderLibrary& m_library;
    IEncodeObserver& m_observer;
    IUserPrompt& m_prompt;
    SEncodeCounters m_counters;
    std::atomic<bool> m_bStopRequested{false};
    std::atomic<bool> m_bWorkerEnded{false};
    // Where this run's playlist goes, and how many entries could not be written to it.
    std::string m_strPlaylistPath;
    std::atomic<unsigned> m_nPlaylistFailures{0};
    std::thread m_worker;
};
