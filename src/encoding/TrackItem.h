#pragma once

#include <atomic>
#include <cstdint>
#include <string>

class CAppSettings;
class CStringCatalogue;

// One WAV file of the file list: what the WAV reader learned about it, its place and
// state in the list, and its own copy of the encoding options and tag texts.
// Owned by the track list through std::unique_ptr and never copied. The fields the
// encode worker writes while the window thread reads them are atomic.
class CTrackItem {
public:
    // A record with the options and tag defaults of `settings`.
    explicit CTrackItem(const CAppSettings& settings);
    CTrackItem(const CTrackItem&) = delete;
    CTrackItem& operator=(const CTrackItem&) = delete;

    // Copies the options, tag texts and deletion flag of `settings` and re-estimates the
    // MP3 size. Output directory and title are left alone.
    void CopyEncodingSettings(const CAppSettings& settings);

    // The size of a file with a plain 44-byte header holding the same sound (for such a
    // file, its size), so that other chunks, however large, do not count; 0 before the file
    // was read.
    unsigned SoundFileSize() const;

    // "Encoded", "42 %" while encoding, or "-".
    std::string TrackStatusText(const CStringCatalogue& catalogue) const;
    // "VBR, 128 - 320 kbps. Quality - 2" or "CBR, 160 kbps".
    std::string OptionSummary() const;

    // Estimated MP3 size in bytes; see the formula in the .cpp.
    static unsigned EstimateMp3Size(unsigned nWavSize, unsigned nBitrate, unsigned nOutRate,
                                    unsigned nInRate, unsigned nOutChannels, unsigned nInChannels);

    unsigned m_nIndex = 0;
    std::string m_strFileTitle;
    std::atomic<bool> m_bChecked{true};
    std::atomic<unsigned> m_nPercent{0};
    std::string m_strOutputDir;
    std::string m_strWavDir;
    std::atomic<bool> m_bWavPresent{false};
    std::atomic<bool> m_bEncoding{false};
    unsigned m_bDeleteWav = 0;
    std::string m_strWavPath;
    unsigned m_nSampleFrames = 0;
    unsigned m_nWavSize = 0;
    // Where the samples of the `data` chunk start in the file and how many bytes they
    // take, cut at the file's end: the only bytes that are sound.
    std::uint32_t m_nDataOffset = 0;
    std::uint32_t m_nDataLength = 0;
    unsigned m_nPlayTime = 0;
    // 1 integer PCM, 3 IEEE float; an extensible file has the tag of its sub-format.
    std::uint16_t m_wFormatTag = 0;
    std::uint16_t m_nChannels = 0;
    unsigned m_nSamplesPerSec = 0;
    unsigned m_nAvgBytesPerSec = 0;
    std::uint16_t m_nBlockAlign = 0;
    std::uint16_t m_wBitsPerSample = 0;

    std::atomic<bool> m_bEncoded{false};
    // The run was to delete the WAV but kept it: its MP3 file could not be proven whole.
    // The reason is written before the flag is set, and not read before the flag is.
    std::atomic<bool> m_bWavKept{false};
    std::string m_strWavKeptReason;
    std::string m_strMp3Path;
    unsigned m_nOutSampleRate = 0;
    unsigned m_nChannelMode = 0;
    unsigned m_nBitrate = 0;
    unsigned m_nMpegVersion = 0;
    unsigned m_nMp3Size = 0;
    unsigned m_bVbr = 0;
    unsigned m_nVbrMinBitrate = 0;
    unsigned m_nVbrMaxBitrate = 0;
    unsigned m_nVbrQuality = 0;
    unsigned m_bPrivate = 0;
    unsigned m_bCrc = 0;
    unsigned m_bCopyright = 0;
    unsigned m_bOriginal = 0;
    unsigned m_bUseId3Tag = 0;
    std::string m_strTitle = "-";
    std::string m_strArtist;
    std::string m_strAlbum;
    std::string m_strYear;
    unsigned m_nGenre = 0;
    std::string m_strComment;
};
