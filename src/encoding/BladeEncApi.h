#pragma once

#include <cstddef>
#include <cstdint>

// The calling interface of the encoder library: five C entry points over a 331-byte
// configuration record. Every call answers 0 for success.
namespace BladeEnc {

using Status = std::uint32_t;
using StreamHandle = std::uint32_t;

using InitStreamFn = Status (*)(const void* pConfig, std::uint32_t* pSamplesPerChunk,
                                std::uint32_t* pOutputBufferSize, StreamHandle* pStream);
using EncodeChunkFn = Status (*)(StreamHandle stream, std::uint32_t nSamples,
                                 const std::int16_t* pSamples, std::uint8_t* pOutput,
                                 std::uint32_t* pOutputBytes);
using DeinitStreamFn = Status (*)(StreamHandle stream, std::uint8_t* pOutput,
                                  std::uint32_t* pOutputBytes);
using CloseStreamFn = Status (*)(StreamHandle stream);
using WriteVbrHeaderFn = Status (*)(const char* pszMp3Path);

// The configuration record, packed little-endian.
constexpr std::size_t kConfigSize = 331;
constexpr std::uint32_t kConfigKindLame = 256;
constexpr std::uint32_t kConfigVersion = 1;

constexpr std::size_t kOffsetKind = 0;
constexpr std::size_t kOffsetVersion = 4;
constexpr std::size_t kOffsetStructSize = 8;
constexpr std::size_t kOffsetInputRate = 12;
constexpr std::size_t kOffsetOutputRate = 16;
constexpr std::size_t kOffsetMode = 20;
constexpr std::size_t kOffsetBitrate = 24;
constexpr std::size_t kOffsetMaxBitrate = 28;
constexpr std::size_t kOffsetPreset = 32;
constexpr std::size_t kOffsetMpegVersion = 36;
constexpr std::size_t kOffsetPsyModel = 40;
constexpr std::size_t kOffsetEmphasis = 44;
constexpr std::size_t kOffsetPrivate = 48;
constexpr std::size_t kOffsetCrc = 52;
constexpr std::size_t kOffsetCopyright = 56;
constexpr std::size_t kOffsetOriginal = 60;
constexpr std::size_t kOffsetWriteVbrHeader = 64;
constexpr std::size_t kOffsetEnableVbr = 68;
constexpr std::size_t kOffsetVbrQuality = 72;

// Encoder modes as the record counts them.
constexpr std::int32_t kModeStereo = 0;
constexpr std::int32_t kModeJointStereo = 1;
constexpr std::int32_t kModeDualChannel = 2;
constexpr std::int32_t kModeMono = 3;

// The record's MPEG version field.
constexpr std::uint32_t kMpeg1 = 1;
constexpr std::uint32_t kMpeg2 = 0;

inline std::uint32_t ReadLe32(const std::uint8_t* pRecord, std::size_t nOffset) {
    const std::uint8_t* p = pRecord + nOffset;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline void WriteLe32(std::uint8_t* pRecord, std::size_t nOffset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        pRecord[nOffset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace BladeEnc
