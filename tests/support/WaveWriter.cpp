#include "WaveWriter.h"

#include <cmath>
#include <fstream>

std::string CWaveWriter::Le16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string CWaveWriter::Le32(std::uint32_t value) {
    return Le16(static_cast<std::uint16_t>(value & 0xFFFF)) +
           Le16(static_cast<std::uint16_t>(value >> 16));
}

CWaveWriter& CWaveWriter::AddFmtChunk(std::uint16_t wFormatTag, std::uint16_t nChannels,
                                      std::uint32_t nSampleRate, std::uint16_t wBitsPerSample) {
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(nChannels * wBitsPerSample / 8);
    const std::string body = Le16(wFormatTag) + Le16(nChannels) + Le32(nSampleRate) +
                             Le32(nSampleRate * blockAlign) + Le16(blockAlign) +
                             Le16(wBitsPerSample);
    return AddRawChunk("fmt ", 16, body);
}

CWaveWriter& CWaveWriter::AddExtensibleFmtChunk(std::uint16_t wSubFormatTag,
                                                std::uint16_t nChannels, std::uint32_t nSampleRate,
                                                std::uint16_t wBitsPerSample, bool bForeignGuid) {
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(nChannels * wBitsPerSample / 8);
    const std::string guidTail = bForeignGuid ? std::string(14, '\x5A')
                                              : std::string("\x00\x00\x00\x00\x10\x00\x80\x00"
                                                            "\x00\xAA\x00\x38\x9B\x71",
                                                            14);
    const std::string body = Le16(0xFFFE) + Le16(nChannels) + Le32(nSampleRate) +
                             Le32(nSampleRate * blockAlign) + Le16(blockAlign) +
                             Le16(wBitsPerSample) + Le16(22) + Le16(wBitsPerSample) +
                             Le32(nChannels == 1 ? 4 : 3) + Le16(wSubFormatTag) + guidTail;
    return AddRawChunk("fmt ", 40, body);
}

CWaveWriter& CWaveWriter::AddRawChunk(const std::string& id, std::uint32_t nDeclaredSize,
                                      const std::string& body) {
    m_chunks += id.substr(0, 4) + Le32(nDeclaredSize) + body;
    return *this;
}

CWaveWriter& CWaveWriter::AddToneData(std::uint16_t nChannels, std::uint32_t nSampleRate,
                                      std::uint32_t nFrames, double dFrequency) {
    std::string samples;
    samples.reserve(static_cast<size_t>(nFrames) * nChannels * 2);
    for (std::uint32_t frame = 0; frame < nFrames; ++frame) {
        const double phase = 2.0 * M_PI * dFrequency * frame / nSampleRate;
        for (std::uint16_t channel = 0; channel < nChannels; ++channel) {
            // Each further channel a fifth higher, so channels differ.
            const double value = std::sin(phase * (1.0 + 0.5 * channel)) * 12000.0;
            samples += Le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
        }
    }
    return AddRawChunk("data", static_cast<std::uint32_t>(samples.size()), samples);
}

CWaveWriter& CWaveWriter::AddSilentData(std::uint32_t nBytes) {
    return AddRawChunk("data", nBytes, std::string(nBytes, '\0'));
}

CWaveWriter& CWaveWriter::AddData(const std::string& body) {
    return AddRawChunk("data", static_cast<std::uint32_t>(body.size()), body);
}

std::string CWaveWriter::Bytes() const {
    return "RIFF" + Le32(static_cast<std::uint32_t>(m_chunks.size() + 4)) + "WAVE" + m_chunks;
}

bool CWaveWriter::Save(const std::string& strPath) const {
    std::ofstream out(strPath, std::ios::binary);
    out << Bytes();
    return static_cast<bool>(out);
}

std::string CWaveWriter::PcmTone(std::uint16_t nChannels, std::uint32_t nSampleRate,
                                 double dSeconds, double dFrequency) {
    const auto frames = static_cast<std::uint32_t>(dSeconds * nSampleRate);
    return CWaveWriter()
        .AddFmtChunk(1, nChannels, nSampleRate, 16)
        .AddToneData(nChannels, nSampleRate, frames, dFrequency)
        .Bytes();
}
