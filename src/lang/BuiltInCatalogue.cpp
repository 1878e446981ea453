#include "lang/BuiltInCatalogue.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

namespace {
constexpr SCatalogueEntry kEntries[] = {
    // About window
    {4018, "Translated", "Translated by %s (%s)"},
    {59447, "WordFor", "for"},
    {59506, "Caption", "About"},
    {62230, "", "Wavsmith uses LAME MP3 codec engine"},
    {62231, "", "liblame_enc.so"},
    // Main bar labels
    {4019, "", "Open"},
    {4020, "", "Open Dir"},
    {4021, "", "FreeDB"},
    {4022, "", "Output"},
    {4023, "", "Start"},
    {4024, "", "Help"},
    {4025, "", "Exit"},
    // Info bar
    {4029, "SameDirAs4Wav", "< The same dir as for wav file(s) >"},
    {60510, "CaptionInputFolder", "Source folder:"},
    {60511, "CaptionOutputFolder", "Destination folder:"},
    // Tabs of the main view
    {59507, "TrackList", "File List"},
    {59508, "Mp3Settings", "MP3 settings"},
    {59509, "ID3Tag", "ID3 Tag"},
    {4041, "", "FreeDB Settings"},
    // File list columns
    {59410, "ColumnWAVName", "WAV FileName"},
    {59411, "ColumnNumber", "#"},
    {59412, "ColumnTime", "Play Time"},
    {59413, "ColumnWAVSize", "WAV Size"},
    {59414, "ColumnMP3Size", "MP3 Size"},
    {59415, "ColumnStatus", "Status"},
    {59416, "ColumnMP3Name", "MP3 FileName"},
    {59417, "ColumnTitle", "Song Title"},
    {60512, "ColumnDirectory", "Directory"},
    // MP3 page
    {60497, "StaticPrivate", "Private"},
    {60498, "StaticOriginal", "Original"},
    {60499, "StaticCRC", "CRC error protection"},
    {60500, "StaticCopyright", "Copyright"},
    {60501, "StaticVBRQuality", "VBR Quality"},
    {60502, "StaticPresets", "Presets"},
    {60503, "StaticChannelMode", "Channel mode"},
    {60504, "StaticSampleRate", "Sample rate"},
    {60505, "StaticMP3Options", "MP3 header/stream options"},
    {60506, "StaticSystem", "System"},
    {62100, "RadioCBR", "Constant Bitrate"},
    {62101, "RadioVBR", "Variable Bitrate"},
    {62102, "RadioMPEG1", "MPEG - 1"},
    {62103, "RadioMPEG2", "MPEG - 2"},
    {62104, "StaticBitrate", "   Bitrate:"},
    {62105, "StaticMinBitrate", "Min Bitrate:"},
    {62106, "StaticMaxBitrate", "Max Bitrate:"},
    {62107, "RadioMono", "Mono"},
    {62108, "RadioJointStereo", "Joint stereo"},
    {62109, "RadioStereo", "Stereo"},
    {62110, "StaticBitrateGroup", "Bitrate"},
    // ID3 page
    {4030, "",
     "Place MP3 files into the same directory where corresponding WAV files were stored."},
    {4031, "CaptionGenre", "[genre]"},
    {59487, "CaptionTag", "ID3 Tag"},
    {59488, "CaptionUseTag", "Write ID3v1 Tag into MP3 files"},
    {59490, "CaptionDeleteWav", "Delete wav after encode"},
    {59491, "CaptionYear", "[year]"},
    {59492, "CaptionNumber", "[number]"},
    {59493, "CaptionName", "[title]"},
    {59494, "CaptionClear", "Clear"},
    {59495, "CaptionArtist", "[artist]"},
    {59496, "CaptionAlbum", "[album]"},
    {59498, "StaticAlbum", "Album:"},
    {59499, "StaticArtist", "Artist:"},
    {59500, "StaticComment", "Comment:"},
    {59501, "StaticFileName", "File name"},
    {59502, "StaticGenre", "Genre:"},
    {59503, "StaticOutputDir", "Directory:"},
    {59504, "StaticYear", "Year:"},
    {59505, "CaptionFileGroup", "Output filename format"},
    {60507, "CaptionProcessPriority", "Process priority:"},
    {60513, "StaticNumber", "Number Format:"},
    {62120, "StaticExample", "Example:"},
    {62121, "StaticPlaylistGroup", "Playlist"},
    {62122, "StaticPlaylistName", "File name:"},
    {62123, "PlaylistNone", "None"},
    {62124, "PlaylistM3U", "M3U Playlist"},
    {62125, "PlaylistExtM3U", "Extended M3U Playlist"},
    {62126, "PlaylistPLS", "PLS File"},
    {62127, "StaticOutputGroup", "Output"},
    {62128, "StaticPlaylistKind", "Kind:"},
    {62129, "StaticEncodeJobs", "Simultaneous encodes:"},
    {62130, "EncodeJobsAuto", "One per core (%d)"},
    // Encoding window
    {59511, "ButtonDetails", "Details"},
    {59512, "ButtonExit", "Exit"},
    {59513, "ButtonSend2Tray", "Send to tray"},
    {59514, "StaticInputFile", "Input file:"},
    {59515, "StaticOutputFile", "Output file:"},
    {59516, "DialogCaption", "Encode"},
    {59517, "StaticCurrentFile", "Current file"},
    {59518, "StaticAllFiles", "All files"},
    {59519, "StaticFrameAll", "Frame/all:"},
    {59520, "StaticTimeEst", "Time/estimated:"},
    {59521, "StaticPlay", "Play:"},
    {60488, "MessageBoxStop", "Are you shure to stop encoding?"},
    // Messages and status-bar totals
    {60489, "MessageNoFolder",
     "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?"},
    {60490, "MessageInvalidPath", "The folder:\n\n%s\n\nis invalid. Please reenter."},
    {60491, "MessageUnableToCreate",
     "The folder:\n\n%s\n\ncannot be created. Please double check."},
    {60492, "MessageSelectMp3Dir", "Please select destination folder for mp3 files:"},
    {60493, "MessageOpenSourceDir", "Open Source Directory"},
    {60494, "MessageOpenSourceDirText",
     "Select a directory where WAV files for converting are stored:"},
    {60495, "StatusBarMessage1", "For %d files required: %.1f Mb"},
    {60496, "StatusBarMessage2", "Play time: %.2d:%.2d"},
    {62200, "", "Include &subfolders"},
    {62201, "", "&Yes"},
    {62202, "", "&No"},
    // Skip Files window
    {4032, "", "Skip Files"},
    {4033, "", "Don't show this window in current session."},
    {4034, "",
     "The following file(s) are corrupted or written with non standard audio format. They will "
     "be skipped while adding into the File List:"},
    {62220, "", "N"},
    {62221, "", "Filename"},
    {62222, "", "Reason"},
    // Symbol Replacement window
    {4043, "", "Symbol Replacement in Filenames"},
    {4044, "",
     "The filename should not include the following special symbols listed below. Here you can "
     "define automatic replacement of them:"},
    {4045, "", "Symbol Replacement ..."},
    {4046, "", "Automaticaly delete duplicated spaces."},
    {4047, "", "Automaticaly delete duplicated dots."},
    // File information window
    {6132, "", "Track Information"},
    {6133, "", "Segment Information"},
    {6134, "", "File Information"},
    {6136, "", "Title\t: %s\nLength\t: %d seconds.\nStatus\t: %s\nWAV\t: %s\nMP3\t: %s"},
    {6137, "",
     "Write ID3 Tagv1\t: %s\nAlbum Track ID\t: %d\nTitle\t\t: %s\nArtist\t\t: %s\nAlbum\t\t: "
     "%s\nYear\t\t: %s\tGenre\t: %s\nComments\t:"},
    {6138, "",
     "Number on CD\t: %d\nSectors range\t: %d - %d\nSize\t\t: %ld bytes\nPlay time\t: %s\nCD "
     "time range\t: %s - %s"},
    {6141, "", "Filename : %s\nDirectory : %s\nSize\t  : %ld bytes\nFormat\t  : PCM %d Hz, %s"},
    {6142, "",
     "Filename : %s\nDirectory : %s\nSize\t  : %ld bytes\nFormat\t  : MPEG %d, %d Hz, "
     "%s\nBitrate\t  : %s\nCopyright : %s\t\tPrivate\t: %s\nOriginal\t  : %s\t\tCRC\t: %s"},
    {6143, "", "General"},
    {6144, "", "Album"},
    {6145, "", "CD Track"},
    {6146, "", "CD Segment"},
    {6147, "", "CD Data"},
    {6148, "", "WAV"},
    {6149, "", "MP3"},
    {6150, "", "Not created"},
    {6151, "", "File will be created after extracting!"},
    {6152, "", "File was already created!"},
    {6153, "", "Yes"},
    {6154, "", "No"},
    {6155, "", "\n\nThis WAV file will be deleted after encoding!"},
    {6156, "", "\n\nFile exists and ready to be encoded!"},
    {6157, "", "\n\nFile was deleted after encode!"},
    {6158, "", "\n\nFile exists and was already encoded!"},
    // Menu titles
    {60402, "", "&Action"},
    {60403, "", "&Edit"},
    {60404, "", "Encode process &priority"},
    {60405, "", "&View"},
    {60406, "", "Set interface language"},
    {60407, "", "View &Columns"},
    {60408, "", "&Help"},
    // List formats, status texts and other single texts
    {59441, "", "%4.2f  MB "},
    {59442, "", "%u:%02u.%02u"},
    {59443, "", "%d"},
    {59430, "", "Encoded"},
    {59431, "", "-"},
    {59432, "", "Encoded, WAV kept: MP3 not proven whole"},
    {59510, "", "Stop"},
    {60514, "", "Hide directory tree"},
    {59479, "", "&Cancel"},
    {59422, "", "For 00 files required: 000.0 Mb"},
    {59423, "", "Play time: 00:00"},
    {4050, "", "Program should be restarted to set another intreface language.\nContinue?"},
    // Commands: the catalogue text is the status-bar prompt
    {32771, "", "Opens files for encoding"},
    {32772, "", "Opens a source directory and adds its WAV files"},
    {32773, "", "Encodes the checked files"},
    {32774, "", "Opens the help"},
    {32775, "", "Shows the program's version and translator"},
    {32776, "", "Quits the program"},
    {32777, "", "Shows or hides the main bar"},
    {32778, "", "Shows or hides the info bar"},
    {32794, "", "Shows the list of hot keys"},
    {32795, "", "Opens the program's web site"},
    {32796, "", "Checks whether a new version is available"},
    {32797, "", "Rereads the source directory"},
    {32801, "", "Sets English as interface language"},
    {32802, "", "Sets low priority for the encode process"},
    {32803, "", "Sets below normal priority for the encode process"},
    {32804, "", "Sets normal priority for the encode process"},
    {32805, "", "Sets above normal priority for the encode process"},
    {32806, "", "Sets highest priority for the encode process"},
    {32809, "", "Shows or hides the number column"},
    {32810, "", "Shows or hides the WAV file name column"},
    {32811, "", "Shows or hides the WAV size column"},
    {32812, "", "Shows or hides the play time column"},
    {32813, "", "Shows or hides the MP3 size column"},
    {32814, "", "Shows or hides the MP3 file name column"},
    {32815, "", "Shows or hides the song title column"},
    {32816, "", "Shows or hides the status column"},
    {32817, "", "Selects the destination directory for MP3 files"},
    {32818, "", "Shows or hides the directory tree"},
    {32819, "", "Shows or hides the directory column"},
    {32823, "", "Plays the WAV file"},
    {32824, "", "Plays the MP3 file"},
    {32825, "", "Get files information from FreeDB"},
    {59393, "", "Shows or hides the status bar"},
    {4005, "", "Clears status for all items in the File List"},
    {4007, "", "Checks all items in the File List"},
    {4008, "", "Unchecks all items in the File List"},
    {4016, "", "Deletes the selected item from the File List"},
    {4017, "", "Deletes all items from the File List"},
    {1951, "", "Inverts the check marks of all items in the File List"},
    {1953, "", "Shows information about the selected file"},
};

constexpr std::pair<unsigned, std::string_view> kMenuTexts[] = {
    {32771, "&Open File(s)...\tCtrl+Ins"},
    {32772, "Open &Directory...\tIns"},
    {32773, "&Encode\tCtrl+E"},
    {32774, "&Help\tF1"},
    {32775, "&About"},
    {32776, "E&xit\tAlt+F4"},
    {32777, "&Main Bar"},
    {32778, "&Info Bar"},
    {32794, "Hot &Keys"},
    {32795, "&Visit Our Site..."},
    {32796, "&Check for New Version..."},
    {32797, "&Refresh\tCtrl+R"},
    {32801, "&English (Default)"},
    {32802, "&Low"},
    {32803, "&Below normal"},
    {32804, "&Normal"},
    {32805, "&Above normal"},
    {32806, "&Highest"},
    {32809, "&Number (#)"},
    {32810, "&WAV Filename"},
    {32811, "WAV &Size"},
    {32812, "&Play Time"},
    {32813, "MP3 Si&ze"},
    {32814, "&MP3 Filename"},
    {32815, "&Title"},
    {32816, "Stat&us"},
    {32817, "&Destination Directory...\tCtrl+D"},
    {32818, "&Directory Tree"},
    {32819, "&Directory"},
    {32823, "Play &WAV"},
    {32824, "Play &MP3"},
    {32825, "Get info from FreeDB"},
    {59393, "&Status Bar"},
    {4005, "Clear &Status"},
    {4007, "Check &All\tCtrl+A"},
    {4008, "&Uncheck All\tCtrl+U"},
    {4016, "&Delete Item"},
    {4017, "Dele&te All Items"},
    {1951, "&Invert Selection\tCtrl+I"},
    {1953, "&File Information...\tAlt+Enter"},
};

constexpr auto MakeCommandIds() {
    std::array<unsigned, std::size(kMenuTexts)> ids{};
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = kMenuTexts[i].first;
    return ids;
}
constexpr auto kCommandIds = MakeCommandIds();
} // namespace

std::span<const SCatalogueEntry> CBuiltInCatalogue::Entries() {
    return kEntries;
}

const SCatalogueEntry* CBuiltInCatalogue::Find(unsigned nId) {
    const auto* found =
        std::find_if(std::begin(kEntries), std::end(kEntries),
                     [nId](const SCatalogueEntry& entry) { return entry.m_nId == nId; });
    return found == std::end(kEntries) ? nullptr : found;
}

std::optional<std::string_view> CBuiltInCatalogue::Text(unsigned nId) {
    const SCatalogueEntry* entry = Find(nId);
    if (entry == nullptr)
        return std::nullopt;
    return entry->m_strText;
}

std::optional<std::string_view> CBuiltInCatalogue::MenuText(unsigned nId) {
    for (const auto& [id, text] : kMenuTexts) {
        if (id == nId)
            return text;
    }
    return std::nullopt;
}

std::span<const unsigned> CBuiltInCatalogue::CommandIds() {
    return kCommandIds;
}

bool CBuiltInCatalogue::IsCommand(unsigned nId) {
    return std::find(kCommandIds.begin(), kCommandIds.end(), nId) != kCommandIds.end();
}
