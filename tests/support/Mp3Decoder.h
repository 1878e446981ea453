#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Decodes an MP3 file with libmpg123 for checks on what the encoder wrote.
struct SDecodedMp3 {
    bool m_bOk = false;
    long m_nRate = 0;
    int m_nChannels = 0;
    std::vector<std::int16_t> m_samples; // interleaved
    size_t Frames() const { return m_nChannels == 0 ? 0 : m_samples.size() / m_nChannels; }
};

SDecodedMp3 DecodeMp3(const std::string& strPath);

// The frequency in Hz with the most energy in one channel of `decoded`, by a plain DFT
// over a stretch from the middle of the signal, searched in whole-Hz steps.
double DominantFrequency(const SDecodedMp3& decoded, int nChannel, double dMinHz, double dMaxHz);
