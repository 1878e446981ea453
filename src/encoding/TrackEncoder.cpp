#include "encoding/TrackEncoder.h"

#include "encoding/EncodeCounters.h"
#include "encoding/EncodeObserver.h"
#include "encoding/Id3v1Tag.h"
#include "encoding/SampleConverter.h"
#include "encoding/TrackItem.h"
#include "platform/PartialFile.h"
#include "platform/RegularFile.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "platform/UserPrompt.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <new>
#include <vector>

// WAV samples are little-endian and go to the encoder as they are read.
static_assert(std::endian::native == std::endian::little);

namespace {
constexpr std::uint32_t kMaxPercentWhileEncoding = 95;
constexpr std::uint16_t kFloatFormatTag = 3;
// Far beyond what any encoder asks for (libmp3lame's chunk holds 9216 values): a library
// that reports more is broken, and its buffers are not allocated.
constexpr std::uint32_t kMaxChunkValues = 1u << 22;
constexpr std::uint32_t kMaxOutputBytes = 1u << 24;

enum class ELoop { None, Copy, Downmix, Duplicate };

// Every sample width goes into the loops as 16-bit values.
ELoop ChooseLoop(const CTrackItem& track) {
    const bool mono = track.m_nChannelMode == 0;
    if (track.m_nChannels == 2)
        return mono ? ELoop::Downmix : ELoop::Copy;
    if (track.m_nChannels == 1)
        return mono ? ELoop::Copy : ELoop::Duplicate;
    return ELoop::None;
}

void CloseFile(std::FILE*& file) {
    if (file != nullptr)
        std::fclose(file);
    file = nullptr;
}
} // namespace

// What one track's chunk loop works with.
struct CTrackEncoder::SChunkJob {
    explicit SChunkJob(CTrackItem& track)
        : m_track(track),
          m_converter(track.m_wBitsPerSample, track.m_wFormatTag == kFloatFormatTag) {}
    ~SChunkJob() { CloseFile(m_pWav); }

    CTrackItem& m_track;
    BladeEnc::StreamHandle m_hStream = 0;
    bool m_bStreamOpen = false;
    std::uint32_t m_nSamplesPerChunk = 0;
    std::uint32_t m_nOutputBufferSize = 0;
    std::FILE* m_pWav = nullptr;
    CPartialFile m_mp3;
    std::vector<std::uint8_t> m_output;
    // The file's samples before they become 16-bit, when they are not 16-bit already.
    CSampleConverter m_converter;
    std::vector<std::uint8_t> m_raw;
    // Why the loop failed; empty while it has not, and when only a stop ended it.
    std::string m_strFailure;

    // How many frames the next pass asks for: at most `nLimit`, and no more than remain.
    std::uint32_t PieceSize(std::uint32_t nLimit, std::uint64_t nDone) const {
        return static_cast<std::uint32_t>(
            std::min<std::uint64_t>(nLimit, m_track.m_nSampleFrames - nDone));
    }
    bool Fail(std::string strReason) {
        m_strFailure = std::move(strReason);
        m_track.m_nPercent = 0;
        return false;
    }
};

CTrackEncoder::CTrackEncoder(CEncoderLibrary& library, IEncodeObserver& observer,
                             IUserPrompt& prompt, const std::atomic<bool>& bStopRequested,
                             SEncodeCounters& counters, unsigned nWorker)
    : m_library(library), m_observer(observer), m_prompt(prompt), m_bStopRequested(bStopRequested),
      m_counters(counters), m_nWorker(nWorker) {}

CTrackEncoder::EResult CTrackEncoder::EncodeFile(CTrackItem& track) {
    m_strFailure.clear();
    m_nBytesWritten = 0;
    m_bHeaderWritten = false;
    SChunkJob job(track);
    const CEncoderLibrary::Config config =
        CEncoderLibrary::BuildEncoderConfig(track, track.m_nSamplesPerSec);
    if (m_library.m_pInitStream(config.data(), &job.m_nSamplesPerChunk, &job.m_nOutputBufferSize,
                                &job.m_hStream) != 0) {
        m_prompt.ShowMessage("Unable to initialize Lame encoder.", EPromptIcon::Error);
        return EResult::Skipped;
    }
    job.m_bStreamOpen = true;
    m_observer.OnTrackInfo(track, config, m_nWorker);
    const EResult result = OpenAndEncode(job);
    if (job.m_bStreamOpen)
        m_library.m_pCloseStream(job.m_hStream);
    return result;
}

CTrackEncoder::EResult CTrackEncoder::OpenAndEncode(SChunkJob& job) {
    CTrackItem& track = job.m_track;
    // A WAV that became a pipe or a device since it was added is refused, never waited on.
    job.m_pWav = CRegularFile::OpenForReading(track.m_strWavPath);
    if (job.m_pWav == nullptr ||
        std::fseek(job.m_pWav, static_cast<long>(track.m_nDataOffset), SEEK_SET) != 0) {
        m_prompt.ShowMessage("Unable to open wav file for read.\n\nFile: " + track.m_strWavPath +
                                 "\n\nThis audio file will be skipped during encode process.",
                             EPromptIcon::Exclamation);
        return EResult::Skipped;
    }
    if (!job.m_mp3.Create(track.m_strMp3Path)) {
        m_prompt.ShowMessage("Unable to create an output file for encoded audio stream.\n\nFile: " +
                                 track.m_strMp3Path,
                             EPromptIcon::Error);
        return EResult::Skipped;
    }
    bool encoded = false;
    try {
        encoded = RunChunkLoop(job);
    } catch (const std::bad_alloc&) {
        job.Fail("out of memory");
    }
    CloseFile(job.m_pWav);
    if (encoded)
        return Finish(job);
    if (job.m_strFailure.empty())
        return EResult::Stopped;
    m_strFailure = job.m_strFailure;
    return EResult::Failed;
}

// The tag, the closed file, its Xing/Info frame, and the file under its own name.
CTrackEncoder::EResult CTrackEncoder::Finish(SChunkJob& job) {
    CTrackItem& track = job.m_track;
    const bool tagged = !track.m_bUseId3Tag || CId3v1Tag::WriteId3v1Tag(track, job.m_mp3.Stream());
    if (track.m_bUseId3Tag)
        m_nBytesWritten += sizeof(CId3v1Tag::Bytes);
    if (!tagged || !job.m_mp3.Close()) {
        m_prompt.ShowMessage("Unable to write the output file for encoded audio stream.\n\nFile: " +
                                 track.m_strMp3Path + "\n\n" + CSystemError::Text(errno),
                             EPromptIcon::Error);
        return EResult::Skipped;
    }
    m_bHeaderWritten = m_library.m_pWriteVbrHeader(job.m_mp3.TemporaryPath().c_str()) == 0;
    if (!m_bHeaderWritten) {
        m_prompt.ShowMessage(
            CText::Format("Error: Unable to write VBR Header into the following file: \n\n%s",
                          track.m_strMp3Path.c_str()),
            EPromptIcon::Error);
    }
    if (!job.m_mp3.Commit()) {
        m_prompt.ShowMessage("Unable to write the output file for encoded audio stream.\n\nFile: " +
                                 track.m_strMp3Path + "\n\n" + CSystemError::Text(errno),
                             EPromptIcon::Error);
        return EResult::Skipped;
    }
    track.m_bEncoded = true;
    return EResult::Encoded;
}

bool CTrackEncoder::RunChunkLoop(SChunkJob& job) {
    if (job.m_nSamplesPerChunk > kMaxChunkValues || job.m_nOutputBufferSize > kMaxOutputBytes)
        return job.Fail(CText::Format("the encoder asks for chunks of %u values and %u bytes",
                                      job.m_nSamplesPerChunk, job.m_nOutputBufferSize));
    job.m_output.resize(job.m_nOutputBufferSize);
    bool done = false;
    switch (ChooseLoop(job.m_track)) {
    case ELoop::Copy:
        done = CopyLoop(job);
        break;
    case ELoop::Downmix:
        done = DownmixLoop(job);
        break;
    case ELoop::Duplicate:
        done = DuplicateLoop(job);
        break;
    case ELoop::None:
        return job.Fail(CText::Format("%u channels cannot be encoded", job.m_track.m_nChannels));
    }
    return done && FinishStream(job);
}

bool CTrackEncoder::StopRequested(SChunkJob& job) {
    if (!m_bStopRequested)
        return false;
    job.m_track.m_nPercent = 0;
    return true;
}

std::uint32_t CTrackEncoder::ReadFrames(SChunkJob& job, std::int16_t* pOut, std::uint32_t nFrames) {
    const std::uint32_t nChannels = job.m_track.m_nChannels;
    const std::uint32_t nFrameBytes = job.m_converter.BytesPerValue() * nChannels;
    const bool bPassThrough = job.m_converter.IsPassThrough();
    if (!bPassThrough)
        job.m_raw.resize(static_cast<size_t>(nFrames) * nFrameBytes);
    void* pTarget = bPassThrough ? static_cast<void*>(pOut) : job.m_raw.data();
    const auto read =
        static_cast<std::uint32_t>(std::fread(pTarget, nFrameBytes, nFrames, job.m_pWav));
    m_counters.m_nBytesRead += read * nFrameBytes;
    // A file that ends early (it shrank since it was added) ends the sound; one that
    // cannot be read fails.
    if (read < nFrames && std::ferror(job.m_pWav) != 0)
        job.Fail("reading the WAV file: " + CSystemError::Text(errno));
    if (!bPassThrough)
        job.m_converter.Convert(job.m_raw.data(), static_cast<size_t>(read) * nChannels, pOut);
    return read;
}

// The file's layout is the encoder's: frames go through as they are.
bool CTrackEncoder::CopyLoop(SChunkJob& job) {
    const std::uint32_t nChannels = job.m_track.m_nChannels;
    const std::uint32_t framesPerChunk = job.m_nSamplesPerChunk / nChannels;
    std::vector<std::int16_t> input(static_cast<size_t>(framesPerChunk) * nChannels);
    for (std::uint64_t done = 0; done < job.m_track.m_nSampleFrames;) {
        const std::uint32_t wanted = job.PieceSize(framesPerChunk, done);
        const std::uint32_t read = ReadFrames(job, input.data(), wanted);
        if (StopRequested(job))
            return false;
        if (read == 0)
            return job.m_strFailure.empty();
        if (!EncodeAndWrite(job, input.data(), read * nChannels, done))
            return false;
        if (read < wanted)
            return job.m_strFailure.empty();
        done += wanted;
    }
    return true;
}

bool CTrackEncoder::DownmixLoop(SChunkJob& job) {
    std::vector<std::int16_t> input(static_cast<size_t>(job.m_nSamplesPerChunk) * 2);
    for (std::uint64_t done = 0; done < job.m_track.m_nSampleFrames;) {
        const std::uint32_t frames =
            ReadFrames(job, input.data(), job.PieceSize(job.m_nSamplesPerChunk, done));
        if (StopRequested(job))
            return false;
        if (frames == 0)
            return job.m_strFailure.empty();
        for (std::uint32_t i = 0; i < frames; ++i) {
            const int left = input[2 * i];
            const int right = input[2 * i + 1];
            input[i] = static_cast<std::int16_t>((left + right) / 2);
        }
        if (StopRequested(job))
            return false;
        if (!EncodeAndWrite(job, input.data(), frames, done))
            return false;
        done += frames;
    }
    return true;
}

bool CTrackEncoder::DuplicateLoop(SChunkJob& job) {
    const std::uint32_t half = job.m_nSamplesPerChunk / 2;
    std::vector<std::int16_t> input(half);
    std::vector<std::int16_t> stereo(job.m_nSamplesPerChunk);
    for (std::uint64_t done = 0; done < job.m_track.m_nSampleFrames;) {
        const std::uint32_t read = ReadFrames(job, input.data(), job.PieceSize(half, done));
        if (StopRequested(job))
            return false;
        if (read == 0)
            return job.m_strFailure.empty();
        for (std::uint32_t i = 0; i < read; ++i) {
            stereo[2 * i] = input[i];
            stereo[2 * i + 1] = input[i];
        }
        if (StopRequested(job))
            return false;
        if (!EncodeAndWrite(job, stereo.data(), 2 * read, done))
            return false;
        done += read;
    }
    return true;
}

bool CTrackEncoder::EncodeAndWrite(SChunkJob& job, const std::int16_t* pValues,
                                   std::uint32_t nValues, std::uint64_t nDoneBefore) {
    std::uint32_t bytes = 0;
    if (m_library.m_pEncodeChunk(job.m_hStream, nValues, pValues, job.m_output.data(), &bytes) != 0)
        return job.Fail("the encoder reported an error");
    if (!WriteOutput(job, bytes))
        return false;
    const auto percent = static_cast<std::uint32_t>(kMaxPercentWhileEncoding * nDoneBefore /
                                                    job.m_track.m_nSampleFrames);
    job.m_track.m_nPercent = percent;
    m_counters.m_nCurrentFrame = static_cast<std::uint32_t>(static_cast<std::uint64_t>(percent) *
                                                            m_counters.m_nTotalFrames / 100);
    return true;
}

// Appends `nBytes` of the output buffer to the MP3 file.
bool CTrackEncoder::WriteOutput(SChunkJob& job, std::uint32_t nBytes) {
    if (nBytes > job.m_output.size())
        return job.Fail("the encoder wrote past its output buffer");
    if (std::fwrite(job.m_output.data(), 1, nBytes, job.m_mp3.Stream()) != nBytes)
        return job.Fail(CSystemError::Text(errno));
    m_nBytesWritten += nBytes;
    return true;
}

bool CTrackEncoder::FinishStream(SChunkJob& job) {
    std::uint32_t bytes = 0;
    if (m_library.m_pDeinitStream(job.m_hStream, job.m_output.data(), &bytes) != 0)
        return job.Fail("the encoder reported an error");
    if (!WriteOutput(job, bytes))
        return false;
    m_library.m_pCloseStream(job.m_hStream);
    job.m_bStreamOpen = false;
    return true;
}
