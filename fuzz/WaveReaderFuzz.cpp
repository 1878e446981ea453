// Arbitrary bytes as a WAV file: the chunk walk never reads outside the input, never
// divides by zero, and accepts only mono or stereo integer or float samples the run can
// convert; the sound it finds lies inside the input, and the play time fits it.
#include "encoding/AppSettings.h"
#include "encoding/TrackItem.h"
#include "encoding/WaveReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    if (bytes.empty())
        return 0; // fmemopen refuses an empty buffer
    std::FILE* stream = ::fmemopen(bytes.data(), bytes.size(), "rb");
    if (stream == nullptr)
        return 0;
    const CAppSettings settings;
    CTrackItem track(settings);
    const bool bAccepted = CWaveReader::ParseWaveHeader(track, stream);
    std::fclose(stream);
    if (!bAccepted)
        return 0;
    const unsigned nBits = track.m_wBitsPerSample;
    const bool bInteger =
        track.m_wFormatTag == 1 && (nBits == 8 || nBits == 16 || nBits == 24 || nBits == 32);
    const bool bFloat = track.m_wFormatTag == 3 && nBits == 32;
    if ((!bInteger && !bFloat) || track.m_nChannels < 1 || track.m_nChannels > 2 ||
        track.m_nSamplesPerSec == 0)
        std::abort();

    if (std::uint64_t{track.m_nDataOffset} + track.m_nDataLength > size)
        std::abort();
    if (CWaveReader::PlayTime(track) > track.m_nDataLength)
        std::abort();
    return 0;
}
