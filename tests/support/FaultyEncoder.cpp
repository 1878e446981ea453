// Stand-in encoder libraries that forward every call to the real liblame_enc.so and add
// one fault: FAIL_AT_22050 fails every chunk of a stream whose input is 22050 Hz, so one
// track of a run fails its loop while the others encode; SHORT_FLUSH drops the last byte
// of the final frames, so the file ends inside a frame, as a write that went short would
// leave it; PIN_WAV puts a non-empty folder in the place of the file named by
// WAVSMITH_PIN_PATH when the stream ends, so that deleting that path afterwards fails
// even for root.
#include "encoding/BladeEncApi.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>

using namespace BladeEnc;

#define STAND_IN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
template <typename Fn> Fn Real(const char* name) {
    static void* library = ::dlopen(WAVSMITH_LAME_ENC_PATH, RTLD_NOW | RTLD_LOCAL);
    return library == nullptr ? nullptr : reinterpret_cast<Fn>(::dlsym(library, name));
}

std::mutex g_mutex;
std::set<StreamHandle> g_failingStreams;

[[maybe_unused]] bool Fails(StreamHandle hStream) {
    std::lock_guard lock(g_mutex);
    return g_failingStreams.contains(hStream);
}
} // namespace

STAND_IN_EXPORT Status beInitStream(const void* pConfig, std::uint32_t* pSamplesPerChunk,
                                    std::uint32_t* pOutputBufferSize, StreamHandle* pStream) {
    const Status status =
        Real<InitStreamFn>("beInitStream")(pConfig, pSamplesPerChunk, pOutputBufferSize, pStream);
    const auto* record = static_cast<const std::uint8_t*>(pConfig);
    if (status == 0 && ReadLe32(record, kOffsetInputRate) == 22050) {
        std::lock_guard lock(g_mutex);
        g_failingStreams.insert(*pStream);
    }
    return status;
}

STAND_IN_EXPORT Status beEncodeChunk(StreamHandle hStream, std::uint32_t nSamples,
                                     const std::int16_t* pSamples, std::uint8_t* pOutput,
                                     std::uint32_t* pOutputBytes) {
#ifdef FAIL_AT_22050
    if (Fails(hStream))
        return 1;
#endif
    return Real<EncodeChunkFn>("beEncodeChunk")(hStream, nSamples, pSamples, pOutput, pOutputBytes);
}

STAND_IN_EXPORT Status beDeinitStream(StreamHandle hStream, std::uint8_t* pOutput,
                                      std::uint32_t* pOutputBytes) {
    const Status status = Real<DeinitStreamFn>("beDeinitStream")(hStream, pOutput, pOutputBytes);
#ifdef SHORT_FLUSH
    if (status == 0 && *pOutputBytes > 0)
        --*pOutputBytes;
#endif
#ifdef PIN_WAV
    if (const char* path = std::getenv("WAVSMITH_PIN_PATH")) {
        std::rename(path, (std::string(path) + ".moved").c_str());
        ::mkdir(path, 0755);
        if (std::FILE* file = std::fopen((std::string(path) + "/pin").c_str(), "wb"))
            std::fclose(file);
    }
#endif
    return status;
}

STAND_IN_EXPORT Status beCloseStream(StreamHandle hStream) {
    {
        std::lock_guard lock(g_mutex);
        g_failingStreams.erase(hStream);
    }
    return Real<CloseStreamFn>("beCloseStream")(hStream);
}

STAND_IN_EXPORT Status beWriteVBRHeader(const char* pszMp3Path) {
    return Real<WriteVbrHeaderFn>("beWriteVBRHeader")(pszMp3Path);
}
