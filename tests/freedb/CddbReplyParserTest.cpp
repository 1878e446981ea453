#include "freedb/protocol/CddbReplyParser.h"

#include "freedb/protocol/CddbHttpClient.h"
#include "freedb/protocol/HttpReplyHead.h"
#include "freedb/protocol/ServerStats.h"
#include "freedb/service/AlbumInfo.h"
#include "freedb/service/FreeDBSettings.h"

#include <gtest/gtest.h>

TEST(CddbReplyCodeTest, ReadsTheFirstThreeCharactersOnly) {
    const std::pair<const char*, unsigned> codes[] = {
        {"200 OK", 200}, {"2101 odd", 210}, {"21", 21}, {"hello 200", 0}, {"", 0}};
    for (const auto& [line, code] : codes)
        EXPECT_EQ(CCddbReplyParser::ParseCode(line), code) << line;
}

TEST(CddbMatchTest, SplitsCategoryDiscIdArtistAndTitleOrRefusesTheLine) {
    CAlbumInfo album;
    ASSERT_TRUE(CCddbReplyParser::ParseMatch("rock 0a0b0c0d Artist / Album / Part 2", album));
    EXPECT_EQ(album.GetCategory(), "rock");
    EXPECT_EQ(album.GetStoredDiscId(), "0a0b0c0d");
    EXPECT_EQ(album.GetArtist(), "Artist");
    EXPECT_EQ(album.GetTitle(), "Album / Part 2");

    ASSERT_TRUE(CCddbReplyParser::ParseMatch("misc 0a0b0c0d Just A Title", album));
    EXPECT_EQ(album.GetArtist(), "Just A Title");
    EXPECT_EQ(album.GetTitle(), "Just A Title");
    // A separator standing first still splits, leaving an empty artist.
    ASSERT_TRUE(CCddbReplyParser::ParseMatch("misc 0a0b0c0d  / Title", album));
    EXPECT_EQ(album.GetArtist(), "");
    EXPECT_EQ(album.GetTitle(), "Title");

    // Lines of another form are refused without touching the album.
    for (const char* line : {"rock 0a0b0c0 Seven digits", "rock 0a0b0c0d0 Nine digits", "rock",
                             "rock 0a0b0c0d", ".", "", "1a3"})
        EXPECT_FALSE(CCddbReplyParser::ParseMatch(line, album)) << line;
    EXPECT_EQ(album.GetTitle(), "Title");
}

TEST(CddbStatTest, ReadsTheFiguresWhoseKeysStartALine) {
    CServerStats stats;
    stats.m_nMaxUsers = 77;
    for (const char* line : {"Server status:", "current proto: 6", "current users: 12",
                             "Database entries: 3100", "Database entries by category:", "blues: 4",
                             "soundtrack: 9", "data: 5", "not rock: 99", "jazz:"})
        CCddbReplyParser::ParseStatLine(line, stats);
    EXPECT_EQ(stats.m_nTotal, 3100u);
    EXPECT_EQ(stats.m_nCurrentUsers, 12u);
    EXPECT_EQ(stats.m_nBlues, 4u);
    EXPECT_EQ(stats.m_nSoundtrack, 9u);
    EXPECT_EQ(stats.m_nData, 5u);
    EXPECT_EQ(stats.m_nRock, 0u);
    EXPECT_EQ(stats.m_nJazz, 0u);
    EXPECT_EQ(stats.m_nMaxUsers, 77u);
}

TEST(HttpReplyHeadTest, ChunkedTransferCountsOnlyInHttp11WithHexadecimalSizes) {
    CHttpReplyHead head;
    EXPECT_FALSE(head.ReadStatusLine("210 OK not http"));
    ASSERT_TRUE(head.ReadStatusLine("HTTP/1.0 200 OK"));
    head.ReadHeaderLine("Transfer-Encoding: chunked");
    EXPECT_FALSE(head.IsChunked());
    ASSERT_TRUE(head.ReadStatusLine("HTTP/1.1 200 OK"));
    EXPECT_TRUE(head.IsHttp11());
    head.ReadHeaderLine("Content-Type: text/plain");
    EXPECT_FALSE(head.IsChunked());
    head.ReadHeaderLine("TRANSFER-ENCODING: Chunked");
    EXPECT_TRUE(head.IsChunked());

    // Chunk sizes are hexadecimal, extensions after ';' ignored, and at most 64 bits.
    uint64_t size = 0;
    ASSERT_TRUE(CHttpReplyHead::ParseChunkSize("1A3", size));
    EXPECT_EQ(size, 0x1a3u);
    ASSERT_TRUE(CHttpReplyHead::ParseChunkSize("ff;name=value", size));
    EXPECT_EQ(size, 0xffu);
    for (const char* bad : {"zz", "", "-5", "1234567890abcdef0"})
        EXPECT_FALSE(CHttpReplyHead::ParseChunkSize(bad, size)) << bad;
}

TEST(HttpRequestTest, Base64FillsUpToFourCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a", "YQ=="},
        {"ab", "YWI="},
        {"abc", "YWJj"},
        {"Aladdin:open sesame", "QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
        {"\xff\xfe\x80", "//6A"}};
    for (const auto& [text, expected] : cases) {
        std::string encoded = text;
        CCddbHttpClient::EncodeBase64(encoded);
        EXPECT_EQ(encoded, expected);
    }
    // Credentials past the 48 bytes an old encoder held encode whole.
    std::string longText(100, 'x');
    CCddbHttpClient::EncodeBase64(longText);
    EXPECT_EQ(longText.size(), 136u);
    EXPECT_EQ(longText.find('\n'), std::string::npos);
}

TEST(HttpRequestTest, TheQueryCarriesCommandHelloAndLevelWithBlanksAsPlus) {
    CFreeDBSettings settings("/nonexistent/CDPLAYER.INI");
    CCddbHttpClient client(settings, nullptr);
    ASSERT_TRUE(client.ConnectServer("S", "/~cddb/cddb.cgi", "80", 30, false));
    const std::string hello = CCddbClient::MakeHello();
    ASSERT_EQ(hello.rfind("cddb hello ", 0), 0u);
    ASSERT_EQ(hello.substr(hello.size() - 21), " host Tunewright 9.99");
    std::string user = hello.substr(11, hello.size() - 32);
    std::replace(user.begin(), user.end(), ' ', '+');
    EXPECT_EQ(client.BuildQuery("stat"),
              "/~cddb/cddb.cgi?cmd=stat&hello=" + user + "+host+Tunewright+9.99&proto=6");
    EXPECT_EQ(client.BuildQuery("cddb read rock 0a0b0c0d").substr(0, 45),
              "/~cddb/cddb.cgi?cmd=cddb+read+rock+0a0b0c0d&h");
}
