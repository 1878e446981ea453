#include "encoding/SampleConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
std::int16_t Clamp16(std::int64_t nValue) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(nValue, -32768, 32767));
}

std::int32_t ReadLe(const std::uint8_t* p, unsigned nBytes) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < nBytes; ++i)
        value |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    // Shifted up so the sign bit of the narrower value becomes that of 32 bits.
    return static_cast<std::int32_t>(value << (32 - 8 * nBytes));
}
} // namespace

CSampleConverter::CSampleConverter(unsigned nBitsPerSample, bool bFloat)
    : m_nBytes(nBitsPerSample / 8), m_bFloat(bFloat) {}

std::uint32_t CSampleConverter::NextRandom() {
    // xorshift32: cheap, and the same sequence on every machine.
    m_nRandom ^= m_nRandom << 13;
    m_nRandom ^= m_nRandom >> 17;
    m_nRandom ^= m_nRandom << 5;
    return m_nRandom;
}

// `nValue` carries `nShift` bits below the 16 that stay; the difference of two uniform
// numbers of that width is the triangular dither added before rounding.
std::int16_t CSampleConverter::Dithered(std::int64_t nValue, unsigned nShift) {
    const std::uint32_t random = NextRandom();
    const std::uint32_t mask = (1u << nShift) - 1;
    const std::int64_t dither =
        static_cast<std::int64_t>(random & mask) - static_cast<std::int64_t>((random >> 16) & mask);
    const std::int64_t half = std::int64_t{1} << (nShift - 1);
    // Arithmetic shift: rounds toward minus infinity, which the added half makes nearest.
    return Clamp16((nValue + dither + half) >> nShift);
}

void CSampleConverter::Convert(const std::uint8_t* pRaw, std::size_t nValues, std::int16_t* pOut) {
    for (std::size_t i = 0; i < nValues; ++i) {
        const std::uint8_t* p = pRaw + i * m_nBytes;
        if (m_bFloat) {
            float sample = 0;
            std::memcpy(&sample, p, sizeof sample);
            // Full scale is ±1; louder values clip and a NaN is silence. 16 bits below the
            // output's keep the dither as fine as for 32-bit integers.
            const double scaled =
                std::isnan(sample) ? 0.0 : std::clamp(static_cast<double>(sample), -2.0, 2.0);
            pOut[i] = Dithered(std::llround(scaled * 2147483648.0), 16);
            continue;
        }
        switch (m_nBytes) {
        case 1:
            // 8-bit WAV values are unsigned around 128.
            pOut[i] = static_cast<std::int16_t>((p[0] - 128) * 256);
            break;
        case 2:
            pOut[i] = static_cast<std::int16_t>(ReadLe(p, 2) >> 16);
            break;
        case 3:
            pOut[i] = Dithered(ReadLe(p, 3) >> 8, 8);
            break;
        default:
            pOut[i] = Dithered(ReadLe(p, 4), 16);
            break;
        }
    }
}
