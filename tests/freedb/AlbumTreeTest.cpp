#include "freedb/service/AlbumTree.h"

#include "freedb/service/AlbumInfo.h"
#include "freedb/service/TreeFormat.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

namespace {
CAlbumInfo Album(const char* pCategory, const char* pArtist, const char* pTitle,
                 const char* pDiscId) {
    CAlbumInfo album = CAlbumInfo::FromPlayTimes({100, 200});
    album.SetCategory(pCategory);
    album.SetArtist(pArtist);
    album.SetTitle(pTitle);
    album.SetYear("1999");
    album.SetDiscId(pDiscId);
    return album;
}

std::string Label(const CAlbumTree& tree, std::size_t nParent, std::size_t nRow) {
    return tree.Node(tree.Node(nParent).m_children.at(nRow)).m_strLabel;
}
} // namespace

TEST(TreeFormatTest, StoredFormatsDecodeOrFallBackAndThePageSavesTheTickedLevels) {
    CProfile profile;
    EXPECT_EQ(CTreeFormat().Levels(), (std::vector<int>{1, 2, 3}));
    profile.WriteString("FreeDB", "TreeFormat", "02000000FFFFFFFF");
    CTreeFormat format;
    format.Load(profile);
    EXPECT_EQ(format.Levels(), (std::vector<int>{1, 2, 3})) << "not 16 bytes: the default";
    profile.WriteString("FreeDB", "TreeFormat", "04000000020000000400000007000000");
    format.Load(profile);
    EXPECT_EQ(format.Levels(), (std::vector<int>{4, 2})) << "repeated and unknown codes skipped";

    // The page lists the used levels first; saving with every level hidden keeps the disc ID.
    EXPECT_EQ(format.Items(),
              (std::vector<CTreeFormat::SLevelItem>{{4, true}, {2, true}, {1, false}, {3, false}}));
    const CTreeFormat none =
        CTreeFormat::FromItems({{1, false}, {2, false}, {3, false}, {4, false}});
    EXPECT_EQ(none.GetCodes(), (CTreeFormat::Codes{4, -1, -1, -1}));
    const CTreeFormat moved =
        CTreeFormat::FromItems({{3, true}, {1, false}, {2, true}, {4, false}});
    ASSERT_TRUE(moved.Save(profile));
    EXPECT_EQ(profile.GetString("FreeDB", "TreeFormat", ""), "0300000002000000FFFFFFFFFFFFFFFF");
    format.Load(profile);
    EXPECT_EQ(format.Levels(), (std::vector<int>{3, 2}));
}

TEST(AlbumTreeTest, AlbumsShareTheGroupsAboveTheLastLevelOnly) {
    CAlbumTree tree(CTreeFormat().Levels());
    EXPECT_EQ(tree.AddAlbum(0, Album("rock", "Band", "First", "0a000001")).size(), 3u);
    const CAlbumInfo second = Album("rock", "Band", "Second", "0a000002");
    const auto [parent, row] = tree.InsertionPoint(second);
    EXPECT_EQ(tree.Node(parent).m_strLabel, "Band");
    EXPECT_EQ(row, 1u);
    EXPECT_EQ(tree.AddAlbum(1, second).size(), 1u);
    EXPECT_EQ(tree.InsertionPoint(Album("jazz", "Band", "x", "0a000009")),
              (std::pair<std::size_t, std::size_t>{CAlbumTree::kRoot, 1}));
    EXPECT_EQ(tree.AddAlbum(2, Album("rock", "band", "First", "0a000003")).size(), 2u)
        << "labels are compared exactly";
    const std::size_t rock = tree.Node(CAlbumTree::kRoot).m_children.at(0);
    ASSERT_EQ(tree.Node(rock).m_children.size(), 2u);
    EXPECT_EQ(Label(tree, rock, 0), "Band");
    EXPECT_EQ(Label(tree, rock, 1), "band");
    const std::size_t band = tree.Node(rock).m_children.at(0);
    EXPECT_EQ(Label(tree, band, 1), "Second");
    EXPECT_EQ(tree.AlbumOf(tree.Node(band).m_children.at(1)), 1u);
    EXPECT_EQ(tree.NodeOfAlbum(1), tree.Node(band).m_children.at(1));

    // One level: a node per album, even for the same artist.
    tree.Clear(CTreeFormat({2, -1, -1, -1}).Levels());
    tree.AddAlbum(0, Album("rock", "Band", "First", "0a000001"));
    tree.AddAlbum(1, Album("jazz", "Band", "Second", "0a000002"));
    EXPECT_EQ(tree.Node(CAlbumTree::kRoot).m_children.size(), 2u);
    EXPECT_EQ(Label(tree, CAlbumTree::kRoot, 1), "Band");
}

TEST(AlbumTreeTest, TheInfoBarShowsTheAlbumOrTheGroupLabelInItsField) {
    const CAlbumInfo album = Album("rock", "Band", "First", "0a000001");
    CAlbumTree tree(CTreeFormat().Levels());
    const std::vector<std::size_t> made = tree.AddAlbum(0, album);
    const CAlbumTree::SInfo albumInfo = CAlbumTree::InfoOf(tree.Node(made[2]), &album);
    EXPECT_EQ(albumInfo.m_strAlbum, "First");
    EXPECT_EQ(albumInfo.m_strYear, "1999");
    EXPECT_EQ(albumInfo.m_nTracks, 2u);
    EXPECT_EQ(albumInfo.m_strDiscId, "0a000001");
    const CAlbumTree::SInfo artist = CAlbumTree::InfoOf(tree.Node(made[1]), nullptr);
    EXPECT_EQ(artist.m_strArtist, "Band");
    EXPECT_EQ(artist.m_nTracks, 0u);
    EXPECT_TRUE(CAlbumTree::InfoOf(tree.Node(made[0]), nullptr).m_strArtist.empty());

    tree.Clear(CTreeFormat({3, 4, -1, -1}).Levels());
    const std::size_t title = tree.AddAlbum(0, album).front();
    const CAlbumTree::SInfo titleInfo = CAlbumTree::InfoOf(tree.Node(title), nullptr);
    EXPECT_EQ(titleInfo.m_strAlbum, "First");
    EXPECT_TRUE(titleInfo.m_strArtist.empty());
}
