#pragma once

#include "filelist/SymbolReplacement.h"

#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class CAppSettings;
class CProfile;
class CTrackItem;

// Builds the MP3 path of a track from the name template, the number style, the
// directories and the symbol replacements. Reads the settings and the profile afresh
// on every call, so a change takes effect with the next name.
class COutputNamer {
public:
    COutputNamer(const CAppSettings& settings, const CProfile& profile);

    // The longest file name the file system takes, in bytes.
    static constexpr size_t kMaxNameBytes = NAME_MAX;

    // Rebuilds `track.m_strMp3Path`; false, changing nothing, for an encoded track.
    // `nCopy` above 1 adds " (nCopy)" before the extension, to tell apart tracks whose
    // names come out the same (the track list does that). A name too long for the file
    // system loses the end of its title, keeping the number and the extension.
    bool BuildOutputName(CTrackItem& track, unsigned nCopy = 1) const;
    std::string ReplaceFileNameSymbols(std::string text) const;
    // The number of the track at 0-based `nPosition` in style 0..3; the letter styles
    // go on past "Z" with "AA", "AB", ...
    static std::string NumberText(unsigned nPosition, unsigned nStyle);

    // The example the ID3 page shows for `strTemplate`: a file name with ".mp3" and
    // no directory, for a sample first track titled `strFirstTitle` ("Track" if empty).
    std::string ExampleName(std::string_view strTemplate, std::string_view strFirstTitle,
                            std::string_view strArtist, std::string_view strAlbum,
                            std::string_view strYear, unsigned nGenre) const;

private:
    // The file name without directory and extension, with `strTitle` for [title].
    std::string FileName(const CTrackItem& track, const std::string& strTitle) const;

    const CAppSettings& m_settings;
    const CProfile& m_profile;
    // The replacement table as last read from the profile, and the profile's revision then.
    mutable std::optional<CSymbolReplacement> m_symbols;
    mutable unsigned long long m_nSymbolsRevision = 0;
};
