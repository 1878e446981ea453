#include "freedb/service/AlbumList.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <thread>
#include <vector>

namespace {
CAlbumInfo Named(const char* title) {
    CAlbumInfo album;
    album.SetTitle(title);
    return album;
}
} // namespace

TEST(AlbumListTest, CopiesAreOwnedAndIndependentAndOutOfRangeIsEmpty) {
    CAlbumList list;
    CAlbumInfo album = Named("First");
    album.GetTrack(0).SetTitle("t");
    EXPECT_EQ(list.AddCopy(album), 0u);
    EXPECT_EQ(list.AddCopy(Named("Second")), 1u);
    album.SetTitle("Changed");
    EXPECT_EQ(list.GetAt(0).GetTitle(), "First");
    EXPECT_NE(&list.GetAt(0), &album);
    EXPECT_EQ(list.GetAt(0).GetTracks()[0].GetAlbum(), &list.GetAt(0));
    EXPECT_EQ(list.GetCount(), 2u);

    // Out of range is an empty album, every time, whatever was done to the last one.
    CAlbumInfo& missing = list.GetAt(5);
    EXPECT_EQ(missing.GetTitle(), "");
    missing.SetTitle("scribbled");
    missing.GetTrack(3);
    EXPECT_EQ(list.GetAt(7).GetTitle(), "");
    EXPECT_EQ(static_cast<const CAlbumList&>(list).GetAt(9).GetTrackCount(), 0u);
    EXPECT_EQ(list.GetCount(), 2u);
}

// Owned entries are freed (the sanitizer build's leak check sees any that are not);
// referenced albums stay alive through every removal (it would see a use after free).
TEST(AlbumListTest, OwnedEntriesAreFreedReferencesSurvive) {
    CAlbumInfo outside = Named("outside");
    {
        CAlbumList list;
        list.Add(std::make_unique<CAlbumInfo>(Named("owned 1")));
        list.Add(std::make_unique<CAlbumInfo>(Named("owned 2")));
        list.Add(outside);
        list.RemoveAt(0);
        list.RemoveAt(9);
        EXPECT_EQ(list.GetAt(0).GetTitle(), "owned 2");
        list.RemoveAt(1);
        EXPECT_EQ(outside.GetTitle(), "outside");
        list.Add(outside);
        list.Clear();
        EXPECT_EQ(outside.GetTitle(), "outside");
        EXPECT_EQ(list.GetCount(), 0u);
        list.Add(outside);
        list.AddCopy(outside);
    }
    EXPECT_EQ(outside.GetTitle(), "outside");
}

TEST(AlbumListTest, PopFrontAndMoveToFront) {
    CAlbumInfo a = Named("a");
    CAlbumInfo b = Named("b");
    CAlbumInfo c = Named("c");
    CAlbumList queue;
    queue.Add(a);
    queue.Add(b);
    queue.Add(c);
    EXPECT_TRUE(queue.MoveToFront(c));
    EXPECT_FALSE(queue.MoveToFront(Named("x")));
    EXPECT_EQ(queue.PopFront().get(), &c);
    EXPECT_EQ(queue.PopFront().get(), &a);
    EXPECT_EQ(queue.PopFront().get(), &b);
    EXPECT_EQ(queue.PopFront(), nullptr);
    EXPECT_EQ(a.GetTitle(), "a"); // popping a reference never deletes it

    CAlbumList owning;
    owning.AddCopy(a);
    CAlbumList::AlbumPtr popped = owning.PopFront();
    ASSERT_NE(popped, nullptr);
    EXPECT_EQ(popped->GetTitle(), "a");
    EXPECT_EQ(owning.GetCount(), 0u);
}

// Two workers pop the queue while a third thread keeps moving albums to the front:
// every album is taken exactly once and nothing is lost or duplicated.
TEST(AlbumListTest, PopFrontAndMoveToFrontUnderSeveralThreads) {
    constexpr int kAlbums = 2000;
    std::vector<CAlbumInfo> albums(kAlbums);
    CAlbumList queue;
    for (CAlbumInfo& album : albums)
        queue.Add(album);

    std::vector<const CAlbumInfo*> taken[2];
    std::atomic<bool> bDone{false};
    auto worker = [&](int n) {
        while (CAlbumList::AlbumPtr album = queue.PopFront())
            taken[n].push_back(album.get());
    };
    std::thread mover([&] {
        for (std::size_t round = 0; !bDone; ++round)
            queue.MoveToFront(albums[(round * 7919) % kAlbums]);
    });
    std::thread first(worker, 0);
    std::thread second(worker, 1);
    first.join();
    second.join();
    bDone = true;
    mover.join();

    std::set<const CAlbumInfo*> seen(taken[0].begin(), taken[0].end());
    seen.insert(taken[1].begin(), taken[1].end());
    EXPECT_EQ(taken[0].size() + taken[1].size(), static_cast<size_t>(kAlbums));
    EXPECT_EQ(seen.size(), static_cast<size_t>(kAlbums));
    EXPECT_EQ(queue.GetCount(), 0u);
}
