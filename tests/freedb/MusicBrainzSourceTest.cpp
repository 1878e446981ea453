#include "freedb/protocol/MusicBrainzSource.h"

#include "freedb/service/AlbumList.h"
#include "freedb/service/FreeDBClient.h"
#include "freedb/service/FreeDBSettings.h"
#include "support/MusicBrainzTestServer.h"
#include "support/RecordingOwner.h"
#include "support/TempDir.h"
#include "support/TinyProxy.h"

#include <gtest/gtest.h>

namespace {
using SReply = CMusicBrainzTestServer::SReply;

// The disc ID hit: the disc itself, with a release of two discs; the second holds it.
const char* const kDiscReply = R"({"id": "DISCID", "offset-count": 3, "sectors": 45000,
  "offsets": [150, 15150, 30150],
  "releases": [{"id": "r1", "title": "Double", "date": "2007-11-07",
    "artist-credit": [{"name": "Singer", "joinphrase": " feat. "},
                      {"name": "Guest", "joinphrase": "", "artist": {"name": "Guest"}}],
    "media": [{"position": 1, "title": null, "track-count": 3, "discs": [],
               "tracks": [{"title": "Wrong 1"}, {"title": "Wrong 2"}, {"title": "Wrong 3"}]},
              {"position": 2, "title": "Night", "track-count": 3, "discs": [{"id": "DISCID"}],
               "tracks": [{"title": "Dusk", "length": 200000},
                          {"title": "", "recording": {"title": "Midnight", "length": null}},
                          {"title": "Dawn", "length": 198000,
                           "artist-credit": [{"name": "Other", "joinphrase": ""}]}]}]}]})";

// The fuzzy hit by track lengths: two releases; the first has a medium of another track
// count and one of nearly these lengths, the second lacks most fields.
const char* const kFuzzyReply = R"({"release-count": 2, "release-offset": 0, "releases": [
  {"id": "r2", "title": "Near", "date": "1999", "artist-credit": [{"name": "Band"}],
   "media": [{"position": 1, "tracks": [{"title": "a"}, {"title": "b"}, {"title": "c"},
                                        {"title": "d"}]},
             {"position": 2, "tracks": [{"title": "One", "length": 201000},
                                        {"title": "Two", "length": 199000},
                                        {"title": "Three", "length": 198500}]}]},
  {"id": "r3", "title": null, "date": null, "artist-credit": null,
   "media": [{"tracks": [{"title": "x"}, {"title": "y"}, null]}, "junk"]},
  {"id": "r4", "title": "No media"}, 17]})";

class MusicBrainzSourceTest : public ::testing::Test {
protected:
    MusicBrainzSourceTest() {
        m_settings.m_strMusicBrainzUrl = m_server.BaseUrl();
        m_settings.m_nTimeout = 5;
        m_source.SetOwner(&m_owner);
    }

    // The list of three WAV files of 200, 200 and 198 s.
    static CAlbumInfo Disc() { return CAlbumInfo::FromPlayTimes({200, 200, 198}); }

    static std::string DiscId() {
        std::string id;
        std::string toc;
        CMusicBrainzSource::DiscIdAndToc(Disc(), id, toc);
        return id;
    }

    bool Query(CAlbumList& results) {
        CAlbumInfo disc = Disc();
        return m_source.Open() && m_source.Query(disc, results);
    }

    CMusicBrainzTestServer m_server;
    CTempDir m_dir;
    CFreeDBSettings m_settings{m_dir.File("CDPLAYER.INI")};
    CRecordingOwner m_owner;
    CMusicBrainzSource m_source{m_settings, nullptr};
};

std::string WithDiscId(std::string text, const std::string& strId) {
    for (size_t at = text.find("DISCID"); at != std::string::npos; at = text.find("DISCID"))
        text.replace(at, 6, strId);
    return text;
}
} // namespace

// The TOC of the service's notes: libdiscid gives the disc ID written there, and our own
// FreeDB ID of that disc agrees with the one written there.
TEST(MusicBrainzDiscIdTest, TheKnownTocGivesTheKnownIds) {
    const int offsets[] = {150, 6614, 32287, 54041, 61236, 88129, 92729, 115276, 153877};
    CAlbumInfo album;
    for (size_t i = 0; i < 9; ++i)
        album.GetTrack(i).SetFrameOffset(offsets[i]);
    album.SetLeadOut(189343);
    std::string id;
    std::string toc;
    ASSERT_TRUE(CMusicBrainzSource::DiscIdAndToc(album, id, toc));
    EXPECT_EQ(id, "IeldkVfIh1wep_M8CMuDvA0nQ7Q-");
    EXPECT_EQ(toc, "1+9+189343+150+6614+32287+54041+61236+88129+92729+115276+153877");
    EXPECT_EQ(album.GetDiscId(), "6309da09");
    EXPECT_FALSE(CMusicBrainzSource::DiscIdAndToc(CAlbumInfo(), id, toc));
}

TEST_F(MusicBrainzSourceTest, ADiscIdHitTakesTheMediumHoldingTheDisc) {
    m_server.Queue({200, WithDiscId(kDiscReply, DiscId())});
    CAlbumList results;
    ASSERT_TRUE(Query(results)) << m_owner.LastLine();
    ASSERT_EQ(results.GetCount(), 1u);
    CAlbumInfo& album = results.GetAt(0);
    EXPECT_EQ(album.GetArtist(), "Singer feat. Guest");
    EXPECT_EQ(album.GetTitle(), "Double (disc 2: Night)");
    EXPECT_EQ(album.GetYear(), "2007");
    ASSERT_EQ(album.GetTrackCount(), 3u);
    EXPECT_EQ(album.GetTrack(0).GetTitle(), "Dusk");
    EXPECT_EQ(album.GetTrack(1).GetTitle(), "Midnight");
    // A track by someone else than the release's artist makes a compilation.
    EXPECT_EQ(album.GetTrack(2).GetArtist(), "Other");
    EXPECT_TRUE(album.IsCompilation());
    // The list's own disc: the local cache and apply work as for a CDDB album.
    EXPECT_EQ(album.GetDiscId(), "0c025603");
    EXPECT_EQ(album.GetTrack(2).GetFrameOffset(), 30150);
    EXPECT_TRUE(m_source.Read(album));
    EXPECT_EQ(m_owner.LastLine(), "     Retrieving album info for (0c025603) ... done.");

    const std::vector<CMusicBrainzTestServer::SRequest> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].m_strTarget,
              "/ws/2/discid/" + DiscId() +
                  "?toc=1+3+45000+150+15150+30150&cdstubs=no&inc=recordings+artist-credits"
                  "&fmt=json");
    EXPECT_EQ(requests[0].m_strUserAgent,
              "Wavsmith/" WAVSMITH_VERSION " ( " + m_settings.m_strEmailAddress + " )");
}

TEST_F(MusicBrainzSourceTest, AFuzzyHitTakesTheClosestMediumOfEachRelease) {
    m_server.Queue({200, kFuzzyReply});
    CAlbumList results;
    ASSERT_TRUE(Query(results)) << m_owner.LastLine();
    ASSERT_EQ(results.GetCount(), 2u);
    EXPECT_EQ(results.GetAt(0).GetTrack(2).GetTitle(), "Three");
    EXPECT_EQ(results.GetAt(0).GetTitle(), "Near (disc 2)");
    EXPECT_EQ(results.GetAt(1).GetArtist(), "");
    EXPECT_EQ(results.GetAt(1).GetTrack(1).GetTitle(), "y");
    EXPECT_EQ(m_owner.LastLine(), "[INF]     Found 2 matches.");
}

// 404, a busy server that then answers, replies that are not whole, no server, a stop.
TEST_F(MusicBrainzSourceTest, NothingFoundBusyBrokenRepliesAndAnUnreachableServiceOrAStop) {
    CAlbumList results;
    ASSERT_TRUE(Query(results));
    EXPECT_EQ(results.GetCount(), 0u);
    EXPECT_EQ(m_owner.LastLine(), "[INF]     Nothing found.");

    CMusicBrainzTestServer busy;
    busy.Queue({503, "{}"});
    busy.Queue({200, kFuzzyReply});
    m_settings.m_strMusicBrainzUrl = busy.BaseUrl();
    CMusicBrainzSource source(m_settings, nullptr);
    CAlbumInfo disc = Disc();
    ASSERT_TRUE(source.Query(disc, results));
    EXPECT_EQ(results.GetCount(), 2u);
    const std::vector<CMusicBrainzTestServer::SRequest> requests = busy.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_GE(requests[1].m_time - requests[0].m_time, std::chrono::milliseconds(950));

    const std::string longBody(CMusicBrainzSource::kMaxBodyBytes + 1, ' ');
    const std::string deep = std::string(1000, '[') + std::string(1000, ']');
    const std::pair<SReply, std::string> kBroken[] = {
        {{200, kFuzzyReply, true}, "193: Reply cut short!"},
        {{200, "{\"releases\": [", false}, "193: Malformed reply!"},
        {{200, deep, false}, "193: Malformed reply!"},
        {{200, longBody, false}, "193: Reply too long!"},
        {{500, "{}", false}, "192: Server answered HTTP 500!"},
    };
    for (const auto& [reply, error] : kBroken) {
        CMusicBrainzTestServer broken;
        broken.Queue(reply);
        m_settings.m_strMusicBrainzUrl = broken.BaseUrl();
        CMusicBrainzSource fresh(m_settings, nullptr);
        fresh.SetOwner(&m_owner);
        EXPECT_FALSE(fresh.Query(disc, results));
        EXPECT_EQ(m_owner.LastLine(), "[ERR]Error " + error);
    }

    // An unreachable service, and a source shut down.
    m_settings.m_strMusicBrainzUrl = "http://127.0.0.1:1/ws/2/";
    EXPECT_FALSE(Query(results));
    EXPECT_EQ(m_owner.LastLine(), "[ERR]Error 190: Can't connect to remote server!");

    m_settings.m_strMusicBrainzUrl = m_server.BaseUrl();
    m_source.Shutdown();
    EXPECT_FALSE(Query(results));
}

TEST_F(MusicBrainzSourceTest, TheProxySettingsApply) {
    if (!CTinyProxy::IsInstalled())
        GTEST_SKIP() << "tinyproxy is not installed (tools/install-deps.sh installs it)";
    CTinyProxy proxy("wavsmith", "s3cret");
    ASSERT_TRUE(proxy.IsRunning());
    m_server.Queue({200, kFuzzyReply});
    m_settings.m_bUseProxy = true;
    m_settings.m_bProxyAuth = true;
    m_settings.m_strProxyServer = "127.0.0.1";
    m_settings.m_strProxyPort = std::to_string(proxy.Port());
    m_settings.m_strProxyUser = "wavsmith";
    m_settings.m_strProxyPassword = "wrong";
    CAlbumList results;
    EXPECT_FALSE(Query(results));
    // tinyproxy refuses with 401 rather than 407.
    EXPECT_EQ(m_owner.LastLine().rfind("[ERR]Error 192: Server answered HTTP 4", 0), 0u)
        << m_owner.LastLine();
    EXPECT_TRUE(m_server.Requests().empty());

    m_settings.m_strProxyPassword = "s3cret";
    CMusicBrainzSource source(m_settings, nullptr);
    CAlbumInfo disc = Disc();
    ASSERT_TRUE(source.Query(disc, results));
    EXPECT_EQ(results.GetCount(), 2u);
    EXPECT_EQ(m_server.Requests().size(), 1u);
}

// Chosen like a server: the built-in row, kept when a CDDB server's list replaces the
// others, makes the client look albums up there.
TEST(MusicBrainzSettingsTest, TheBuiltInRowChoosesTheSource) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    EXPECT_FALSE(settings.IsMusicBrainz());
    settings.AddDefaultSites();
    const CFreeDBSite row = settings.GetSite(settings.GetSiteCount() - 1);
    EXPECT_EQ(row.m_strProtocol, "musicbrainz");
    settings.ReplaceSites({CFreeDBSite("a cddbp 8880 -"), CFreeDBSite("b http 80 /cgi")});
    ASSERT_EQ(settings.GetSiteCount(), 3u);
    EXPECT_EQ(settings.GetSite(0).m_strLine, row.m_strLine);

    settings.SetServerOverride(row.m_strHost, row.m_strPort);
    EXPECT_TRUE(settings.IsMusicBrainz());
    EXPECT_EQ(settings.MusicBrainzUrl(), "https://musicbrainz.org/ws/2/");
    CFreeDBClient client(settings, nullptr);
    EXPECT_EQ(client.GetMode(), CFreeDBClient::kModeMusicBrainz);
    settings.SetServerOverride("mirror.test", "8443");
    settings.AddSite(CFreeDBSite("mirror.test musicbrainz 8443 /ws/2/"));
    EXPECT_EQ(settings.MusicBrainzUrl(), "https://mirror.test:8443/ws/2/");
    client.ApplySettings();
    EXPECT_EQ(client.GetMode(), CFreeDBClient::kModeMusicBrainz);
    settings.SetServerOverride("gnudb.gnudb.org", "8880");
    client.ApplySettings();
    EXPECT_EQ(client.GetMode(), CFreeDBClient::kModeCddbp);
}
