#pragma once

#include <string>
#include <vector>

class CProfile;

// The FreeDB editor window's own preferences in the profile's section "FreeDB": where it
// stands, how wide its tree is, which bars show and where the search looks. Values out of
// their accepted ranges fall back as the window has always done. The search history lives
// in a section of its own. Lives in the window thread.
class CEditorOptions {
public:
    static constexpr const char* kSection = "FreeDB";
    static constexpr const char* kHistorySection = "FreeDB\\SearchHistory";
    // The search box takes no more.
    static constexpr std::size_t kMaxSearchText = 50;

    int m_nX = 300;
    int m_nY = 200;
    int m_nWidth = 500;  // accepted 400..2000, else 400
    int m_nHeight = 400; // accepted 300..1500, else 300
    // Percent of the width given to the tree: accepted 10..90, else 30.
    int m_nTreeWidth = 30;
    bool m_bShowSearchPrefs = false;
    bool m_bShowSearchBar = true;
    bool m_bShowStatusBar = true;
    bool m_bShowInfoBar = true;
    bool m_bSearchInArtists = true;
    bool m_bSearchInTitles = true;
    bool m_bSearchInTrackTitles = false;
    bool m_bSearchInTrackExtras = false;
    int m_nSearchPrefsX = 100;
    int m_nSearchPrefsY = 100;

    void Load(const CProfile& profile);
    // Writes every key in one save; false when the profile could not be written.
    bool Save(CProfile& profile) const;
    // A tree width as the window keeps it: 10..90, anything else 30.
    static int AcceptTreeWidth(int nPercent);

    // "String0", "String1", ... up to the first one missing or empty.
    static std::vector<std::string> LoadSearchHistory(const CProfile& profile);
    static bool SaveSearchHistory(CProfile& profile, const std::vector<std::string>& history);
    // A text that is not empty and not in the history yet goes on top; answers whether it
    // was added.
    static bool AddToHistory(std::vector<std::string>& history, const std::string& strText);
};
