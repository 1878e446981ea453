#pragma once

#include "encoding/EncoderLibrary.h"

#include <atomic>
#include <cstdint>
#include <string>

class CTrackItem;
class IEncodeObserver;
class IUserPrompt;
struct SEncodeCounters;

// Encodes one track into its MP3 file: an encoder stream from the track's options, the
// WAV's `data` samples as 16-bit values in the encoder's channel layout, chunk by chunk,
// the ID3v1 tag and the Xing/Info frame. The file is written under a temporary name and
// takes its own name only when complete. Used by one encode worker, on its thread.
class CTrackEncoder {
public:
    enum class EResult {
        Encoded, // the MP3 file is complete under its name
        Skipped, // a message was shown; nothing is left under the MP3 name
        Failed,  // the chunk loop failed: the run ends; FailureReason() says why
        Stopped, // the stop flag ended the loop
    };

    // `counters` is the record of worker `nWorker`, which this encoder works for.
    CTrackEncoder(CEncoderLibrary& library, IEncodeObserver& observer, IUserPrompt& prompt,
                  const std::atomic<bool>& bStopRequested, SEncodeCounters& counters,
                  unsigned nWorker);

    EResult EncodeFile(CTrackItem& track);

    // After Failed: the reason, as "no space left on device".
    const std::string& FailureReason() const { return m_strFailure; }
    // After Encoded: the bytes written into the file, and whether the Xing/Info frame was.
    std::uint64_t BytesWritten() const { return m_nBytesWritten; }
    bool HeaderWritten() const { return m_bHeaderWritten; }

private:
    struct SChunkJob;

    EResult OpenAndEncode(SChunkJob& job);
    EResult Finish(SChunkJob& job);
    EResult Fail(SChunkJob& job, std::string strReason);
    bool RunChunkLoop(SChunkJob& job);
    std::uint32_t ReadFrames(SChunkJob& job, std::int16_t* pOut, std::uint32_t nFrames);
    bool CopyLoop(SChunkJob& job);
    bool DownmixLoop(SChunkJob& job);
    bool DuplicateLoop(SChunkJob& job);
    bool EncodeAndWrite(SChunkJob& job, const std::int16_t* pValues, std::uint32_t nValues,
                        std::uint64_t nDoneBefore);
    bool WriteOutput(SChunkJob& job, std::uint32_t nBytes);
    bool FinishStream(SChunkJob& job);
    bool StopRequested(SChunkJob& job);

    CEncoderLibrary& m_library;
    IEncodeObserver& m_observer;
    IUserPrompt& m_prompt;
    const std::atomic<bool>& m_bStopRequested;
    SEncodeCounters& m_counters;
    const unsigned m_nWorker;
    std::string m_strFailure;
    std::uint64_t m_nBytesWritten = 0;
    bool m_bHeaderWritten = false;
};
