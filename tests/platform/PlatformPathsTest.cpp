#include "platform/PlatformPaths.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using Dirs = std::vector<std::string>;

TEST(PlatformPathsTest, InstalledProgramFindsItsFilesUnderItsPrefixBuildTreeBesideItself) {
    const CTempDir root;
    const std::string prefix = root.Path() + "usr/";
    std::filesystem::create_directories(prefix + "bin");

    // A bin/ folder without share/wavsmith/ beside it is someone's build tree.
    EXPECT_EQ(CPlatformPaths::DataDirOf(prefix + "bin"), prefix + "bin/");
    std::filesystem::create_directories(prefix + "share/wavsmith");
    EXPECT_EQ(CPlatformPaths::DataDirOf(prefix + "bin/"), prefix + "share/wavsmith/");
    EXPECT_EQ(CPlatformPaths::LibraryDirsOf(prefix + "bin/"),
              (Dirs{prefix + "bin/", prefix + "lib/wavsmith/"}));

    // Only a folder called exactly bin/ is an installed program's.
    const std::string build = root.Path() + "cabin/";
    std::filesystem::create_directories(root.Path() + "share/wavsmith");
    EXPECT_EQ(CPlatformPaths::DataDirOf(build), build);
    EXPECT_EQ(CPlatformPaths::LibraryDirsOf(build), Dirs{build});
}
