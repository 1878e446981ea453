#include "freedb/service/FreeDBSettings.h"

#include "platform/PrivateProfile.h"
#include "platform/Profile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {
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

// The settings the file keeps, for comparing a saved copy with what was read back.
auto Stored(const CFreeDBSettings& s) {
    return std::tie(s.m_strRemoteServer, s.m_strRemotePort, s.m_nTimeout, s.m_strHTTPPath,
                    s.m_strProxyServer, s.m_strProxyPort, s.m_strProxyUser, s.m_strProxyPassword,
                    s.m_strEmailServer, s.m_strEmailAddress, s.m_strSubmitEmailAddress,
                    s.m_bUseHTTP, s.m_bUseProxy, s.m_bProxyAuth, s.m_bAskPassword);
}
} // namespace

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

TEST(FreeDBSettingsLoadTest, TimeoutOutOfRangeIsThirtySecondsAndLongTextsAreCutWhole) {
    CTempDir dir;
    const std::string path = dir.File("CDPLAYER.INI");
    const std::pair<const char*, unsigned> timeouts[] = {{"0", 30},    {"1000", 30}, {"-5", 30},
                                                         {"soon", 30}, {"999", 999}, {"1", 1}};
    for (const auto& [stored, seconds] : timeouts) {
        dir.WriteFile("CDPLAYER.INI", std::string("[CDDB]\nRemoteTimeout=") + stored + "\n");
        EXPECT_EQ(CFreeDBSettings(path).m_nTimeout, seconds) << stored;
    }
    // 253 ASCII bytes and a two-byte character: byte 254 would split it.
    dir.WriteFile("CDPLAYER.INI", "[CDDB]\nRemoteServer=" + std::string(253, 'h') +
                                      "\xC3\xA9tail\nProxyUser=" + std::string(300, 'u') + "\n");
    CFreeDBSettings settings(path);
    EXPECT_EQ(settings.m_strRemoteServer, std::string(253, 'h'));
    EXPECT_EQ(settings.m_strProxyUser, std::string(254, 'u'));
}

TEST(FreeDBSettingsFileTest, RoundTripKeepsUnknownSectionsAndKeysAndNoPlainPassword) {
    CTempDir dir;
    const std::string path = dir.WriteFile(
        "CDPLAYER.INI", "; CD Player database\n[0c025603]\nartist=Some Artist\nnumtracks=3\n"
                        "[CDDB]\nVendor=kept\nRemoteServer=old.example\n[Other]\nx=1\n");
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
    settings.m_bUseHTTP = settings.m_bProxyAuth = true;
    settings.AddSite(CFreeDBSite("127.0.0.1 cddbp 18880 - N000.00 W000.00 Loopback, here"));
    ASSERT_TRUE(settings.Save());

    CPrivateProfile file;
    file.Load(path);
    EXPECT_EQ(file.GetString("0c025603", "artist", ""), "Some Artist");
    EXPECT_EQ(file.GetString("CDDB", "Vendor", ""), "kept");
    EXPECT_EQ(file.GetString("Other", "x", ""), "1");
    EXPECT_EQ(file.GetString("CDDB", "NumServers", ""), "1");
    EXPECT_EQ(dir.ReadFile("CDPLAYER.INI").find("s3cret"), std::string::npos);

    const CFreeDBSettings reread(path);
    EXPECT_EQ(Stored(reread), Stored(settings));
    EXPECT_EQ(reread.m_nOptions, 10u);
    // The stored row, then the built-in MusicBrainz row it lacked.
    ASSERT_EQ(reread.GetSiteCount(), 2u);
    EXPECT_EQ(reread.GetSite(0).m_strDescription, "Loopback, here");

    // Asking for the password stores none.
    settings.m_bAskPassword = true;
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(settings.m_strProxyPassword, "");
    EXPECT_EQ(CFreeDBSettings(path).m_strProxyPassword, "");
}

TEST(FreeDBSettingsFileTest, NewFileIsPrivateAndAPasswordClosesAnOpenFile) {
    CTempDir dir;
    CFreeDBSettings fresh(dir.File("sub/dir/CDPLAYER.INI"));
    EXPECT_FALSE(fresh.Load());
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

TEST(FreeDBSettingsPasswordTest, BlockLayoutKeyAndFillerAndDamagedBlocksReadAsNoPassword) {
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
    // An overlong password is cut to what the block holds.
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(
                  CFreeDBSettings::EncodePasswordBlock(std::string(300, 'p'), 1)),
              std::string(127, 'p'));

    // Read in either case; damaged blocks read as no password.
    std::string hex = CFreeDBSettings::EncodePasswordBlock("pw\xC3\xA9", 7);
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(hex), "pw\xC3\xA9");
    std::string lower = hex;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(lower), "pw\xC3\xA9");

    std::string badSum = hex;
    badSum[517] = badSum[517] == '0' ? '1' : '0';
    std::string notHex = hex;
    notHex[10] = 'G';
    for (const std::string& damaged : {badSum, hex.substr(2), std::string(), notHex})
        EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(damaged), "");

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
    EXPECT_EQ(CFreeDBSettings::DecodePasswordBlock(rebuilt + pair), "");
}

TEST(FreeDBSiteTest, FieldsSplitAtSingleBlanksAndTheDescriptionTakesTheRest) {
    const CFreeDBSite site("freedb.example cddbp 8880 - N037.21 W121.55 San Jose, CA USA");
    EXPECT_EQ(std::tie(site.m_strHost, site.m_strProtocol, site.m_strPort, site.m_strPath,
                       site.m_strLatitude, site.m_strLongitude, site.m_strDescription),
              std::make_tuple("freedb.example", "cddbp", "8880", "-", "N037.21", "W121.55",
                              "San Jose, CA USA"));
    EXPECT_FALSE(site.IsHttp());

    // Short lines leave the rest empty and are written with six blanks.
    const CFreeDBSite shortLine("host.example http");
    EXPECT_TRUE(shortLine.IsHttp());
    EXPECT_EQ(shortLine.m_strPort, "");
    EXPECT_EQ(shortLine.m_strLine, "host.example http     ");
    EXPECT_EQ(CFreeDBSite("").BuildLine(), "      ");
    const CFreeDBSite doubled("a  b");
    EXPECT_EQ(doubled.m_strProtocol, "");
    EXPECT_EQ(doubled.m_strPort, "b");
}

TEST(FreeDBSettingsSitesTest, ListEdgesTheOverrideAndTheBuiltInRows) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    settings.AddSite(CFreeDBSite("a cddbp"));
    settings.AddSite(CFreeDBSite("b http"));
    EXPECT_EQ(settings.GetSite(5).m_strHost, "");
    settings.RemoveSite(0);
    settings.RemoveSite(7);
    ASSERT_EQ(settings.GetSiteCount(), 1u);
    EXPECT_EQ(settings.GetSite(0).m_strHost, "b");

    // An override holds for the run only.
    settings.SetServerOverride("127.0.0.1", "9999");
    EXPECT_EQ(settings.m_strRemoteServer, "127.0.0.1");
    EXPECT_EQ(CFreeDBSettings(dir.File("CDPLAYER.INI")).m_strRemoteServer,
              CFreeDBSettings::kDefaultServer);

    // 22 CDDB rows, line protocol and gateway in turn, then the MusicBrainz row.
    settings.ClearSites();
    settings.AddDefaultSites();
    ASSERT_EQ(settings.GetSiteCount(), 23u);
    for (size_t i = 0; i < 22; ++i)
        EXPECT_EQ(settings.GetSite(i).IsHttp(), i % 2 == 1) << i;
    EXPECT_EQ(settings.GetSite(22).m_strProtocol, "musicbrainz");
}

TEST(FreeDBSettingsSitesTest, DamagedServerCountIsBoundedAndMusicBrainzIsAddedOnce) {
    CTempDir dir;
    const std::string path =
        dir.WriteFile("CDPLAYER.INI", "[CDDB]\nNumServers=2000000000\nServer0=x cddbp\n");
    const CFreeDBSettings huge(path);
    EXPECT_EQ(huge.GetSiteCount(), 1000u);
    EXPECT_EQ(huge.GetSite(0).m_strHost, "x");
    dir.WriteFile("CDPLAYER.INI", "[CDDB]\nNumServers=-4\nServer0=x cddbp\n");
    EXPECT_EQ(CFreeDBSettings(path).GetSiteCount(), 0u);

    dir.WriteFile("CDPLAYER.INI", "[CDDB]\nNumServers=1\nServer0=x cddbp 8880 -\n");
    CFreeDBSettings settings(path);
    ASSERT_EQ(settings.GetSiteCount(), 2u);
    EXPECT_EQ(settings.GetSite(1).m_strProtocol, "musicbrainz");
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(CFreeDBSettings(path).GetSiteCount(), 2u);
}

TEST(FreeDBProfileOptionsTest, ThreadCountOutOfRangeIsOneAndTheOptionsRoundTrip) {
    CTempDir dir;
    CProfile profile(dir.File("Wavsmith.ini"));
    CFreeDBSettings::SProfileOptions options;
    for (int stored : {0, 21, -3}) {
        profile.WriteInt("FreeDB", "MaxThreadsCount", stored);
        options.Load(profile);
        EXPECT_EQ(options.m_nMaxThreadsCount, 1u) << stored;
    }
    EXPECT_FALSE(CFreeDBSettings::SProfileOptions::IsFullLogging(profile));

    options.m_nMaxThreadsCount = 20;
    options.m_nLogging = 1;
    options.m_nWriteToLocalDB = 2;
    options.m_nGetServersW = 640;
    ASSERT_TRUE(options.Save(profile));
    const CProfile reread(dir.File("Wavsmith.ini"));
    CFreeDBSettings::SProfileOptions loaded;
    loaded.Load(reread);
    EXPECT_EQ(std::tie(loaded.m_nMaxThreadsCount, loaded.m_nWriteToLocalDB, loaded.m_nGetServersW),
              std::make_tuple(20u, 2u, 640));
    EXPECT_TRUE(CFreeDBSettings::SProfileOptions::IsFullLogging(reread));
}
