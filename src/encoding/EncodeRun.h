#pragma once

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

// Counters of the track being encoded; written by the worker, read by the window.
struct SEncodeCounters {
    std::atomic<std::uint32_t> m_nBytesRead{0};
    std::atomic<std::uint32_t> m_nCurrentFrame{0};
    std::atomic<std::uint32_t> m_nTotalFrames{0};
    std::atomic<std::uint32_t> m_nFrameSize{0};
    std::atomic<std::uint32_t> m_nOutputRate{0};
    std::atomic<std::uint32_t> m_nFileSize{0};
};

// One encode run over the checked tracks of the list, on a worker thread of its own:
// per track an encoder stream, the WAV samples from byte 44 in the encoder's channel
// layout, the MP3 file, its ID3v1 tag, the VBR header, the playlist entry and, on request,
// the deletion of the WAV file. The list does not change while the run works.
class CEncodeRun {
public:
    CEncodeRun(CTrackList& tracks, const CAppSettings& settings, CEncoderLibrary& library,
               IEncodeObserver& observer, IUserPrompt& prompt);
    ~CEncodeRun();
    CEncodeRun(const CEncodeRun&) = delete;
    CEncodeRun& operator=(const CEncodeRun&) = delete;

    // Starts the worker with a thread priority from -2 (low) to 2 (highest).
    void Start(int nThreadPriority);
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
    enum class EFileResult { Encoded, Skipped, RunEnds };
    struct SChunkJob;

    bool EncodeTrack(CTrackItem& track);
    EFileResult EncodeFile(CTrackItem& track);
    bool RunChunkLoop(CTrackItem& track, SChunkJob& job);
    // Reads up to `nFrames` frames as 16-bit values; answers the frames read.
    std::uint32_t ReadFrames(SChunkJob& job, std::int16_t* pOut, std::uint32_t nFrames);
    bool CopyLoop(SChunkJob& job);
    bool DownmixLoop(SChunkJob& job);
    bool DuplicateLoop(SChunkJob& job);
    // `nDoneBefore` counts the frames encoded before these values.
    bool EncodeAndWrite(SChunkJob& job, const std::int16_t* pValues, std::uint32_t nValues,
                        std::uint64_t nDoneBefore);
    bool FinishStream(SChunkJob& job);
    void WritePlaylistEntry(const CTrackItem& track);
    void DeleteWav(CTrackItem& track);
    bool StopRequested(SChunkJob& job);

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
