// The five encoder entry points over libmp3lame. Streams are kept in a table under a
// lock, so streams on different threads (one per worker of a run) never meet; the
// encoder state that a later VBR header needs stays with the thread that closed the
// stream.
#include "encoding/BladeEncApi.h"

#include <cstdio>
#include <lame/lame.h>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

using namespace BladeEnc;

#define LAME_ENC_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
constexpr Status kOk = 0;
constexpr Status kFailed = 1;
constexpr Status kInvalidHandle = 2;

// Frames of audio one chunk holds; several MP3 frames per call keep call overhead low.
constexpr std::uint32_t kFramesPerChunk = 4 * 1152;

struct SLameCloser {
    void operator()(lame_global_flags* gfp) const { lame_close(gfp); }
};
using LamePtr = std::unique_ptr<lame_global_flags, SLameCloser>;

struct SStream {
    LamePtr m_lame;
    int m_nChannels = 2;
    bool m_bWantsVbrHeader = false;
};

class CStreamTable {
public:
    StreamHandle Add(SStream stream) {
        std::lock_guard lock(m_mutex);
        const StreamHandle handle = ++m_nLastHandle == 0 ? ++m_nLastHandle : m_nLastHandle;
        m_streams.emplace(handle, std::make_shared<SStream>(std::move(stream)));
        return handle;
    }
    std::shared_ptr<SStream> Find(StreamHandle handle) {
        std::lock_guard lock(m_mutex);
        const auto it = m_streams.find(handle);
        return it == m_streams.end() ? nullptr : it->second;
    }
    std::shared_ptr<SStream> Remove(StreamHandle handle) {
        std::lock_guard lock(m_mutex);
        const auto it = m_streams.find(handle);
        if (it == m_streams.end())
            return nullptr;
        std::shared_ptr<SStream> stream = it->second;
        m_streams.erase(it);
        return stream;
    }

private:
    std::mutex m_mutex;
    StreamHandle m_nLastHandle = 0;
    std::unordered_map<StreamHandle, std::shared_ptr<SStream>> m_streams;
};

CStreamTable& Streams() {
    static CStreamTable table;
    return table;
}

// The encoder of the last stream this thread closed, kept for its VBR header. In the
// static TLS reserve that glibc keeps for loaded libraries: no __tls_get_addr on each
// use, and no dynamic TLS, whose blocks GCC 12's leak checker misreads at exit.
__attribute__((tls_model("initial-exec"))) thread_local LamePtr tl_finishedEncoder;

MPEG_mode LameMode(std::int32_t nMode) {
    switch (nMode) {
    case kModeJointStereo:
        return JOINT_STEREO;
    case kModeDualChannel:
        return DUAL_CHANNEL;
    case kModeMono:
        return MONO;
    default:
        return STEREO;
    }
}

bool Configure(lame_global_flags* gfp, const std::uint8_t* record, int nChannels) {
    const bool vbr = ReadLe32(record, kOffsetEnableVbr) != 0;
    lame_set_in_samplerate(gfp, static_cast<int>(ReadLe32(record, kOffsetInputRate)));
    lame_set_out_samplerate(gfp, static_cast<int>(ReadLe32(record, kOffsetOutputRate)));
    lame_set_num_channels(gfp, nChannels);
    lame_set_mode(gfp, LameMode(static_cast<std::int32_t>(ReadLe32(record, kOffsetMode))));
    lame_set_extension(gfp, ReadLe32(record, kOffsetPrivate) != 0);
    lame_set_error_protection(gfp, ReadLe32(record, kOffsetCrc) != 0);
    lame_set_copyright(gfp, ReadLe32(record, kOffsetCopyright) != 0);
    lame_set_original(gfp, ReadLe32(record, kOffsetOriginal) != 0);
    lame_set_bWriteVbrTag(gfp, ReadLe32(record, kOffsetWriteVbrHeader) != 0);
    // The program appends its own ID3v1 tag.
    lame_set_write_id3tag_automatic(gfp, 0);
    if (vbr) {
        lame_set_VBR(gfp, vbr_default);
        lame_set_VBR_q(gfp, static_cast<int>(ReadLe32(record, kOffsetVbrQuality)));
        lame_set_VBR_min_bitrate_kbps(gfp, static_cast<int>(ReadLe32(record, kOffsetBitrate)));
        lame_set_VBR_max_bitrate_kbps(gfp, static_cast<int>(ReadLe32(record, kOffsetMaxBitrate)));
        lame_set_VBR_hard_min(gfp, 1);
    } else {
        lame_set_VBR(gfp, vbr_off);
        lame_set_brate(gfp, static_cast<int>(ReadLe32(record, kOffsetBitrate)));
    }
    if (lame_init_params(gfp) < 0)
        return false;
    // The encoder picks the MPEG version from the output rate; a record asking for the
    // other version describes a stream this encoder would not produce.
    const bool mpeg1 = lame_get_version(gfp) == 1;
    return mpeg1 == (ReadLe32(record, kOffsetMpegVersion) == kMpeg1);
}
} // namespace

LAME_ENC_EXPORT Status beInitStream(const void* pConfig, std::uint32_t* pSamplesPerChunk,
                                    std::uint32_t* pOutputBufferSize, StreamHandle* pStream) {
    if (pConfig == nullptr || pSamplesPerChunk == nullptr || pOutputBufferSize == nullptr ||
        pStream == nullptr)
        return kFailed;
    const auto* record = static_cast<const std::uint8_t*>(pConfig);
    if (ReadLe32(record, kOffsetKind) != kConfigKindLame)
        return kFailed;

    SStream stream;
    stream.m_nChannels =
        static_cast<std::int32_t>(ReadLe32(record, kOffsetMode)) == kModeMono ? 1 : 2;
    stream.m_bWantsVbrHeader = ReadLe32(record, kOffsetWriteVbrHeader) != 0;
    {
        // libmp3lame fills tables shared by all its streams the first time it configures
        // one: streams are configured one at a time, however many threads encode.
        static std::mutex configureMutex;
        std::lock_guard lock(configureMutex);
        stream.m_lame.reset(lame_init());
        if (!stream.m_lame || !Configure(stream.m_lame.get(), record, stream.m_nChannels))
            return kFailed;
    }

    const std::uint32_t values = kFramesPerChunk * static_cast<std::uint32_t>(stream.m_nChannels);
    *pSamplesPerChunk = values;
    // The bound libmp3lame documents for one call: 1.25 × samples + 7200.
    *pOutputBufferSize = kFramesPerChunk + kFramesPerChunk / 4 + 7200;
    *pStream = Streams().Add(std::move(stream));
    return kOk;
}

LAME_ENC_EXPORT Status beEncodeChunk(StreamHandle hStream, std::uint32_t nSamples,
                                     const std::int16_t* pSamples, std::uint8_t* pOutput,
                                     std::uint32_t* pOutputBytes) {
    const std::shared_ptr<SStream> stream = Streams().Find(hStream);
    if (!stream)
        return kInvalidHandle;
    if (pOutput == nullptr || pOutputBytes == nullptr || (nSamples > 0 && pSamples == nullptr))
        return kFailed;
    const int frames = static_cast<int>(nSamples / static_cast<std::uint32_t>(stream->m_nChannels));
    const int capacity = static_cast<int>(kFramesPerChunk + kFramesPerChunk / 4 + 7200);
    int written = 0;
    if (stream->m_nChannels == 1) {
        written =
            lame_encode_buffer(stream->m_lame.get(), pSamples, pSamples, frames, pOutput, capacity);
    } else {
        written = lame_encode_buffer_interleaved(stream->m_lame.get(), const_cast<short*>(pSamples),
                                                 frames, pOutput, capacity);
    }
    if (written < 0)
        return kFailed;
    *pOutputBytes = static_cast<std::uint32_t>(written);
    return kOk;
}

LAME_ENC_EXPORT Status beDeinitStream(StreamHandle hStream, std::uint8_t* pOutput,
                                      std::uint32_t* pOutputBytes) {
    const std::shared_ptr<SStream> stream = Streams().Find(hStream);
    if (!stream)
        return kInvalidHandle;
    if (pOutput == nullptr || pOutputBytes == nullptr)
        return kFailed;
    const int capacity = static_cast<int>(kFramesPerChunk + kFramesPerChunk / 4 + 7200);
    const int written = lame_encode_flush(stream->m_lame.get(), pOutput, capacity);
    if (written < 0)
        return kFailed;
    *pOutputBytes = static_cast<std::uint32_t>(written);
    return kOk;
}

LAME_ENC_EXPORT Status beCloseStream(StreamHandle hStream) {
    const std::shared_ptr<SStream> stream = Streams().Remove(hStream);
    if (!stream)
        return kInvalidHandle;
    if (stream->m_bWantsVbrHeader)
        tl_finishedEncoder = std::move(stream->m_lame);
    return kOk;
}

LAME_ENC_EXPORT Status beWriteVBRHeader(const char* pszMp3Path) {
    LamePtr encoder = std::move(tl_finishedEncoder);
    if (!encoder || pszMp3Path == nullptr)
        return kFailed;
    std::vector<unsigned char> frame(lame_get_lametag_frame(encoder.get(), nullptr, 0));
    // A CBR stream whose frames are too small for an Info frame (low MPEG-2 rates) gets
    // none from the encoder: there is nothing to write, which is no failure.
    if (frame.empty() && lame_get_VBR(encoder.get()) == vbr_off)
        return kOk;
    if (frame.empty() ||
        lame_get_lametag_frame(encoder.get(), frame.data(), frame.size()) != frame.size())
        return kFailed;
    // The encoder left room for this frame at the start of the file.
    std::FILE* file = std::fopen(pszMp3Path, "r+b");
    if (file == nullptr)
        return kFailed;
    const bool written = std::fwrite(frame.data(), 1, frame.size(), file) == frame.size();
    return std::fclose(file) == 0 && written ? kOk : kFailed;
}
