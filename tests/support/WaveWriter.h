#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds WAV files byte by byte for tests, benchmarks and the bundled examples,
// including malformed ones: chunks can be added in any order with any sizes.
class CWaveWriter {
public:
    // RIFF header, "WAVE", then the chunks added; the RIFF size is filled in by Bytes().
    CWaveWriter& AddFmtChunk(std::uint16_t wFormatTag, std::uint16_t nChannels,
                             std::uint32_t nSampleRate, std::uint16_t wBitsPerSample);
    // A WAVE_FORMAT_EXTENSIBLE `fmt ` chunk (40 bytes) whose sub-format GUID carries
    // `wSubFormatTag` with the standard tail, or a foreign tail when `bForeignGuid`.
    CWaveWriter& AddExtensibleFmtChunk(std::uint16_t wSubFormatTag, std::uint16_t nChannels,
                                       std::uint32_t nSampleRate, std::uint16_t wBitsPerSample,
                                       bool bForeignGuid = false);
    // Any chunk with any declared size and raw contents.
    CWaveWriter& AddRawChunk(const std::string& id, std::uint32_t nDeclaredSize,
                             const std::string& body);
    // A `data` chunk with `nFrames` frames of a sine tone (16-bit) or silence.
    CWaveWriter& AddToneData(std::uint16_t nChannels, std::uint32_t nSampleRate,
                             std::uint32_t nFrames, double dFrequency);
    CWaveWriter& AddSilentData(std::uint32_t nBytes);
    // A `data` chunk of exactly these bytes.
    CWaveWriter& AddData(const std::string& body);

    std::string Bytes() const;
    bool Save(const std::string& strPath) const;

    // A complete 16-bit PCM file of `dSeconds` of a tone.
    static std::string PcmTone(std::uint16_t nChannels, std::uint32_t nSampleRate, double dSeconds,
                               double dFrequency = 440.0);

    static std::string Le16(std::uint16_t value);
    static std::string Le32(std::uint32_t value);

private:
    std::string m_chunks;
};
