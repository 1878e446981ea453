#pragma once

#include <cstdio>
#include <string>

class CStringCatalogue;
class CTrackItem;

// Why a file was refused: the catalogue text of the reason with the number it names
// (channels, bits, a format tag), or for the system's reasons its error number; and
// whether the file could not be read at all, as against being refused for what it holds.
struct SWaveRefusal {
    unsigned m_nReasonId = 0;
    unsigned m_nNumber = 0;
    int m_nSystemError = 0;
    bool m_bUnreadable = false;

    bool operator==(const SWaveRefusal&) const = default;
};

// Decides whether a file is a WAV file the program accepts, and fills the format
// fields, sizes and play time of its track record.
class CWaveReader {
public:
    // Reads the file at `strPath`; false refuses it, with the reason in `pRefusal` when given.
    static bool ParseWaveFile(CTrackItem& track, const std::string& strPath,
                              SWaveRefusal* pRefusal = nullptr);

    // The chunk walk over an open stream positioned at byte 0: the RIFF/WAVE header, the
    // `fmt ` fields, and where the `data` chunk's samples lie and how many frames they
    // hold. False refuses the stream.
    static bool ParseWaveHeader(CTrackItem& track, std::FILE* stream,
                                SWaveRefusal* pRefusal = nullptr);

    // The refusal of a file that could not be opened or read, from the error number
    // CRegularFile or the system gave.
    static SWaveRefusal UnreadableRefusal(int nError);
    // The reason in the catalogue's language ("3 channels", "permission denied").
    static std::string RefusalText(const SWaveRefusal& refusal, const CStringCatalogue& catalogue);

    // Whole seconds of the track's `data` bytes; 0 when the format gives no rate.
    static unsigned PlayTime(const CTrackItem& track);
};
