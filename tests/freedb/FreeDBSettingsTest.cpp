#include "freedb/service/FreeDBSettings.h"

#include "platform/PrivateProfile.h"
#include "platform/Profile.h"
#include "support/TempDir.h"

#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {
mode_t FileMode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

std::string StoredValue(const std::string& path, const char* key) {
    CPrivateProfile ini;
    ini.Load(path);
    return ini.GetString("CDDB", key, "<absent>");
}

// Bytes of a password block, for looking inside it.
std::vector<unsigned> BlockBytes(const std::string& hex) {
    std::vector<unsigned> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}
} // namespace

TEST(FreeDBSettingsLoadTest, MissingFileGivesTheDefaults) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("nothing/CDPLAYER.INI"));
    EXPECT_FALSE(settings.Load());
    EXPECT_EQ(settings.m_strRemoteServer, "gnudb.gnudb.org");
    EXPECT_EQ(settings.m_strRemotePort, "8880");
    EXPECT_EQ(settings.m_nTimeout, 30u);
    EXPECT_EQ(settings.m_strHTTPPath, "/~cddb/cddb.cgi");
    EXPECT_EQ(settings.m_strProxyServer, "");
    EXPECT_EQ(settings.m_strProxyPassword, "");
    EXPECT_EQ(settings.m_strEmailAddress, CFreeDBSettings::kDefaultEmailAddress);
    EXPECT_EQ(settings.m_strSubmitEmailAddress, CFreeDBSettings::kDefaultEmailAddress);
    EXPECT_FALSE(settings.m_bUseHTTP || settings.m_bUseProxy || settings.m_bProxyAuth ||
                 settings.m_bAskPassword);
    EXPECT_EQ(settings.GetSiteCount(), 0u);
}

TEST(FreeDBSettingsLoadTest, OptionBitsLoadAsFlagsAndOnlyTheyAreSavedBack) {
    CTempDir dir;
    const std::string path = dir.WriteFile("CDPLAYER.INI", "[CDDB]\nOPTIONS_CDDB=30\n");
    CFreeDBSettings all(path);
    EXPECT_TRUE(all.m_bUseHTTP && all.m_bUseProxy && all.m_bProxyAuth && all.m_bAskPassword);
    ASSERT_TRUE(all.Save());
    EXPECT_EQ(StoredValue(path, "OPTIONS_CDDB"), "30");

    // Bits 1 and 32 mean nothing here and are dropped on save.
    dir.WriteFile("CDPLAYER.INI", "[CDDB]\nOPTIONS_CDDB=35\n");
    CFreeDBSettings some(path);
    EXPECT_TRUE(some.m_bUseHTTP);
    EXPECT_FALSE(some.m_bUseProxy || some.m_bProxyAuth || some.m_bAskPassword);
    ASSERT_TRUE(some.Save());
    EXPECT_EQ(StoredValue(path, "OPTIONS_CDDB"), "2");
}

TEST(FreeDBSettingsLoadTest, TimeoutOutOfRangeIsThirtySeconds) {
    CTempDir dir;
    const std::string path = dir.File("CDPLAYER.INI");
    for (const char* stored : {"0", "1000", "-5", "soon"}) {
        dir.WriteFile("CDPLAYER.INI", std::string("[CDDB]\nRemoteTimeout=") + stored + "\n");
        EXPECT_EQ(CFreeDBSettings(path).m_nTimeout, 30u) << stored;
    }
    dir.WriteFile("CDPLAYER.INI", "[CDDB]\nRemoteTimeout=999\n");
    EXPECT_EQ(CFreeDBSettings(path).m_nTimeout, 999u);
    dir.WriteFile("CDPLAYER.INI", "[CDDB]\nRemoteTimeout=1\n");
    EXPECT_EQ(CFreeDBSettings(path).m_nTimeout, 1u);
}

TEST(FreeDBSettingsLoadTest, LongTextsAreCutWithoutSplittingACharacter) {
    CTempDir dir;
    // 253 ASCII bytes and a two-byte character: byte 254 would split it.
    const std::string value = std::string(253, 'h') + "\xC3\xA9" + "tail";
    const std::string path =
        dir.WriteFile("CDPLAYER.INI", "[CDDB]\nRemoteServer=" + value +
                                          "\nProxyUser=" + std::string(300, 'u') + "\n");
    CFreeDBSettings settings(path);
    EXPECT_EQ(settings.m_strRemoteServer, std::string(253, 'h'));
    EXPECT_EQ(settings.m_strProxyUser, std::string(254, 'u'));
}

TEST(FreeDBSettingsFileTest, RoundTripKeepsUnknownSectionsAndKeys) {
    CTempDir dir;
    const std::string path = dir.WriteFile("CDPLAYER.INI", "; CD Player database\n"
                                                           "[0c025603]\n"
                                                           "artist=Some Artist\n"
                                                           "numtracks=3\n"
                                                           "[CDDB]\n"
                                                           "Vendor=kept\n"
                                                           "RemoteServer=old.example\n"
                                                           "[Other]\n"
                                                           "x=1\n");
    CFreeDBSettings settings(path);
    EXPECT_EQ(settings.m_strRemoteServer, "old.example");
    settings.m_strRemoteServer = "127.0.0.1";
    settings.m_strRemotePort = "18880";
    settings.m_nTimeout = 12;
    settings.m_strHTTPPath = "/cgi/cddb";
    settings.m_strProxyServer = "proxy.local";
    settings.m_strProxyPort = "3128";
    settings.m_strProxyUser = "alice";
    settings.m_strProxyPassword = "s3cret pass";
    settings.m_strEmailServer = "smtp.local";
    settings.m_strEmailAddress = "alice@home";
    settings.m_strSubmitEmailAddress = "submit@home";
    settings.m_bUseHTTP = true;
    settings.m_bProxyAuth = true;
    settings.AddSite(CFreeDBSite("127.0.0.1 cddbp 18880 - N000.00 W000.00 Loopback, here"));
    ASSERT_TRUE(settings.Save());

    CPrivateProfile file;
    file.Load(path);
    EXPECT_EQ(file.GetString("0c025603", "artist", ""), "Some Artist");
    EXPECT_EQ(file.GetString("CDDB", "Vendor", ""), "kept");
    EXPECT_EQ(file.GetString("Other", "x", ""), "1");
    EXPECT_EQ(file.GetString("CDDB", "NumServers", ""), "1");
    EXPECT_EQ(file.GetString("CDDB", "Server0", ""),
              "127.0.0.1 cddbp 18880 - N000.00 W000.00 Loopback, here");
    // The password is never stored as plain text.
    EXPECT_EQ(dir.ReadFile("CDPLAYER.INI").find("s3cret"), std::string::npos);

    const CFreeDBSettings reread(path);
    EXPECT_EQ(reread.m_strRemoteServer, "127.0.0.1");
    EXPECT_EQ(reread.m_strRemotePort, "18880");
    EXPECT_EQ(reread.m_nTimeout, 12u);
    EXPECT_EQ(reread.m_strHTTPPath, "/cgi/cddb");
    EXPECT_EQ(reread.m_strProxyServer, "proxy.local");
    EXPECT_EQ(reread.m_strProxyPort, "3128");
    EXPECT_EQ(reread.m_strProxyUser, "alice");
    EXPECT_EQ(reread.m_strProxyPassword, "s3cret pass");
    EXPECT_EQ(reread.m_strEmailServer, "smtp.local");
    EXPECT_EQ(reread.m_strEmailAddress, "alice@home");
    EXPECT_EQ(reread.m_strSubmitEmailAddress, "submit@home");
    EXPECT_TRUE(reread.m_bUseHTTP);
    EXPECT_FALSE(reread.m_bUseProxy);
    EXPECT_TRUE(reread.m_bProxyAuth);
    EXPECT_FALSE(reread.m_bAskPassword);
    EXPECT_EQ(reread.m_nOptions, 10u);
    // The stored row, then the built-in MusicBrainz row it lacked.
    ASSERT_EQ(reread.GetSiteCount(), 2u);
    EXPECT_EQ(reread.GetSite(0).m_strDescription, "Loopback, here");
}

TEST(FreeDBSettingsFileTest, NewFileIsPrivateAndAPasswordClosesAnOpenFile) {
    CTempDir dir;
    CFreeDBSettings fresh(dir.File("sub/dir/CDPLAYER.INI"));
    ASSERT_TRUE(fresh.Save());
    EXPECT_EQ(FileMode(dir.File("sub/dir/CDPLAYER.INI")), 0600u);

    const std::string path = dir.WriteFile("CDPLAYER.INI", "[CDDB]\n");
    ::chmod(path.c_str(), 0644);
    CFreeDBSettings settings(path);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(FileMode(path), 0644u); // no password: the owner's choice stands
    settings.m_strProxyPassword = "pw";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(FileMode(path), 0600u);
}

TEST(FreeDBSettingsPasswordTest, AskPasswordStoresNoPassword) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    settings.m_strProxyPassword = "secret";
    settings.m_bAskPassword = true;
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(settings.m_strProxyPassword, "");
    const CFreeDBSettings reread(dir.File("CDPLAYER.INI"));
    EXPECT_EQ(reread.m_strProxyPassword, "");
    EXPECT_TRUE(reread.m_bAskPassword);
}

TEST(FreeDBSettingsPasswordTest, BlockLayoutKeyAndFiller) {
    std::set<unsigned> keys;
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        const std::string hex = CFreeDBSettings::EncodePasswordBlock("abc", seed);
        ASSERT_EQ(hex.size(), 518u);
        const std::vector<unsigned> bytes = BlockBytes(hex);
        const unsigned key = bytes[257];
        keys.insert(key);
        EXPECT_LT(key, 250u);
        EXPECT_EQ(bytes[0], 3u);
        EXPECT_EQ((bytes[1] + key) % 256, unsigned('a'));
        EXPECT_EQ((bytes[3] + key) % 256, unsigned('c'));
        for (size_t i = 4; i < 257; ++i)
            EXPECT_LT(bytes[i], 250u);
        unsigned sum = 0;
        for (size_t i = 0; i < 258; ++i)
            sum += bytes[i];
        EXPECT_EQ(sum % 256, bytes[258]);
        EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(hex), "abc");
    }
    EXPECT_GT(keys.size(), 1u); // the key is drawn anew
}

TEST(FreeDBSettingsPasswordTest, DamagedBlocksReadAsNoPassword) {
    std::string hex = CFreeDBSettings::EncodePasswordBlock("pw\xC3\xA9", 7);
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(hex), "pw\xC3\xA9");
    std::string lower = hex;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(lower), "pw\xC3\xA9");

    std::string badSum = hex;
    badSum[517] = badSum[517] == '0' ? '1' : '0';
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(badSum), "");
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(hex.substr(2)), "");
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(""), "");
    std::string notHex = hex;
    notHex[10] = 'G';
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(notHex), "");

    // A length byte of 0x80 or above reads as negative: no characters.
    std::vector<unsigned> bytes = BlockBytes(hex);
    bytes[0] = 0x90;
    unsigned sum = 0;
    std::string rebuilt;
    char pair[3];
    for (size_t i = 0; i < 258; ++i) {
        sum += bytes[i];
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        rebuilt += pair;
    }
    std::snprintf(pair, sizeof pair, "%02X", sum & 0xFF);
    rebuilt += pair;
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(rebuilt), "");
}

TEST(FreeDBSettingsPasswordTest, OverlongPasswordIsCutToWhatTheBlockHolds) {
    const std::string longPassword(300, 'p');
    const std::string hex = CFreeDBSettings::EncodePasswordBlock(longPassword, 1);
    ASSERT_EQ(hex.size(), 518u);
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(hex), std::string(127, 'p'));
}

TEST(FreeDBSiteTest, DescriptionTakesTheRestOfTheLine) {
    const CFreeDBSite site("freedb.example cddbp 8880 - N037.21 W121.55 San Jose, CA USA");
    EXPECT_EQ(site.m_strHost, "freedb.example");
    EXPECT_EQ(site.m_strProtocol, "cddbp");
    EXPECT_EQ(site.m_strPort, "8880");
    EXPECT_EQ(site.m_strPath, "-");
    EXPECT_EQ(site.m_strLatitude, "N037.21");
    EXPECT_EQ(site.m_strLongitude, "W121.55");
    EXPECT_EQ(site.m_strDescription, "San Jose, CA USA");
    EXPECT_FALSE(site.IsHttp());
    EXPECT_EQ(site.m_strLine, "freedb.example cddbp 8880 - N037.21 W121.55 San Jose, CA USA");
}

TEST(FreeDBSiteTest, ShortLinesLeaveTheRestEmptyAndWriteSixBlanks) {
    const CFreeDBSite site("host.example http");
    EXPECT_EQ(site.m_strHost, "host.example");
    EXPECT_EQ(site.m_strProtocol, "http");
    EXPECT_TRUE(site.IsHttp());
    EXPECT_EQ(site.m_strPort, "");
    EXPECT_EQ(site.m_strDescription, "");
    EXPECT_EQ(site.m_strLine, "host.example http     ");

    // Doubled blanks make empty fields, as the split is at single blanks.
    const CFreeDBSite doubled("a  b");
    EXPECT_EQ(doubled.m_strProtocol, "");
    EXPECT_EQ(doubled.m_strPort, "b");

    CFreeDBSite empty("");
    EXPECT_EQ(empty.m_strHost, "");
    EXPECT_EQ(empty.BuildLine(), "      ");
}

TEST(FreeDBSiteTest, ShortLineSurvivesTheFile) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    settings.AddSite(CFreeDBSite("host.example cddbp"));
    ASSERT_TRUE(settings.Save());
    const CFreeDBSettings reread(dir.File("CDPLAYER.INI"));
    ASSERT_EQ(reread.GetSiteCount(), 2u) << "the row and the built-in MusicBrainz row";
    EXPECT_EQ(reread.GetSite(0).m_strHost, "host.example");
    EXPECT_EQ(reread.GetSite(0).m_strProtocol, "cddbp");
    EXPECT_EQ(reread.GetSite(0).m_strPort, "");
}

TEST(FreeDBSettingsSitesTest, BuiltInRows) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    settings.AddDefaultSites();
    // 22 CDDB rows, then the MusicBrainz row.
    ASSERT_EQ(settings.GetSiteCount(), 23u);
    for (size_t i = 0; i < 22; ++i) {
        const CFreeDBSite& site = settings.GetSite(i);
        EXPECT_EQ(site.m_strHost, CFreeDBSettings::kDefaultServer);
        if (i % 2 == 0) {
            EXPECT_EQ(site.m_strProtocol, "cddbp");
            EXPECT_EQ(site.m_strPort, "8880");
            EXPECT_EQ(site.m_strPath, "-");
        } else {
            EXPECT_EQ(site.m_strProtocol, "http");
            EXPECT_EQ(site.m_strPort, "80");
            EXPECT_EQ(site.m_strPath, "/~cddb/cddb.cgi");
            // Both rows of a place share its coordinates and name.
            EXPECT_EQ(site.m_strDescription, settings.GetSite(i - 1).m_strDescription);
            EXPECT_EQ(site.m_strLatitude, settings.GetSite(i - 1).m_strLatitude);
        }
    }
    EXPECT_EQ(settings.GetSite(0).m_strDescription, "Random freedb server");
    EXPECT_EQ(settings.GetSite(4).m_strLine,
              "gnudb.gnudb.org cddbp 8880 - S033.52 E151.13 Sydney, Australia");
    EXPECT_EQ(settings.GetSite(16).m_strDescription, "Saint-Petersburg, Russia");
    EXPECT_EQ(settings.GetSite(21).m_strLongitude, "W121.55");
    EXPECT_EQ(settings.GetSite(21).m_strDescription, "San Jose, CA USA");
}

TEST(FreeDBSettingsSitesTest, ListOperationsAndOverride) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    EXPECT_EQ(settings.AddSite(CFreeDBSite("a cddbp")), 0u);
    EXPECT_EQ(settings.AddSite(CFreeDBSite("b http")), 1u);
    EXPECT_EQ(settings.GetSite(5).m_strHost, "");
    settings.RemoveSite(0);
    settings.RemoveSite(7);
    ASSERT_EQ(settings.GetSiteCount(), 1u);
    EXPECT_EQ(settings.GetSite(0).m_strHost, "b");
    settings.ClearSites();
    EXPECT_EQ(settings.GetSiteCount(), 0u);

    settings.SetServerOverride("127.0.0.1", "9999");
    EXPECT_EQ(settings.m_strRemoteServer, "127.0.0.1");
    EXPECT_EQ(CFreeDBSettings(dir.File("CDPLAYER.INI")).m_strRemoteServer,
              CFreeDBSettings::kDefaultServer);
}

TEST(FreeDBSettingsSitesTest, DamagedServerCountIsBounded) {
    CTempDir dir;
    const std::string path =
        dir.WriteFile("CDPLAYER.INI", "[CDDB]\nNumServers=2000000000\nServer0=x cddbp\n");
    const CFreeDBSettings huge(path);
    EXPECT_EQ(huge.GetSiteCount(), 1000u);
    EXPECT_EQ(huge.GetSite(0).m_strHost, "x");
    EXPECT_EQ(huge.GetSite(1).m_strHost, "");

    dir.WriteFile("CDPLAYER.INI", "[CDDB]\nNumServers=-4\nServer0=x cddbp\n");
    EXPECT_EQ(CFreeDBSettings(path).GetSiteCount(), 0u);
}

TEST(FreeDBSettingsSitesTest, AListStoredWithoutMusicBrainzGainsItsRowOnce) {
    CTempDir dir;
    const std::string path =
        dir.WriteFile("CDPLAYER.INI", "[CDDB]\nNumServers=1\nServer0=x cddbp 8880 -\n");
    CFreeDBSettings settings(path);
    ASSERT_EQ(settings.GetSiteCount(), 2u);
    EXPECT_EQ(settings.GetSite(1).m_strProtocol, "musicbrainz");
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(CFreeDBSettings(path).GetSiteCount(), 2u);
}

TEST(FreeDBProfileOptionsTest, DefaultsRangesAndRoundTrip) {
    CTempDir dir;
    CProfile profile(dir.File("Wavsmith.ini"));
    CFreeDBSettings::SProfileOptions options;
    options.Load(profile);
    EXPECT_EQ(options.m_nMaxThreadsCount, 5u);
    EXPECT_EQ(options.m_nLogging, 0u);
    EXPECT_EQ(options.m_nWriteToLocalDB, 1u);
    EXPECT_EQ(options.m_nGetServersX, 300);
    EXPECT_EQ(options.m_nGetServersH, 200);
    EXPECT_FALSE(CFreeDBSettings::SProfileOptions::IsFullLogging(profile));

    for (int stored : {0, 21, -3}) {
        profile.WriteInt("FreeDB", "MaxThreadsCount", stored);
        options.Load(profile);
        EXPECT_EQ(options.m_nMaxThreadsCount, 1u) << stored;
    }

    options.m_nMaxThreadsCount = 20;
    options.m_nLogging = 1;
    options.m_nWriteToLocalDB = 2;
    options.m_nGetServersX = 10;
    options.m_nGetServersY = 20;
    options.m_nGetServersW = 640;
    options.m_nGetServersH = 480;
    ASSERT_TRUE(options.Save(profile));
    const CProfile reread(dir.File("Wavsmith.ini"));
    CFreeDBSettings::SProfileOptions loaded;
    loaded.Load(reread);
    EXPECT_EQ(loaded.m_nMaxThreadsCount, 20u);
    EXPECT_EQ(loaded.m_nWriteToLocalDB, 2u);
    EXPECT_EQ(loaded.m_nGetServersW, 640);
    EXPECT_EQ(loaded.m_nGetServersH, 480);
    EXPECT_TRUE(CFreeDBSettings::SProfileOptions::IsFullLogging(reread));
}
