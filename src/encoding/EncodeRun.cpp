#include "encoding/EncodeRun.h"

#include "encoding/AppSettings.h"
#include "encoding/EncodeObserver.h"
#include "encoding/Id3v1Tag.h"
#include "encoding/PlaylistWriter.h"
#include "encoding/SampleConverter.h"
#include "encoding/TrackItem.h"
#include "filelist/TrackList.h"
#include "platform/Text.h"
#include "platform/ThreadPriority.h"
#include "platform/UserPrompt.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <vector>

// WAV samples are little-endian and go to the encoder as they are read.
static_assert(std::endian::native == std::endian::little);

namespace {
constexpr std::uint32_t kMaxPercentWhileEncoding = 95;

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

constexpr std::uint16_t kFloatFormatTag = 3;

void CloseFile(std::FILE*& file) {
    if (file != nullptr)
        std::fclose(file);
    file = nullptr;
}
} // namespace

// What one track's chunk loop works with.
struct CEncodeRun::SChunkJob {
    explicit SChunkJob(CTrackItem& track)
        : m_track(track),
          m_converter(track.m_wBitsPerSample, track.m_wFormatTag == kFloatFormatTag) {}

    CTrackItem& m_track;
    BladeEnc::StreamHandle m_hStream = 0;
    bool m_bStreamOpen = false;
    std::uint32_t m_nSamplesPerChunk = 0;
    std::uint32_t m_nOutputBufferSize = 0;
    std::FILE* m_pWav = nullptr;
    std::FILE* m_pMp3 = nullptr;
    std::vector<std::uint8_t> m_output;
    // The file's samples before they become 16-bit, when they are not 16-bit already.
    CSampleConverter m_converter;
    std::vector<std::uint8_t> m_raw;

    // How many frames the next pass asks for: at most `nLimit`, and no more than remain.
    std::uint32_t PieceSize(std::uint32_t nLimit, std::uint64_t nDone) const {
        return static_cast<std::uint32_t>(
            std::min<std::uint64_t>(nLimit, m_track.m_nSampleFrames - nDone));
    }
};

CEncodeRun::CEncodeRun(CTrackList& tracks, const CAppSettings& settings, CEncoderLibrary& library,
                       IEncodeObserver& observer, IUserPrompt& prompt)
    : m_tracks(tracks), m_settings(settings), m_library(library), m_observer(observer),
      m_prompt(prompt) {}

CEncodeRun::~CEncodeRun() {
    RequestStop();
    Join();
}

void CEncodeRun::Start(int nThreadPriority) {
    m_bStopRequested = false;
    m_bWorkerEnded = false;
    m_worker = std::thread([this, nThreadPriority] {
        CThreadPriority::ApplyToCurrentThread(nThreadPriority);
        RunEncodeWorker();
    });
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

    const EFileResult result = EncodeFile(track);
    if (result == EFileResult::RunEnds)
        return false;
    if (result == EFileResult::Encoded) {
        WritePlaylistEntry(track);
        if (track.m_bDeleteWav)
            DeleteWav(track);
    }
    track.m_bChecked = false;
    track.m_bEncoding = false;
    m_observer.OnTrackFinished(track);
    return true;
}

CEncodeRun::EFileResult CEncodeRun::EncodeFile(CTrackItem& track) {
    SChunkJob job(track);
    const CEncoderLibrary::Config config =
        CEncoderLibrary::BuildEncoderConfig(track, track.m_nSamplesPerSec);
    if (m_library.m_pInitStream(config.data(), &job.m_nSamplesPerChunk, &job.m_nOutputBufferSize,
                                &job.m_hStream) != 0) {
        m_prompt.ShowMessage("Unable to initialize Lame encoder.", EPromptIcon::Error);
        return EFileResult::Skipped;
    }
    job.m_bStreamOpen = true;
    m_observer.OnTrackInfo(track, config);

    job.m_pWav = std::fopen(track.m_strWavPath.c_str(), "rb");
    if (job.m_pWav == nullptr ||
        std::fseek(job.m_pWav, static_cast<long>(track.m_nDataOffset), SEEK_SET) != 0) {
        CloseFile(job.m_pWav);
        m_library.m_pCloseStream(job.m_hStream);
        m_prompt.ShowMessage("Unable to open wav file for read.\n\nFile: " + track.m_strWavPath +
                                 "\n\nThis audio file will be skipped during encode process.",
                             EPromptIcon::Exclamation);
        return EFileResult::Skipped;
    }
    job.m_pMp3 = std::fopen(track.m_strMp3Path.c_str(), "wb");
    if (job.m_pMp3 == nullptr) {
        CloseFile(job.m_pWav);
        m_library.m_pCloseStream(job.m_hStream);
        m_prompt.ShowMessage("Unable to create an output file for encoded audio stream.\n\nFile: " +
                                 track.m_strMp3Path,
                             EPromptIcon::Error);
        return EFileResult::Skipped;
    }

    const bool encoded = RunChunkLoop(track, job);
    CloseFile(job.m_pWav);
    if (!encoded) {
        track.m_bEncoding = false;
        if (job.m_bStreamOpen)
            m_library.m_pCloseStream(job.m_hStream);
        CloseFile(job.m_pMp3);
        std::remove(track.m_strMp3Path.c_str());
        return EFileResult::RunEnds;
    }

    if (track.m_bUseId3Tag)
        CId3v1Tag::WriteId3v1Tag(track, job.m_pMp3);
    const bool closed = std::fclose(job.m_pMp3) == 0;
    job.m_pMp3 = nullptr;
    track.m_bEncoded = closed;
    if (!closed)
        return EFileResult::Skipped;

    // Every file gets the Xing or Info frame, so players know the encoder delay.
    if (m_library.m_pWriteVbrHeader(track.m_strMp3Path.c_str()) != 0) {
        m_prompt.ShowMessage(
            CText::Format("Error: Unable to write VBR Header into the following file: \n\n%s",
                          track.m_strMp3Path.c_str()),
            EPromptIcon::Error);
    }
    return EFileResult::Encoded;
}

bool CEncodeRun::RunChunkLoop(CTrackItem& track, SChunkJob& job) {
    job.m_output.resize(job.m_nOutputBufferSize);
    bool done = false;
    switch (ChooseLoop(track)) {
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
        return false;
    }
    return done && FinishStream(job);
}

bool CEncodeRun::StopRequested(SChunkJob& job) {
    if (!m_bStopRequested)
        return false;
    job.m_track.m_nPercent = 0;
    return true;
}

std::uint32_t CEncodeRun::ReadFrames(SChunkJob& job, std::int16_t* pOut, std::uint32_t nFrames) {
    const std::uint32_t nChannels = job.m_track.m_nChannels;
    const std::uint32_t nFrameBytes = job.m_converter.BytesPerValue() * nChannels;
    if (job.m_converter.IsPassThrough()) {
        const auto read =
            static_cast<std::uint32_t>(std::fread(pOut, nFrameBytes, nFrames, job.m_pWav));
        m_counters.m_nBytesRead += read * nFrameBytes;
        return read;
    }
    job.m_raw.resize(static_cast<size_t>(nFrames) * nFrameBytes);
    const auto read =
        static_cast<std::uint32_t>(std::fread(job.m_raw.data(), nFrameBytes, nFrames, job.m_pWav));
    m_counters.m_nBytesRead += read * nFrameBytes;
    job.m_converter.Convert(job.m_raw.data(), static_cast<size_t>(read) * nChannels, pOut);
    return read;
}

// The file's layout is the encoder's: frames go through as they are.
bool CEncodeRun::CopyLoop(SChunkJob& job) {
    const std::uint32_t nChannels = job.m_track.m_nChannels;
    const std::uint32_t framesPerChunk = job.m_nSamplesPerChunk / nChannels;
    std::vector<std::int16_t> input(static_cast<size_t>(framesPerChunk) * nChannels);
    for (std::uint64_t done = 0; done < job.m_track.m_nSampleFrames;) {
        const std::uint32_t wanted = job.PieceSize(framesPerChunk, done);
        const std::uint32_t read = ReadFrames(job, input.data(), wanted);
        if (StopRequested(job))
            return false;
        // A file that ended early (or shrank since it was added) ends at its last frame.
        if (read == 0)
            return true;
        if (!EncodeAndWrite(job, input.data(), read * nChannels, done))
            return false;
        if (read < wanted)
            return true;
        done += wanted;
    }
    return true;
}

bool CEncodeRun::DownmixLoop(SChunkJob& job) {
    std::vector<std::int16_t> input(static_cast<size_t>(job.m_nSamplesPerChunk) * 2);
    for (std::uint64_t done = 0; done < job.m_track.m_nSampleFrames;) {
        const std::uint32_t frames =
            ReadFrames(job, input.data(), job.PieceSize(job.m_nSamplesPerChunk, done));
        if (StopRequested(job))
            return false;
        if (frames == 0)
            return true;
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

bool CEncodeRun::DuplicateLoop(SChunkJob& job) {
    const std::uint32_t half = job.m_nSamplesPerChunk / 2;
    std::vector<std::int16_t> input(half);
    std::vector<std::int16_t> stereo(job.m_nSamplesPerChunk);
    for (std::uint64_t done = 0; done < job.m_track.m_nSampleFrames;) {
        const std::uint32_t read = ReadFrames(job, input.data(), job.PieceSize(half, done));
        if (StopRequested(job))
            return false;
        if (read == 0)
            return true;
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

bool CEncodeRun::EncodeAndWrite(SChunkJob& job, const std::int16_t* pValues, std::uint32_t nValues,
                                std::uint64_t nDoneBefore) {
    std::uint32_t bytes = 0;
    if (m_library.m_pEncodeChunk(job.m_hStream, nValues, pValues, job.m_output.data(), &bytes) !=
            0 ||
        bytes > job.m_output.size() ||
        std::fwrite(job.m_output.data(), 1, bytes, job.m_pMp3) != bytes) {
        job.m_track.m_nPercent = 0;
        return false;
    }
    const auto percent = static_cast<std::uint32_t>(kMaxPercentWhileEncoding * nDoneBefore /
                                                    job.m_track.m_nSampleFrames);
    job.m_track.m_nPercent = percent;
    m_counters.m_nCurrentFrame = static_cast<std::uint32_t>(static_cast<std::uint64_t>(percent) *
                                                            m_counters.m_nTotalFrames / 100);
    return true;
}

bool CEncodeRun::FinishStream(SChunkJob& job) {
    std::uint32_t bytes = 0;
    const bool flushed =
        m_library.m_pDeinitStream(job.m_hStream, job.m_output.data(), &bytes) == 0 &&
        bytes <= job.m_output.size() &&
        std::fwrite(job.m_output.data(), 1, bytes, job.m_pMp3) == bytes;
    if (!flushed)
        return false;
    m_library.m_pCloseStream(job.m_hStream);
    job.m_bStreamOpen = false;
    return true;
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
