#include "encoding/EncodingOptions.h"

#include "platform/Text.h"

int CEncodingOptions::BitratePosition(unsigned nMpegVersion, unsigned nBitrate) {
    const auto& row = kBitrates[Row(nMpegVersion)];
    for (int position = 0; position < kBitrateChoices; ++position) {
        if (row[position] == nBitrate)
            return position;
    }
    return kFallbackBitratePosition;
}

int CEncodingOptions::SampleRatePosition(unsigned nMpegVersion, unsigned nSampleRate) {
    const auto& row = kSampleRates[Row(nMpegVersion)];
    for (int position = 0; position < kSampleRateChoices; ++position) {
        if (row[position] == nSampleRate)
            return position;
    }
    return -1;
}

std::string CEncodingOptions::BitrateText(unsigned nBitrate) {
    return std::to_string(nBitrate) + " kbps";
}

std::string CEncodingOptions::SampleRateText(unsigned nSampleRate) {
    if (nSampleRate % 1000 == 0)
        return std::to_string(nSampleRate / 1000) + " kHz";
    std::string text = CText::Format("%.3f", nSampleRate / 1000.0);
    while (text.back() == '0')
        text.pop_back();
    return text + " kHz";
}

std::string CEncodingOptions::VbrQualityText(unsigned nQuality) {
    if (nQuality == 0)
        return "0 (lower)";
    if (nQuality == 9)
        return "9 (highest)";
    return std::to_string(nQuality);
}

const SMp3Preset* CEncodingOptions::FindPreset(std::string_view name) {
    for (const SMp3Preset& preset : kPresets) {
        if (CText::EqualsNoCase(preset.m_strName, name))
            return &preset;
    }
    return nullptr;
}
