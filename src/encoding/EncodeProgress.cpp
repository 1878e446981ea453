#include "encoding/EncodeProgress.h"

#include "encoding/EncodeRun.h"
#include "encoding/TrackItem.h"
#include "filelist/TrackList.h"
#include "lang/StringCatalogue.h"
#include "platform/Text.h"

using namespace BladeEnc;

namespace {
constexpr unsigned kCurrentFileLabel = 59517;
constexpr unsigned kAllFilesLabel = 59518;
constexpr unsigned kFrameLabel = 59519;
constexpr unsigned kTimeLabel = 59520;
constexpr unsigned kPlayLabel = 59521;

struct SClock {
    int m_nHours, m_nMinutes, m_nSeconds;
};

SClock Split(float fSeconds) {
    const int n = static_cast<int>(fSeconds + 0.5f);
    return {n / 3600, n / 60 % 60, n % 60};
}
} // namespace

CEncodeProgress::CEncodeProgress(const CStringCatalogue& catalogue)
    // The labels are text of their own and never parsed as formats.
    : m_strF1(catalogue.LoadUiString(kCurrentFileLabel)),
      m_strF2(catalogue.LoadUiString(kAllFilesLabel)), m_strF3(catalogue.LoadUiString(kFrameLabel)),
      m_strF4(catalogue.LoadUiString(kTimeLabel)), m_strF5(catalogue.LoadUiString(kPlayLabel)) {}

void CEncodeProgress::UpdateEncodeCounters(const CTrackList& tracks,
                                           const SEncodeCounters& counters, long long nNowSeconds,
                                           bool bCollapsed) {
    const long long frame = counters.m_nCurrentFrame;
    const long long total = counters.m_nTotalFrames;
    m_nFilePercent = total <= 1 ? 100 : static_cast<int>(frame * 100 / (total - 1));

    unsigned encoded = 0;
    unsigned waiting = 0;
    unsigned current = 0;
    for (size_t i = 0; i < tracks.Count(); ++i) {
        const CTrackItem& track = tracks.At(i);
        if (track.m_bEncoded)
            ++encoded;
        else if (track.m_bChecked)
            ++waiting;
        // Every track being encoded counts, as several are when the run has several jobs.
        if (track.m_bEncoding)
            current += track.m_nPercent;
    }
    m_nOverallPercent =
        encoded + waiting == 0 ? 0 : (current + 100 * encoded) / (encoded + waiting);
    m_strFileLine = m_strF1 + CText::Format(" %d %%", m_nFilePercent);
    m_strOverallLine = m_strF2 + CText::Format(" %d %%", static_cast<int>(m_nOverallPercent));

    if (frame == 0 || !m_bStarted) {
        m_nStartSeconds = nNowSeconds;
        m_bStarted = true;
    }
    if (bCollapsed)
        return;

    m_fElapsed = static_cast<float>(nNowSeconds - m_nStartSeconds);
    if (frame < 1) {
        m_fRemaining = m_fSpeed = m_fEta = 0;
    } else {
        const float left = static_cast<float>(total - frame);
        m_fRemaining = left * m_fElapsed / static_cast<float>(frame);
        const float audioRate = m_fRemaining * static_cast<float>(counters.m_nOutputRate);
        m_fSpeed =
            audioRate <= 0
                ? 0
                : (left * static_cast<float>(counters.m_nFrameSize) / audioRate + m_fSpeed) * 0.5f;
        m_fEta = m_fRemaining;
    }
    m_strFrameLine = m_strF3 + CText::Format(" %6ld/%6ld", static_cast<long>(frame),
                                             static_cast<long>(total - 1));
    const SClock elapsed = Split(m_fElapsed);
    const SClock remaining = Split(m_fRemaining);
    m_strTimeLine =
        m_strF4 + CText::Format("    %2d:%02d:%02d / %2d:%02d:%02d", elapsed.m_nHours,
                                elapsed.m_nMinutes, elapsed.m_nSeconds, remaining.m_nHours,
                                remaining.m_nMinutes, remaining.m_nSeconds);
    m_strSpeedLine = m_strF5 + CText::Format("%10.4f", static_cast<double>(m_fSpeed));
    const SClock eta = Split(m_fEta);
    m_strEtaLine =
        CText::Format("ETA:  %2d:%02d:%02d", eta.m_nHours, eta.m_nMinutes, eta.m_nSeconds);
}

std::string CEncodeProgress::Format1Text(const CEncoderLibrary::Config& config) {
    const std::uint8_t* record = config.data();
    const std::uint32_t outputRate = ReadLe32(record, kOffsetOutputRate);
    const std::uint32_t rate = outputRate != 0 ? outputRate : ReadLe32(record, kOffsetInputRate);
    return CText::Format("%s Output sampling frequency %d Hz",
                         ReadLe32(record, kOffsetMpegVersion) == kMpeg1 ? "MPEG1" : "MPEG2",
                         static_cast<int>(rate));
}

std::string CEncodeProgress::Format2Text(const CEncoderLibrary::Config& config) {
    const std::uint8_t* record = config.data();
    const int bitrate = static_cast<int>(ReadLe32(record, kOffsetBitrate));
    std::string text = ReadLe32(record, kOffsetEnableVbr) != 0
                           ? CText::Format("VBR Bitrate %d - %d kbps", bitrate,
                                           static_cast<int>(ReadLe32(record, kOffsetMaxBitrate)))
                           : CText::Format("CBR Bitrate %d kbps", bitrate);
    switch (static_cast<std::int32_t>(ReadLe32(record, kOffsetMode))) {
    case kModeStereo:
        return text + ", stereo";
    case kModeJointStereo:
        return text + ", joint stereo";
    case kModeDualChannel:
        return text + ", dual channel";
    case kModeMono:
        return text + ", mono";
    default:
        return text + "error";
    }
}
