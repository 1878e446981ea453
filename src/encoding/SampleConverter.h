#pragma once

#include <cstddef>
#include <cstdint>

// Turns the samples of a WAV file into the 16-bit values the encoder takes: 8-bit
// unsigned values are widened; 24- and 32-bit integers and 32-bit floats lose their low
// bits with triangular dither, so that quiet passages keep their detail as noise rather
// than distortion. The dither is the same for every track that starts afresh, so the same
// WAV always gives the same MP3. Each encode stream owns one converter.
class CSampleConverter {
public:
    // `nBitsPerSample` 8, 16, 24 or 32; `bFloat` for 32-bit IEEE floats.
    CSampleConverter(unsigned nBitsPerSample, bool bFloat);

    // Bytes one sample value takes in the file.
    unsigned BytesPerValue() const { return m_nBytes; }
    // Whether the file's values are 16-bit already and need no conversion.
    bool IsPassThrough() const { return m_nBytes == 2; }

    // Converts `nValues` little-endian values from `pRaw` into `pOut`.
    void Convert(const std::uint8_t* pRaw, std::size_t nValues, std::int16_t* pOut);

private:
    std::int16_t Dithered(std::int64_t nValue, unsigned nShift);
    std::uint32_t NextRandom();

    unsigned m_nBytes;
    bool m_bFloat;
    std::uint32_t m_nRandom = 0x9E3779B9u;
};
