#include "freedb/service/CDPlayerDatabase.h"

#include "freedb/service/AlbumInfo.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/IniFile.h"
#include "platform/PrivateProfile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {
CAlbumInfo MakeAlbum(const std::string& discId, const std::string& title,
                     const std::vector<std::string>& tracks) {
    CAlbumInfo album;
    album.SetDiscId(discId);
    album.SetArtist("Artist of " + title);
    album.SetTitle(title);
    album.SetYear("1999");
    for (size_t i = 0; i < tracks.size(); ++i)
        album.GetTrack(i).SetTitle(tracks[i]);
    return album;
}

// A test's CDPLAYER.INI with the settings and the database on it.
struct SFixture {
    CTempDir dir;
    std::string path = dir.File("CDPLAYER.INI");
    CFreeDBSettings settings{path};
};
} // namespace

TEST(CDPlayerDatabaseStoreTest, ANewAlbumIsAppendedBelowWhatIsThereAKnownOneReplacedInPlace) {
    SFixture f;
    f.dir.WriteFile("CDPLAYER.INI", "[CDDB]\r\nRemotePort=8880\r\n");
    CCDPlayerDatabase db(f.settings, f.path);
    ASSERT_TRUE(db.Open());
    CAlbumInfo album = MakeAlbum("0c025603", "Title", {"One", "Two", "Three"});
    ASSERT_TRUE(db.Store(album));
    EXPECT_EQ(SplitLines(f.dir.ReadFile("CDPLAYER.INI")),
              (std::vector<std::string>{"[CDDB]", "RemotePort=8880", "[0c025603]", "2=Three",
                                        "1=Two", "0=One", "category=254", "entryType=1",
                                        "numplay=3", "numTracks=3", "year=1999", "title=Title",
                                        "artist=Artist of Title"}));
    EXPECT_EQ(db.GetAlbumCount(), 1u);

    // Keys are matched whatever their case; storing twice changes nothing more.
    f.dir.WriteFile("CDPLAYER.INI",
                    "[0c025603]\nArtist=Old\nTITLE=Old\n0=Old one\n[CDDB]\nRemotePort=1\n");
    CAlbumInfo replaced = MakeAlbum("0c025603", "New", {"New one"});
    CCDPlayerDatabase again(f.settings, f.path);
    ASSERT_TRUE(again.Store(replaced));
    ASSERT_TRUE(again.Store(replaced));
    EXPECT_EQ(SplitLines(f.dir.ReadFile("CDPLAYER.INI")),
              (std::vector<std::string>{"[0c025603]", "category=254", "entryType=1", "numplay=1",
                                        "numTracks=1", "year=1999", "artist=Artist of New",
                                        "title=New", "0=New one", "[CDDB]", "RemotePort=1"}));
}

TEST(CDPlayerDatabaseStoreTest, RefusesAlbumsWithoutDataTracksOrAProperDiscId) {
    SFixture f;
    const std::string before = "[CDDB]\nRemotePort=8880\n";
    f.dir.WriteFile("CDPLAYER.INI", before);
    CCDPlayerDatabase db(f.settings, f.path);

    CAlbumInfo unfilled;
    unfilled.SetDiscId("0c025603");
    unfilled.GetTrack(0).SetTitle("t");
    CAlbumInfo trackless;
    trackless.SetDiscId("0c025603");
    trackless.SetTitle("t");
    CAlbumInfo named = MakeAlbum("CDDB", "t", {"t"});
    CAlbumInfo longer = MakeAlbum("0c025603 ", "t", {"t"});
    for (CAlbumInfo* album : {&unfilled, &trackless, &named, &longer})
        EXPECT_FALSE(db.Store(*album));
    EXPECT_EQ(f.dir.ReadFile("CDPLAYER.INI"), before);
}

TEST(CDPlayerDatabaseStoreTest, FirstStoreCreatesAPrivateFileAndAnUnreadableOneIsLeftAlone) {
    SFixture f;
    CCDPlayerDatabase db(f.settings, f.dir.File("new/CDPLAYER.INI"));
    EXPECT_FALSE(db.Open());
    CAlbumInfo album = MakeAlbum("00000001", "T", {"a"});
    ASSERT_TRUE(db.Store(album));
    EXPECT_EQ(db.GetFileSize(), f.dir.ReadFile("new/CDPLAYER.INI").size());
    EXPECT_EQ(FileMode(f.dir.File("new/CDPLAYER.INI")), 0600u);
    EXPECT_EQ(db.GetAlbumCount(), 1u);

    // A directory in the file's place cannot be read, and must not be replaced.
    CCDPlayerDatabase folder(f.settings, f.dir.Path());
    EXPECT_FALSE(folder.Store(album));
    EXPECT_EQ(folder.GetFileSize(), 0u);
}

TEST(CDPlayerDatabaseSettingsTest, SettingsSavedSinceOpeningSurviveAStore) {
    SFixture f;
    f.dir.WriteFile("CDPLAYER.INI", "[CDDB]\nRemoteServer=old.example\n");
    {
        CCDPlayerDatabase db(f.settings, f.path);
        ASSERT_TRUE(db.Open());
        CFreeDBSettings dialogCopy(f.path);
        dialogCopy.m_strRemoteServer = "new.example";
        ASSERT_TRUE(dialogCopy.Save());

        CAlbumInfo album = MakeAlbum("00000001", "T", {"a"});
        ASSERT_TRUE(db.Store(album));
        // The shared object was reloaded from the file the store wrote.
        EXPECT_EQ(f.settings.m_strRemoteServer, "new.example");

        dialogCopy.m_strRemoteServer = "newer.example";
        ASSERT_TRUE(dialogCopy.Save());
    }
    // Destroying the database did not write its older copy back.
    EXPECT_EQ(CFreeDBSettings(f.path).m_strRemoteServer, "newer.example");
}

TEST(CDPlayerDatabaseSettingsTest, HostileAlbumTextsCannotChangeTheServer) {
    // No settings saved yet: a "[CDDB]" line from an album would be the first such section.
    SFixture f;
    CCDPlayerDatabase db(f.settings, f.path);

    const std::string hostile = "x\n[CDDB]\nRemoteServer=evil.example";
    CAlbumInfo album = MakeAlbum("0000abcd", hostile, {hostile, "y\r\n[CDDB]\r\n"});
    album.SetArtist(hostile);
    album.SetYear(hostile);
    ASSERT_TRUE(db.Store(album));

    // A line cut at the length the loader keeps must not leave a tail that reads as a
    // section or a key once the file is loaded and saved again.
    CAlbumInfo longer = MakeAlbum("0000abce", std::string(1017, 'a') + "[CDDB]",
                                  {std::string(1021, 'b') + "RemoteServer=evil.example"});
    longer.SetArtist(std::string(1016, 'c') + "RemoteServer=evil.example");
    ASSERT_TRUE(db.Store(longer));
    CAlbumInfo another = MakeAlbum("0000abcf", "T", {"t"});
    ASSERT_TRUE(CCDPlayerDatabase(f.settings, f.path).Store(another));

    EXPECT_EQ(f.settings.m_strRemoteServer, CFreeDBSettings::kDefaultServer);
    EXPECT_EQ(CFreeDBSettings(f.path).m_strRemoteServer, CFreeDBSettings::kDefaultServer);
    CPrivateProfile profile;
    profile.Load(f.path);
    EXPECT_EQ(profile.SectionNames(),
              (std::vector<std::string>{"0000abcd", "0000abce", "0000abcf"}));
    EXPECT_EQ(profile.GetString("0000abcd", "title", ""), "x [CDDB] RemoteServer=evil.example");

    // A thousand long titles are stored no further than a read takes them back.
    CAlbumInfo many = MakeAlbum("0000abd0", "Many", std::vector<std::string>(1000, hostile));
    for (size_t i = 0; i < 1000; ++i)
        many.GetTrack(i).SetTitle(std::string(1000, 't'));
    ASSERT_TRUE(db.Store(many));
    profile.Load(f.path);
    EXPECT_EQ(profile.GetString("0000abd0", "numTracks", ""), "99");
    EXPECT_EQ(profile.GetString("0000abd0", "99", "none"), "none");
    EXPECT_LT(f.dir.ReadFile("CDPLAYER.INI").size(), 120u << 10);
}

TEST(CDPlayerDatabaseStoreTest, ConcurrentStoresLeaveEveryAlbumWhole) {
    SFixture f;
    f.dir.WriteFile("CDPLAYER.INI", "[CDDB]\nRemotePort=8880\n");
    CCDPlayerDatabase db(f.settings, f.path);
    constexpr int kAlbumsPerThread = 15;
    constexpr int kTracks = 12;
    const auto id = [](int nThread, int i) {
        char text[9];
        std::snprintf(text, sizeof text, "%02x%06x", nThread, i);
        return std::string(text);
    };
    const auto track = [&id](int nThread, int i, int t) {
        return id(nThread, i) + " track " + std::to_string(t);
    };
    const auto storeAlbums = [&](int nThread) {
        for (int i = 0; i < kAlbumsPerThread; ++i) {
            std::vector<std::string> tracks;
            for (int t = 0; t < kTracks; ++t)
                tracks.push_back(track(nThread, i, t));
            CAlbumInfo album = MakeAlbum(id(nThread, i), id(nThread, i), tracks);
            EXPECT_TRUE(db.Store(album));
        }
    };
    std::thread first(storeAlbums, 1);
    std::thread second(storeAlbums, 2);
    first.join();
    second.join();

    CCDPlayerDatabase reread(f.settings, f.path);
    ASSERT_TRUE(reread.Open());
    EXPECT_EQ(reread.GetAlbumCount(), 2u * kAlbumsPerThread);
    for (int nThread : {1, 2}) {
        for (int i = 0; i < kAlbumsPerThread; ++i) {
            CAlbumInfo album;
            album.SetDiscId(id(nThread, i));
            ASSERT_TRUE(reread.Read(album)) << id(nThread, i);
            ASSERT_EQ(album.GetTrackCount(), static_cast<size_t>(kTracks)) << id(nThread, i);
            for (int t = 0; t < kTracks; ++t)
                EXPECT_EQ(album.GetTracks()[t].GetTitle(), track(nThread, i, t));
        }
    }
}

TEST(CDPlayerDatabaseReadTest, CachedAlbumFillsTheAlbumOfItsDiscWithItsTrackCountBounded) {
    SFixture f;
    f.dir.WriteFile("CDPLAYER.INI", "[0c025603]\nartist=A\ntitle=T\nyear=2001\n"
                                    "numTracks=2\n0=first\n1=second\n[cddb]\nnumTracks=5\n"
                                    "[00000001]\ntitle=T\nnumTracks=2000000000\n"
                                    "[00000002]\ntitle=T\nnumTracks=-4\n");
    CCDPlayerDatabase db(f.settings, f.path);
    ASSERT_TRUE(db.Open());

    CAlbumInfo fromFiles = CAlbumInfo::FromPlayTimes({200, 200, 198});
    ASSERT_EQ(fromFiles.GetDiscId(), "0c025603");
    CAlbumList results;
    ASSERT_TRUE(db.Query(fromFiles, results));
    ASSERT_EQ(results.GetCount(), 1u);
    const CAlbumInfo& found = results.GetAt(0);
    EXPECT_EQ(found.GetArtist(), "A");
    EXPECT_EQ(found.GetTitle(), "T");
    EXPECT_EQ(found.GetYear(), "2001");
    ASSERT_EQ(found.GetTrackCount(), 3u);
    EXPECT_EQ(found.GetTracks()[1].GetTitle(), "second");
    EXPECT_EQ(found.GetTracks()[1].GetFrameOffset(), 15150);
    EXPECT_EQ(found.GetTracks()[2].GetTitle(), "");
    EXPECT_EQ(fromFiles.GetTitle(), "");

    CAlbumInfo unknown;
    unknown.SetDiscId("ffffffff");
    EXPECT_FALSE(db.Read(unknown));
    CAlbumInfo settingsSection;
    settingsSection.SetDiscId("cddb");
    EXPECT_FALSE(db.Read(settingsSection));

    // A damaged track count is bounded.
    CAlbumInfo many;
    many.SetDiscId("00000001");
    ASSERT_TRUE(db.Read(many));
    EXPECT_EQ(many.GetTrackCount(), static_cast<size_t>(CCDPlayerDatabase::kMaxTracks));
    CAlbumInfo none;
    none.SetDiscId("00000002");
    ASSERT_TRUE(db.Read(none));
    EXPECT_EQ(none.GetTrackCount(), 0u);
}

TEST(CDPlayerDatabaseInfoTest, InfoTextNamesTheFileItsSizeAndItsAlbumsWithATitleKey) {
    SFixture f;
    f.dir.WriteFile("CDPLAYER.INI", "[CDDB]\nNumServers=0\n[00000001]\nTitle=x\n"
                                    "[00000002]\ntitle=\n[00000003]\nartist=no title\n");
    CCDPlayerDatabase db(f.settings, f.path);
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.GetInfoText(), "Location:\t\t" + f.path +
                                    "\r\nFile size:\t\t84 bytes\r\nMaximal file size:\t64.00 "
                                    "Kbytes (65535 bytes)\r\nTracklists:\t2");
    EXPECT_EQ(CCDPlayerDatabase(f.settings, f.dir.File("absent")).GetFileSize(), 0u);
    const std::pair<unsigned, const char*> sizes[] = {{0, "0 bytes"},
                                                      {1023, "1023 bytes"},
                                                      {1024, "1.00 Kbytes (1024 bytes)"},
                                                      {1048575, "1024.00 Kbytes (1048575 bytes)"},
                                                      {1048576, "1.00 Mbytes (1048576 bytes)"}};
    for (const auto& [bytes, text] : sizes)
        EXPECT_EQ(CCDPlayerDatabase::FormatFileSize(bytes), text);
}
