#include "freedb/service/ConnectionPageModel.h"

#include "platform/Profile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(ConnectionPageModelTest, ListsTheServersWithTheLastMatchOfTheChosenOneSelected) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    EXPECT_EQ(CConnectionPageModel(settings).Settings().GetSiteCount(),
              CFreeDBSettings::DefaultSiteLines().size())
        << "no servers: the built-in ones";
    for (const char* line :
         {"a.example cddbp 8880 - N1 E1 Here, there", "a.example http 80 /c N1 E1 x",
          "b.example http 80 /c N1 E1 y", "a.example http 80 /c N1 E1 z"})
        settings.AddSite(CFreeDBSite(line));
    settings.m_strRemoteServer = "a.example";
    settings.m_strRemotePort = "80";
    settings.m_strEmailAddress = "someone";
    const CConnectionPageModel model(settings);
    const std::vector<std::string> texts = model.ServerTexts("%s /%s/ (%s)");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "a.example /cddbp/ (Here, there)");
    EXPECT_EQ(model.ChosenServer(), 3);
    EXPECT_FALSE(model.IsProxyOffered(0));
    EXPECT_TRUE(model.IsProxyOffered(1));
    EXPECT_FALSE(model.IsProxyOffered(-1));
    EXPECT_EQ(model.EmailParts(), (std::pair<std::string, std::string>{"someone", ""}));
    EXPECT_EQ(CConnectionPageModel::ConnectionChoice(10), 2);
    EXPECT_EQ(CConnectionPageModel::ConnectionChoice(7), 1) << "not offered: 5";

    settings.m_strRemotePort = "1";
    EXPECT_EQ(CConnectionPageModel(settings).ChosenServer(), -1);
}

TEST(ConnectionPageModelTest, SavingFillsWhatThePageLeftOutAndStoresTheChosenServer) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    CProfile profile;
    CConnectionPageModel model(settings);
    CConnectionPageModel::SValues values;
    values.m_nServer = -1;
    values.m_nTimeout = 0;
    values.m_strEmailUser = "";
    values.m_strEmailDomain = "";
    values.m_bUseProxy = true;
    values.m_nMaxThreads = 20;
    ASSERT_TRUE(model.Save(values, profile));

    const CFreeDBSettings saved(dir.File("CDPLAYER.INI"));
    EXPECT_EQ(saved.m_nTimeout, 30u);
    EXPECT_EQ(saved.m_strRemoteServer, saved.GetSite(0).m_strHost);
    EXPECT_EQ(saved.m_strRemotePort, "8880");
    EXPECT_FALSE(saved.m_bUseHTTP);
    EXPECT_TRUE(saved.m_bUseProxy);
    EXPECT_EQ(saved.m_strEmailAddress, std::string("freedb@") + CFreeDBSettings::kMailDomain);
    EXPECT_EQ(saved.m_strSubmitEmailAddress, saved.m_strEmailAddress);
    EXPECT_EQ(saved.GetSiteCount(), CFreeDBSettings::DefaultSiteLines().size());
    EXPECT_EQ(profile.GetInt("FreeDB", "MaxThreadsCount", 0), 20);

    values.m_nServer = 3;
    values.m_nTimeout = 45;
    values.m_strEmailUser = "me";
    values.m_strEmailDomain = "example.org";
    ASSERT_TRUE(model.Save(values, profile));
    const CFreeDBSettings second(dir.File("CDPLAYER.INI"));
    EXPECT_EQ(second.m_nTimeout, 45u);
    EXPECT_EQ(second.m_strRemotePort, "80");
    EXPECT_TRUE(second.m_bUseHTTP);
    EXPECT_EQ(second.m_strEmailAddress, "me@example.org");
}
