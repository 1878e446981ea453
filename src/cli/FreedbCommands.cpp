#include "cli/FreedbCommands.h"

#include "cli/ConnectionOptions.h"
#include "cli/HelloRefusal.h"
#include "freedb/protocol/AlbumSourceOwner.h"
#include "freedb/protocol/CddbHttpClient.h"
#include "freedb/protocol/CddbpClient.h"
#include "freedb/protocol/LogStamp.h"
#include "freedb/protocol/ServerStats.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/FreeDBSettings.h"
#include "platform/Profile.h"

#include <charconv>
#include <memory>

namespace {
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

bool ParseUnsigned(const std::string& text, unsigned& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool IsDiscId(const std::string& text) {
    return text.size() == 8 &&
           text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}
} // namespace

// Shows each completed log line on standard error as the log window stamps it, when
// --log is given. Nobody can answer a password prompt or ask for a stop.
class CFreedbCommands::CLogOwner : public IAlbumSourceOwner {
public:
    CLogOwner(bool bShow, std::ostream& err) : m_bShow(bShow), m_err(err) {}
    void LogLine(const std::string& strLine) override {
        m_refusal.Notice(strLine);
        if (m_bShow)
            m_err << CLogStamp::StampNow(strLine) << '\n';
    }
    bool IsStopRequested() const override { return false; }
    bool AskProxyPassword(std::string&, std::string&) override { return false; }
    bool WasRefused() const { return m_refusal.WasRefused(); }
    // After a failure: says so when the server refused the hello.
    void ExplainRefusal() const {
        if (m_refusal.WasRefused())
            m_err << m_refusal.Message();
    }

private:
    bool m_bShow;
    std::ostream& m_err;
    CHelloRefusal m_refusal;
};

CFreedbCommands::CFreedbCommands(const CConnectionOptions& options, std::string strProfilePath,
                                 std::ostream& out, std::ostream& err)
    : m_options(options), m_strProfilePath(std::move(strProfilePath)), m_out(out), m_err(err) {}

int CFreedbCommands::Usage(const std::string& strError) const {
    m_err << "wavsmith-cli: " << strError << "\nTry 'wavsmith-cli --help'.\n";
    return kExitUsage;
}

// The logging level lives in the profile; the run only reads it.
CProfile CFreedbCommands::LoggingLevel() const {
    CProfile logging;
    logging.WriteInt("FreeDB", "Logging",
                     m_options.IsFullLog() || CFreeDBSettings::SProfileOptions::IsFullLogging(
                                                  CProfile(m_strProfilePath)));
    return logging;
}

template <typename Operation> int CFreedbCommands::WithOpenClient(Operation operation) {
    CFreeDBSettings settings(m_options.CdPlayerIniPath());
    m_options.ApplyOverrides(settings);
    if (settings.IsMusicBrainz())
        return Usage("this is a CDDB command; MusicBrainz answers 'lookup' and 'encode --freedb'");
    const CProfile logging = LoggingLevel();
    CLogOwner owner(m_options.IsLogShown(), m_err);
    std::unique_ptr<CCddbClient> client;
    if (settings.m_bUseHTTP)
        client = std::make_unique<CCddbHttpClient>(settings, &logging);
    else
        client = std::make_unique<CCddbpClient>(settings, &logging);
    client->SetOwner(&owner);
    if (!client->Open()) {
        if (!owner.WasRefused())
            m_err << "wavsmith-cli: could not connect to " << settings.m_strRemoteServer << ":"
                  << settings.m_strRemotePort << "\n";
        owner.ExplainRefusal();
        return kExitFailure;
    }
    const bool done = operation(*client, settings);
    client->Log("\tClosing connection ...");
    client->Close();
    client->Log("done.\r\n");
    if (!done)
        owner.ExplainRefusal();
    return done ? kExitSuccess : kExitFailure;
}

int CFreedbCommands::Query(const std::vector<std::string>& args) {
    unsigned tracks = 0;
    if (args.size() < 3 || !IsDiscId(args[0]) || !ParseUnsigned(args[1], tracks) || tracks == 0 ||
        args.size() != tracks + 3)
        return Usage("'query' takes DISCID NTRACKS, one frame offset per track, and SECONDS");
    CAlbumInfo album;
    album.SetDiscId(args[0]);
    for (unsigned i = 0; i <= tracks; ++i) {
        unsigned number = 0;
        if (!ParseUnsigned(args[2 + i], number) || number > 0x7fffffffu)
            return Usage("'" + args[2 + i] + "' is not a frame offset or length");
        if (i == tracks)
            album.SetDiscLength(number);
        else
            album.GetTrack(i).SetFrameOffset(static_cast<int32_t>(number));
    }
    return WithOpenClient([&](CCddbClient& client, CFreeDBSettings&) {
        CAlbumList found;
        if (!client.Query(album, found))
            return false;
        for (size_t i = 0; i < found.GetCount(); ++i) {
            const CAlbumInfo& match = found.GetAt(i);
            m_out << match.GetCategory() << " " << match.GetStoredDiscId() << " "
                  << match.GetArtist() << " / " << match.GetTitle() << "\n";
        }
        return true;
    });
}

int CFreedbCommands::Read(const std::vector<std::string>& args) {
    if (args.size() != 2 || !IsDiscId(args[1]))
        return Usage("'read' takes CATEGORY DISCID");
    CAlbumInfo album;
    album.SetCategory(args[0]);
    album.SetDiscId(args[1]);
    return WithOpenClient([&](CCddbClient& client, CFreeDBSettings&) {
        if (!client.Read(album))
            return false;
        PrintAlbum(album);
        return true;
    });
}

void CFreedbCommands::PrintAlbum(CAlbumInfo& album) const {
    m_out << "Artist: " << album.GetArtist() << "\nTitle: " << album.GetTitle()
          << "\nYear: " << album.GetYear() << "\nDisc length: " << album.GetDiscLength()
          << " seconds\n";
    for (size_t i = 0; i < album.GetTrackCount(); ++i) {
        const CAlbumTrack& track = album.GetTrack(i);
        m_out << (i + 1) << '\t' << track.GetLengthText() << '\t' << track.GetFrameOffset() << '\t';
        if (album.IsCompilation())
            m_out << track.GetArtist() << '\t';
        m_out << track.GetTitle() << '\t' << track.GetExtra() << '\n';
    }
}

int CFreedbCommands::Search(const std::vector<std::string>& args) {
    if (args.empty())
        return Usage("'search' needs the words to search for");
    std::string words;
    for (const std::string& word : args)
        words += (words.empty() ? "" : " ") + word;
    CFreeDBSettings settings(m_options.CdPlayerIniPath());
    m_options.ApplyOverrides(settings);
    const CProfile logging = LoggingLevel();
    CLogOwner owner(m_options.IsLogShown(), m_err);
    CCddbHttpClient client(settings, &logging);
    client.SetOwner(&owner);
    if (m_options.WebHost())
        client.SetWebHost(*m_options.WebHost(), m_options.WebPort());
    // Opening the gateway client connects nothing; it sets up the proxy, which the search
    // goes through as the gateway's commands do.
    if ((settings.m_bUseHTTP || settings.m_bUseProxy) && !client.Open())
        return kExitFailure;
    CAlbumList found;
    if (!client.Search(words, m_options.InArtists(), m_options.InTitles(), m_options.InTracks(),
                       m_options.InOther(), found))
        return kExitFailure;
    for (size_t i = 0; i < found.GetCount(); ++i) {
        const CAlbumInfo& album = found.GetAt(i);
        m_out << album.GetCategory() << " " << album.GetStoredDiscId() << " " << album.GetArtist()
              << " / " << album.GetTitle() << "\n";
    }
    return kExitSuccess;
}

int CFreedbCommands::Sites(const std::vector<std::string>& args, bool bSave) {
    if (!args.empty())
        return Usage("'sites' takes no arguments");
    return WithOpenClient([&](CCddbClient& client, CFreeDBSettings& settings) {
        if (!client.GetSites(settings))
            return false;
        for (size_t i = 0; i < settings.GetSiteCount(); ++i)
            m_out << settings.GetSite(i).m_strLine << "\n";
        return !bSave || SaveSites(settings);
    });
}

// Stores the list received as the servers-list dialog does, into the file as it is:
// this run's overrides of the server and the connection stay out of it.
bool CFreedbCommands::SaveSites(const CFreeDBSettings& received) const {
    CFreeDBSettings stored(m_options.CdPlayerIniPath());
    stored.ClearSites();
    for (size_t i = 0; i < received.GetSiteCount(); ++i)
        stored.AddSite(received.GetSite(i));
    if (stored.Save())
        return true;
    m_err << "wavsmith-cli: could not save the server list into " << stored.GetIniPath() << "\n";
    return false;
}

int CFreedbCommands::Stat(const std::vector<std::string>& args) {
    if (!args.empty())
        return Usage("'stat' takes no arguments");
    return WithOpenClient([&](CCddbClient& client, CFreeDBSettings&) {
        CServerStats stats;
        if (!client.GetStats(stats))
            return false;
        m_out << "Database entries: " << stats.m_nTotal << "\nblues: " << stats.m_nBlues
              << "\nclassical: " << stats.m_nClassical << "\ncountry: " << stats.m_nCountry
              << "\nfolk: " << stats.m_nFolk << "\njazz: " << stats.m_nJazz
              << "\nmisc: " << stats.m_nMisc << "\nnewage: " << stats.m_nNewage
              << "\nreggae: " << stats.m_nReggae << "\nrock: " << stats.m_nRock
              << "\nsoundtrack: " << stats.m_nSoundtrack << "\ndata: " << stats.m_nData
              << "\ncurrent users: " << stats.m_nCurrentUsers
              << "\nmax users: " << stats.m_nMaxUsers << "\n";
        return true;
    });
}
