#include "encoding/EncoderLibrary.h"

#include "encoding/TrackItem.h"
#include "platform/PlatformPaths.h"
#include "platform/UserPrompt.h"

#include <dlfcn.h>

using namespace BladeEnc;

namespace {
std::int32_t EncoderMode(unsigned nChannelMode) {
    switch (nChannelMode) {
    case 0:
        return kModeMono;
    case 1:
        return kModeJointStereo;
    case 3:
        return kModeDualChannel;
    default:
        return kModeStereo;
    }
}

template <typename Fn> Fn Resolve(void* hModule, const char* name) {
    return reinterpret_cast<Fn>(::dlsym(hModule, name));
}

void* OpenLibrary(const std::string& strName) {
    // A name with a directory is taken as it is; a bare name is looked for beside the
    // executable and in an installed program's library folder before the system's
    // library search.
    if (strName.find('/') == std::string::npos) {
        for (const std::string& dir : CPlatformPaths::LibraryDirs()) {
            if (void* handle = ::dlopen((dir + strName).c_str(), RTLD_NOW))
                return handle;
        }
    }
    return ::dlopen(strName.c_str(), RTLD_NOW);
}
} // namespace

CEncoderLibrary::~CEncoderLibrary() {
    ReleaseEncoderLibrary();
}

bool CEncoderLibrary::LoadEncoderLibrary(IUserPrompt& prompt, const std::string& strLibraryName) {
    ReleaseEncoderLibrary();
    m_hModule = OpenLibrary(strLibraryName);
    if (m_hModule == nullptr) {
        prompt.ShowMessage("Error at loading dynamic library!", EPromptIcon::None);
        return false;
    }
    m_pInitStream = Resolve<InitStreamFn>(m_hModule, "beInitStream");
    m_pEncodeChunk = Resolve<EncodeChunkFn>(m_hModule, "beEncodeChunk");
    m_pDeinitStream = Resolve<DeinitStreamFn>(m_hModule, "beDeinitStream");
    m_pWriteVbrHeader = Resolve<WriteVbrHeaderFn>(m_hModule, "beWriteVBRHeader");
    m_pCloseStream = Resolve<CloseStreamFn>(m_hModule, "beCloseStream");

    const struct {
        bool m_bPresent;
        const char* m_strMessage;
    } checks[] = {
        {m_pInitStream != nullptr, "NOT all right with pointer on function beInitStream!"},
        {m_pEncodeChunk != nullptr, "NOT all right with pointer on function beEncodeChunk!"},
        {m_pDeinitStream != nullptr, "NOT all right with pointer on function beDeinitStream!"},
        {m_pWriteVbrHeader != nullptr, "NOT all right with pointer on function beWriteVBRHead!"},
        {m_pCloseStream != nullptr, "NOT all right with pointer on function beCloseStream!"},
    };
    for (const auto& check : checks) {
        if (!check.m_bPresent) {
            prompt.ShowMessage(check.m_strMessage, EPromptIcon::None);
            return false;
        }
    }
    return true;
}

void CEncoderLibrary::ReleaseEncoderLibrary() {
    if (m_hModule != nullptr)
        ::dlclose(m_hModule);
    m_hModule = nullptr;
    m_pInitStream = nullptr;
    m_pEncodeChunk = nullptr;
    m_pDeinitStream = nullptr;
    m_pWriteVbrHeader = nullptr;
    m_pCloseStream = nullptr;
}

CEncoderLibrary::Config CEncoderLibrary::BuildEncoderConfig(const CTrackItem& track,
                                                            unsigned nInputRate) {
    Config record{};
    std::uint8_t* p = record.data();
    const bool vbr = track.m_bVbr != 0;
    WriteLe32(p, kOffsetKind, kConfigKindLame);
    WriteLe32(p, kOffsetVersion, kConfigVersion);
    WriteLe32(p, kOffsetStructSize, kConfigSize - 4);
    WriteLe32(p, kOffsetInputRate, nInputRate);
    WriteLe32(p, kOffsetOutputRate, track.m_nOutSampleRate);
    WriteLe32(p, kOffsetMode, static_cast<std::uint32_t>(EncoderMode(track.m_nChannelMode)));
    WriteLe32(p, kOffsetBitrate, vbr ? track.m_nVbrMinBitrate : track.m_nBitrate);
    WriteLe32(p, kOffsetMaxBitrate, vbr ? track.m_nVbrMaxBitrate : 0);
    WriteLe32(p, kOffsetPreset, 0);
    WriteLe32(p, kOffsetMpegVersion, track.m_nMpegVersion == 0 ? kMpeg1 : kMpeg2);
    WriteLe32(p, kOffsetPsyModel, 0);
    WriteLe32(p, kOffsetEmphasis, 0);
    WriteLe32(p, kOffsetPrivate, track.m_bPrivate);
    WriteLe32(p, kOffsetCrc, track.m_bCrc);
    WriteLe32(p, kOffsetCopyright, track.m_bCopyright);
    WriteLe32(p, kOffsetOriginal, track.m_bOriginal);
    // CBR files get the header too, as an Info frame: it carries the encoder delay and
    // padding that players trim for gapless playback.
    WriteLe32(p, kOffsetWriteVbrHeader, 1);
    WriteLe32(p, kOffsetEnableVbr, track.m_bVbr);
    WriteLe32(p, kOffsetVbrQuality, vbr ? track.m_nVbrQuality : 0);
    return record;
}
