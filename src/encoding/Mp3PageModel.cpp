#include "encoding/Mp3PageModel.h"

#include "encoding/AppSettings.h"
#include "encoding/EncodingOptions.h"

#include <algorithm>

namespace {
int ClampBitratePosition(int nPosition) {
    return std::clamp(nPosition, 0, CEncodingOptions::kFallbackBitratePosition);
}

unsigned BitrateAt(unsigned nMpegVersion, int nPosition) {
    return CEncodingOptions::kBitrates[CEncodingOptions::Row(nMpegVersion)]
                                      [ClampBitratePosition(nPosition)];
}
} // namespace

void CMp3PageModel::LoadFromSettings(const CAppSettings& settings) {
    m_nMpegVersion = settings.m_nMpegVersion != 0 ? 1 : 0;
    m_nStoredSampleRate = settings.m_nSampleRate;
    m_nSampleRatePosition =
        CEncodingOptions::SampleRatePosition(m_nMpegVersion, settings.m_nSampleRate);
    // A rate of the other version would make the encoder refuse every track.
    if (m_nSampleRatePosition < 0)
        m_nSampleRatePosition =
            CEncodingOptions::SampleRatePosition(1 - m_nMpegVersion, settings.m_nSampleRate);
    m_nChannelMode = settings.m_nChannelMode;
    m_nCbrPosition = CEncodingOptions::BitratePosition(m_nMpegVersion, settings.m_nBitrate);
    m_nVbrMinPosition =
        CEncodingOptions::BitratePosition(m_nMpegVersion, settings.m_nVbrMinBitrate);
    m_nVbrMaxPosition =
        CEncodingOptions::BitratePosition(m_nMpegVersion, settings.m_nVbrMaxBitrate);
    m_nVbrQuality = std::min(settings.m_nVbrQuality, 9u);
    m_bVbr = settings.m_bVbr != 0;
    m_bPrivate = settings.m_bPrivate != 0;
    m_bCrc = settings.m_bCrc != 0;
    m_bCopyright = settings.m_bCopyright != 0;
    m_bOriginal = settings.m_bOriginal != 0;
}

void CMp3PageModel::CommitMp3Tab(CAppSettings& settings) const {
    settings.m_nMpegVersion = m_nMpegVersion != 0 ? 1 : 0;
    if (m_nSampleRatePosition >= 0) {
        settings.m_nSampleRate =
            CEncodingOptions::kSampleRates[CEncodingOptions::Row(m_nMpegVersion)]
                                          [m_nSampleRatePosition];
    } else {
        settings.m_nSampleRate = m_nStoredSampleRate;
    }
    settings.m_nChannelMode = m_nChannelMode;
    settings.m_nBitrate = BitrateAt(m_nMpegVersion, m_nCbrPosition);
    settings.m_nVbrMinBitrate = BitrateAt(m_nMpegVersion, m_nVbrMinPosition);
    settings.m_nVbrMaxBitrate = BitrateAt(m_nMpegVersion, m_nVbrMaxPosition);
    settings.m_nVbrQuality = m_nVbrQuality;
    settings.m_bVbr = m_bVbr ? 1 : 0;
    settings.m_bPrivate = m_bPrivate ? 1 : 0;
    settings.m_bCrc = m_bCrc ? 1 : 0;
    settings.m_bCopyright = m_bCopyright ? 1 : 0;
    settings.m_bOriginal = m_bOriginal ? 1 : 0;
}

void CMp3PageModel::SetMpegVersion(unsigned nVersion) {
    m_nMpegVersion = nVersion != 0 ? 1 : 0;
}

void CMp3PageModel::SetVbr(bool bVbr) {
    m_bVbr = bVbr;
}

void CMp3PageModel::SetCbrPosition(int nPosition) {
    m_nCbrPosition = ClampBitratePosition(nPosition);
}

void CMp3PageModel::SetVbrMinPosition(int nPosition) {
    m_nVbrMinPosition = ClampBitratePosition(nPosition);
    OrderVbrBounds();
}

void CMp3PageModel::SetVbrMaxPosition(int nPosition) {
    m_nVbrMaxPosition = ClampBitratePosition(nPosition);
    OrderVbrBounds();
}

void CMp3PageModel::OrderVbrBounds() {
    if (BitrateAt(m_nMpegVersion, m_nVbrMinPosition) > BitrateAt(m_nMpegVersion, m_nVbrMaxPosition))
        std::swap(m_nVbrMinPosition, m_nVbrMaxPosition);
}

void CMp3PageModel::SetVbrThumbs(double dFirst, double dSecond) {
    const int first = ThumbPosition(dFirst);
    const int second = ThumbPosition(dSecond);
    m_nVbrMinPosition = std::min(first, second);
    m_nVbrMaxPosition = std::max(first, second);
}

void CMp3PageModel::SetCbrThumb(double dValue) {
    m_nCbrPosition = ThumbPosition(dValue);
}

void CMp3PageModel::SetSampleRatePosition(int nPosition) {
    m_nSampleRatePosition = std::clamp(nPosition, 0, CEncodingOptions::kSampleRateChoices - 1);
}

void CMp3PageModel::SetChannelMode(unsigned nMode) {
    m_nChannelMode = nMode;
}

void CMp3PageModel::SetVbrQuality(unsigned nQuality) {
    m_nVbrQuality = std::min(nQuality, 9u);
}

void CMp3PageModel::ApplyPreset(const SMp3Preset& preset) {
    SetMpegVersion(preset.m_nMpegVersion);
    m_nStoredSampleRate = preset.m_nSampleRate;
    m_nSampleRatePosition =
        CEncodingOptions::SampleRatePosition(m_nMpegVersion, preset.m_nSampleRate);
    m_nChannelMode = preset.m_nChannelMode;
    if (m_bVbr) {
        m_nVbrMinPosition =
            CEncodingOptions::BitratePosition(m_nMpegVersion, preset.m_nVbrMinBitrate);
        m_nVbrMaxPosition =
            CEncodingOptions::BitratePosition(m_nMpegVersion, preset.m_nVbrMaxBitrate);
        m_nVbrQuality = preset.m_nVbrQuality;
        return;
    }
    m_nCbrPosition = CEncodingOptions::BitratePosition(m_nMpegVersion, preset.m_nBitrate);
}

int CMp3PageModel::ThumbPosition(double dValue) {
    return std::clamp(static_cast<int>(dValue + 0.5), 0, CEncodingOptions::kBitrateChoices - 1);
}

int CMp3PageModel::ShownPosition(int nPosition) const {
    if (nPosition < CEncodingOptions::kBitrateChoices)
        return std::max(nPosition, 0);
    return CEncodingOptions::BitratePosition(m_nMpegVersion, BitrateAt(m_nMpegVersion, nPosition));
}
