#pragma once

#include "encoding/BladeEncApi.h"

#include <array>
#include <cstdint>
#include <string>

class CTrackItem;
class IUserPrompt;

// The encoder library, loaded at run time for one encode run and released after it.
// Loaded and released on the window thread; called only from the encode worker.
class CEncoderLibrary {
public:
    static constexpr const char* kDefaultLibraryName = "liblame_enc.so";

    using Config = std::array<std::uint8_t, BladeEnc::kConfigSize>;

    CEncoderLibrary() = default;
    ~CEncoderLibrary();
    CEncoderLibrary(const CEncoderLibrary&) = delete;
    CEncoderLibrary& operator=(const CEncoderLibrary&) = delete;

    // Loads the library (beside the executable first, then from an installed program's
    // library folder, then through the library search)
    // and checks its entry points. A failure is shown through `prompt`.
    bool LoadEncoderLibrary(IUserPrompt& prompt,
                            const std::string& strLibraryName = kDefaultLibraryName);
    void ReleaseEncoderLibrary();
    bool IsLoaded() const { return m_hModule != nullptr; }

    // The configuration record of `track` for WAV data at `nInputRate`.
    static Config BuildEncoderConfig(const CTrackItem& track, unsigned nInputRate);

    BladeEnc::InitStreamFn m_pInitStream = nullptr;
    BladeEnc::EncodeChunkFn m_pEncodeChunk = nullptr;
    BladeEnc::DeinitStreamFn m_pDeinitStream = nullptr;
    BladeEnc::WriteVbrHeaderFn m_pWriteVbrHeader = nullptr;
    BladeEnc::CloseStreamFn m_pCloseStream = nullptr;

private:
    void* m_hModule = nullptr;
};
