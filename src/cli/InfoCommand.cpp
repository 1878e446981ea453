#include "cli/InfoCommand.h"

#include "cli/ListCommand.h"
#include "filelist/TrackInfoPages.h"
#include "filelist/TrackList.h"

CInfoCommand::CInfoCommand(CAppSettings& settings, const CProfile& profile,
                           const CStringCatalogue& catalogue)
    : m_settings(settings), m_profile(profile), m_catalogue(catalogue) {}

bool CInfoCommand::Run(const std::vector<std::string>& paths, unsigned nTrack, std::ostream& out,
                       std::ostream& errors) {
    CTrackList tracks;
    CListCommand list(m_settings, m_profile);
    const bool allRead = list.AddPaths(paths, tracks, errors);
    if (nTrack == 0 || nTrack > tracks.Count()) {
        errors << "wavsmith-cli: the list has " << tracks.Count() << " track(s), no track "
               << nTrack << '\n';
        return false;
    }
    const SInfoPages pages = CTrackInfoPages(m_settings, m_catalogue).Build(tracks.At(nTrack - 1));
    if (pages.m_strError) {
        out << *pages.m_strError << '\n';
        return false;
    }
    for (size_t i = 0; i < pages.m_pages.size(); ++i) {
        if (i > 0)
            out << '\n';
        out << pages.m_pages[i].m_strTitle << '\n' << pages.m_pages[i].m_strText << '\n';
    }
    return allRead;
}
