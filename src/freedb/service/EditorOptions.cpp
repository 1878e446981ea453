#include "freedb/service/EditorOptions.h"

#include "platform/Profile.h"

#include <algorithm>

namespace {
int InRangeOr(int nValue, int nLow, int nHigh, int nFallback) {
    return nValue < nLow || nValue > nHigh ? nFallback : nValue;
}

bool Flag(const CProfile& profile, const char* key, bool bDefault) {
    return profile.GetInt(CEditorOptions::kSection, key, bDefault ? 1 : 0) != 0;
}

std::string HistoryKey(std::size_t nIndex) {
    return "String" + std::to_string(nIndex);
}
} // namespace

void CEditorOptions::Load(const CProfile& profile) {
    const CEditorOptions defaults;
    m_nX = profile.GetInt(kSection, "x", defaults.m_nX);
    m_nY = profile.GetInt(kSection, "y", defaults.m_nY);
    m_nWidth = InRangeOr(profile.GetInt(kSection, "w", defaults.m_nWidth), 400, 2000, 400);
    m_nHeight = InRangeOr(profile.GetInt(kSection, "h", defaults.m_nHeight), 300, 1500, 300);
    m_nTreeWidth = AcceptTreeWidth(profile.GetInt(kSection, "TreeWidth", defaults.m_nTreeWidth));
    m_bShowSearchPrefs = Flag(profile, "ShowSearchPrefs", defaults.m_bShowSearchPrefs);
    m_bShowSearchBar = Flag(profile, "ShowSearchBar", defaults.m_bShowSearchBar);
    m_bShowStatusBar = Flag(profile, "ShowStatusBar", defaults.m_bShowStatusBar);
    m_bShowInfoBar = Flag(profile, "ShowInfoBar", defaults.m_bShowInfoBar);
    m_bSearchInArtists = Flag(profile, "SearchInArtists", defaults.m_bSearchInArtists);
    m_bSearchInTitles = Flag(profile, "SearchInTitles", defaults.m_bSearchInTitles);
    m_bSearchInTrackTitles = Flag(profile, "SearchInTrackTitles", defaults.m_bSearchInTrackTitles);
    m_bSearchInTrackExtras = Flag(profile, "SearchInTrackExtras", defaults.m_bSearchInTrackExtras);
    m_nSearchPrefsX = profile.GetInt(kSection, "SearchPrefsX", defaults.m_nSearchPrefsX);
    m_nSearchPrefsY = profile.GetInt(kSection, "SearchPrefsY", defaults.m_nSearchPrefsY);
}

bool CEditorOptions::Save(CProfile& profile) const {
    {
        const CProfile::CDeferredSave batch(profile);
        profile.WriteInt(kSection, "x", m_nX);
        profile.WriteInt(kSection, "y", m_nY);
        profile.WriteInt(kSection, "w", m_nWidth);
        profile.WriteInt(kSection, "h", m_nHeight);
        profile.WriteInt(kSection, "TreeWidth", m_nTreeWidth);
        profile.WriteInt(kSection, "ShowSearchPrefs", m_bShowSearchPrefs ? 1 : 0);
        profile.WriteInt(kSection, "ShowSearchBar", m_bShowSearchBar ? 1 : 0);
        profile.WriteInt(kSection, "ShowStatusBar", m_bShowStatusBar ? 1 : 0);
        profile.WriteInt(kSection, "ShowInfoBar", m_bShowInfoBar ? 1 : 0);
        profile.WriteInt(kSection, "SearchInArtists", m_bSearchInArtists ? 1 : 0);
        profile.WriteInt(kSection, "SearchInTitles", m_bSearchInTitles ? 1 : 0);
        profile.WriteInt(kSection, "SearchInTrackTitles", m_bSearchInTrackTitles ? 1 : 0);
        profile.WriteInt(kSection, "SearchInTrackExtras", m_bSearchInTrackExtras ? 1 : 0);
        profile.WriteInt(kSection, "SearchPrefsX", m_nSearchPrefsX);
        profile.WriteInt(kSection, "SearchPrefsY", m_nSearchPrefsY);
    }
    // The batch saved as it ended; a save that failed then is still pending and fails here.
    return profile.Flush();
}

int CEditorOptions::AcceptTreeWidth(int nPercent) {
    return InRangeOr(nPercent, 10, 90, 30);
}

std::vector<std::string> CEditorOptions::LoadSearchHistory(const CProfile& profile) {
    std::vector<std::string> history;
    for (std::size_t i = 0;; ++i) {
        std::string text = profile.GetString(kHistorySection, HistoryKey(i), "");
        if (text.empty())
            return history;
        history.push_back(std::move(text));
    }
}

bool CEditorOptions::SaveSearchHistory(CProfile& profile, const std::vector<std::string>& history) {
    {
        const CProfile::CDeferredSave batch(profile);
        for (std::size_t i = 0; i < history.size(); ++i)
            profile.WriteString(kHistorySection, HistoryKey(i), history[i]);
    }
    return profile.Flush();
}

bool CEditorOptions::AddToHistory(std::vector<std::string>& history, const std::string& strText) {
    if (strText.empty() || std::find(history.begin(), history.end(), strText) != history.end())
        return false;
    history.insert(history.begin(), strText);
    return true;
}
