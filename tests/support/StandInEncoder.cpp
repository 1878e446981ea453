// Stand-in encoder libraries for tests, built in several variants: without one of the
// entry points, with a beInitStream or beWriteVBRHeader that fails, or with a chunk size
// no buffer can hold. Each records every sample value it is given into the file named by
// WAVSMITH_RECORD_PATH and produces no MP3 data.
#include "encoding/BladeEncApi.h"

#include <cstdio>
#include <cstdlib>

using namespace BladeEnc;

#define STAND_IN_EXPORT extern "C" __attribute__((visibility("default")))

#ifndef WITHOUT_INIT
STAND_IN_EXPORT Status beInitStream(const void*, std::uint32_t* pSamplesPerChunk,
                                    std::uint32_t* pOutputBufferSize, StreamHandle* pStream) {
#ifdef FAIL_INIT
    (void)pSamplesPerChunk;
    (void)pOutputBufferSize;
    (void)pStream;
    return 1;
#elif defined(HUGE_CHUNK)
    *pSamplesPerChunk = 0xFFFFFFFFu;
    *pOutputBufferSize = 16;
    *pStream = 7;
    return 0;
#else
    *pSamplesPerChunk = 1000;
    *pOutputBufferSize = 16;
    *pStream = 7;
    return 0;
#endif
}
#endif

#ifndef WITHOUT_ENCODE
STAND_IN_EXPORT Status beEncodeChunk(StreamHandle, std::uint32_t nSamples,
                                     const std::int16_t* pSamples, std::uint8_t*,
                                     std::uint32_t* pOutputBytes) {
    if (const char* path = std::getenv("WAVSMITH_RECORD_PATH")) {
        if (std::FILE* file = std::fopen(path, "ab")) {
            std::fwrite(pSamples, 2, nSamples, file);
            std::fclose(file);
        }
    }
    *pOutputBytes = 0;
    return 0;
}
#endif

#ifndef WITHOUT_DEINIT
STAND_IN_EXPORT Status beDeinitStream(StreamHandle, std::uint8_t*, std::uint32_t* pOutputBytes) {
    *pOutputBytes = 0;
    return 0;
}
#endif

#ifndef WITHOUT_CLOSE
STAND_IN_EXPORT Status beCloseStream(StreamHandle) {
    return 0;
}
#endif

#ifndef WITHOUT_VBR_HEADER
STAND_IN_EXPORT Status beWriteVBRHeader(const char*) {
#ifdef FAIL_VBR_HEADER
    return 1;
#else
    return 0;
#endif
}
#endif
