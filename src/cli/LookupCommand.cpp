#include "cli/LookupCommand.h"

#include "cli/ConnectionOptions.h"
#include "cli/EncodeCommand.h"
#include "cli/HelloRefusal.h"
#include "cli/ListCommand.h"
#include "cli/LookupOptions.h"
#include "encoding/AppSettings.h"
#include "filelist/FileList.h"
#include "filelist/TrackList.h"
#include "freedb/service/CDPlayerDatabase.h"
#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/OperationLog.h"
#include "freedb/service/OperationLogObserver.h"
#include "freedb/service/OperationRunner.h"
#include "platform/Profile.h"

namespace {
// Shows the operation log on the error stream as the editor window stamps it.
class CLogPrinter : public IOperationLogObserver {
public:
    explicit CLogPrinter(std::ostream& err) : m_err(err) {}
    void OnLogLine(int /*nLevel*/, const std::string& strLine) override {
        m_err << strLine << '\n';
    }

private:
    std::ostream& m_err;
};
} // namespace

CLookupCommand::CLookupCommand(const CConnectionOptions& connection, const CLookupOptions& options,
                               CProfile& profile, std::ostream& out, std::ostream& err)
    : m_connection(connection), m_options(options), m_profile(profile), m_out(out), m_err(err) {}

int CLookupCommand::Run(const std::vector<std::string>& paths, CAppSettings& settings,
                        const CStringCatalogue& catalogue) {
    CTrackList tracks;
    CListCommand adder(settings, m_profile);
    const bool allRead = adder.AddPaths(paths, tracks, m_err);
    if (tracks.Empty()) {
        m_err << "wavsmith-cli: no WAV file to look up\n";
        return 1;
    }
    CFileList fileList(tracks, settings, m_profile);
    std::vector<CAlbumInfo> albums;
    if (!Lookup(fileList, albums))
        return 1;
    PrintAlbums(albums);
    if (m_options.SelectedAlbum()) {
        if (!Apply(fileList, albums, *m_options.SelectedAlbum()))
            return 1;
        m_out << '\n';
        adder.PrintList(tracks, catalogue, m_out);
    }
    return allRead ? 0 : 1;
}

void CLookupCommand::AttachTo(CEncodeCommand& command) {
    if (!m_options.FreedbAlbum())
        return;
    command.SetListStep([this](CFileList& fileList) {
        std::vector<CAlbumInfo> albums;
        return Lookup(fileList, albums) && Apply(fileList, albums, *m_options.FreedbAlbum());
    });
}

bool CLookupCommand::Lookup(const CFileList& fileList, std::vector<CAlbumInfo>& albums) {
    if (!fileList.HasItems()) {
        m_err << "wavsmith-cli: no WAV file to look up\n";
        return false;
    }
    CFreeDBSettings settings(m_connection.CdPlayerIniPath());
    m_connection.ApplyOverrides(settings);
    // The stored options with this run's overrides, kept in memory only.
    CFreeDBSettings::SProfileOptions stored;
    stored.Load(m_profile);
    CProfile options;
    options.WriteInt("FreeDB", "MaxThreadsCount",
                     static_cast<int>(m_options.Threads().value_or(stored.m_nMaxThreadsCount)));
    options.WriteInt("FreeDB", "WriteToLocalDB", static_cast<int>(stored.m_nWriteToLocalDB));
    options.WriteInt("FreeDB", "Logging", m_connection.IsFullLog() || stored.m_nLogging != 0);

    CLogPrinter printer(m_err);
    COperationLog log(m_connection.IsLogShown() ? &printer : nullptr);
    COperationRunner runner(settings, options, log);
    runner.StartLookup(fileList.BuildAlbum());
    runner.Wait();
    CHelloRefusal refusal;
    for (const COperationLog::SLine& line : log.GetLines())
        refusal.Notice(line.m_strText);
    if (runner.GetFound() < 0) {
        if (refusal.WasRefused())
            m_err << refusal.Message();
        else
            m_err << "wavsmith-cli: the lookup failed: " << runner.GetStatusText()
                  << " (--log shows why)\n";
        return false;
    }
    for (std::size_t i = 0; i < runner.Albums().GetCount(); ++i)
        albums.push_back(runner.Albums().GetAt(i));
    return true;
}

bool CLookupCommand::Apply(CFileList& fileList, std::vector<CAlbumInfo>& albums, unsigned nAlbum) {
    if (nAlbum == 0 || nAlbum > albums.size()) {
        m_err << "wavsmith-cli: there is no album " << nAlbum << "; " << albums.size()
              << " found\n";
        return false;
    }
    CAlbumInfo& album = albums[nAlbum - 1];
    if (album.GetTrackCount() == 0) {
        m_err << "wavsmith-cli: the track list of album " << nAlbum << " was not retrieved\n";
        return false;
    }
    fileList.ApplyAlbum(album);
    CFreeDBSettings::SProfileOptions stored;
    stored.Load(m_profile);
    if (CCDPlayerDatabase::ShouldCache(stored.m_nWriteToLocalDB,
                                       CCDPlayerDatabase::ECacheMoment::Selected)) {
        CFreeDBSettings settings(m_connection.CdPlayerIniPath());
        CCDPlayerDatabase database(settings, m_connection.CdPlayerIniPath());
        database.Store(album);
    }
    return true;
}

void CLookupCommand::PrintAlbums(std::vector<CAlbumInfo>& albums) const {
    for (std::size_t i = 0; i < albums.size(); ++i) {
        CAlbumInfo& album = albums[i];
        m_out << i + 1 << "  " << album.GetCategory() << "  " << album.GetDiscId() << "  "
              << album.GetArtist() << " / " << album.GetTitle() << "  " << album.GetYear() << "  "
              << album.GetTrackCount() << " tracks\n";
        if (album.GetTrackCount() == 0)
            m_out << "    (track list not retrieved)\n";
        for (const CAlbumTrack& track : album.GetTracks()) {
            m_out << "    " << track.GetIndex() + 1 << "  " << track.GetLengthText() << "  ";
            if (!track.GetArtist().empty())
                m_out << track.GetArtist() << " / ";
            m_out << track.GetTitle() << '\n';
        }
    }
}
