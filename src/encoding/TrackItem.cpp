#include "encoding/TrackItem.h"

#include "encoding/AppSettings.h"
#include "lang/StringCatalogue.h"
#include "platform/Text.h"

CTrackItem::CTrackItem(const CAppSettings& settings) : m_strOutputDir(settings.m_strOutputDir) {
    CopyEncodingSettings(settings);
}

void CTrackItem::CopyEncodingSettings(const CAppSettings& settings) {
    m_bDeleteWav = settings.m_bDelWav ? 1 : 0;
    m_nOutSampleRate = settings.m_nSampleRate;
    m_nChannelMode = settings.m_nChannelMode;
    m_nBitrate = settings.m_nBitrate;
    m_nMpegVersion = settings.m_nMpegVersion;
    m_bVbr = settings.m_bVbr;
    m_nVbrMinBitrate = settings.m_nVbrMinBitrate;
    m_nVbrMaxBitrate = settings.m_nVbrMaxBitrate;
    m_nVbrQuality = settings.m_nVbrQuality;
    m_bPrivate = settings.m_bPrivate;
    m_bCrc = settings.m_bCrc;
    m_bCopyright = settings.m_bCopyright;
    m_bOriginal = settings.m_bOriginal;
    m_bUseId3Tag = settings.m_bUseId3Tag ? 1 : 0;
    m_strArtist = settings.m_strArtist;
    m_strAlbum = settings.m_strAlbum;
    m_strYear = settings.m_strYear;
    m_nGenre = settings.m_nGenre;
    m_strComment = settings.m_strComment;
    // The estimate uses the CBR rate also when VBR is on: it is only a guide.
    m_nMp3Size =
        EstimateMp3Size(SoundFileSize(), settings.m_nBitrate, settings.m_nSampleRate,
                        m_nSamplesPerSec, settings.m_nChannelMode != 0 ? 2 : 1, m_nChannels);
}

unsigned CTrackItem::SoundFileSize() const {
    constexpr unsigned kPlainHeaderSize = 44;
    if (m_nWavSize == 0)
        return 0;
    return m_nDataLength > 0xFFFFFFFFu - kPlainHeaderSize ? 0xFFFFFFFFu
                                                          : m_nDataLength + kPlainHeaderSize;
}

std::string CTrackItem::TrackStatusText(const CStringCatalogue& catalogue) const {
    if (m_bEncoded)
        return catalogue.LoadUiString(m_bWavKept ? UiString::kTrackEncodedWavKept
                                                 : UiString::kTrackEncoded);
    if (m_bEncoding) {
        const unsigned percent = m_nPercent;
        return percent >= 100 ? std::string("100 %") : CText::Format("%u %%", percent);
    }
    return catalogue.LoadUiString(UiString::kTrackNotEncoded);
}

std::string CTrackItem::OptionSummary() const {
    if (m_bVbr)
        return CText::Format("VBR, %d - %d kbps. Quality - %d", static_cast<int>(m_nVbrMinBitrate),
                             static_cast<int>(m_nVbrMaxBitrate), static_cast<int>(m_nVbrQuality));
    return CText::Format("CBR, %d kbps", static_cast<int>(m_nBitrate));
}

unsigned CTrackItem::EstimateMp3Size(unsigned nWavSize, unsigned nBitrate, unsigned nOutRate,
                                     unsigned nInRate, unsigned nOutChannels,
                                     unsigned nInChannels) {
    // A WAV of unknown rate or channel count gives no estimate rather than a division by 0.
    if (nInRate == 0 || nInChannels == 0)
        return 0;
    constexpr float kBytesPerKbitOfCdAudio = 1.0f / 1410.0f;
    const double size = static_cast<double>(nWavSize) * nBitrate * kBytesPerKbitOfCdAudio *
                        nOutRate / nInRate * nOutChannels / nInChannels;
    if (size >= 4294967295.0)
        return 0xFFFFFFFFu;
    return static_cast<unsigned>(size);
}
