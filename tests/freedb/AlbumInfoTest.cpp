#include "freedb/service/AlbumInfo.h"

#include <gtest/gtest.h>

namespace {
CAlbumInfo ThreeTrackAlbum() {
    CAlbumInfo album;
    album.GetTrack(0).SetFrameOffset(150);
    album.GetTrack(1).SetFrameOffset(15150);
    album.GetTrack(2).SetFrameOffset(30150);
    album.SetDiscLength(600);
    return album;
}
} // namespace

// Offsets 150, 15150, 30150 are 2, 202 and 402 seconds: digit sums 2 + 4 + 6 = 12.
// Lengths 200 + 200 + 198 = 598 = 0x256. ID = 12 << 24 | 0x256 << 8 | 3 = 0x0c025603.
// Once computed the ID is stored and wins over later changes, as does one given.
TEST(AlbumInfoDiscIdTest, ComputedFromOffsetsAndDiscLengthWithLeadingZerosThenStored) {
    const CAlbumInfo constant = ThreeTrackAlbum();
    EXPECT_EQ(constant.GetDiscId(), "0c025603");
    EXPECT_EQ(constant.GetStoredDiscId(), "") << "a const album answers without storing";
    CAlbumInfo album = ThreeTrackAlbum();
    EXPECT_EQ(album.GetDiscId(), "0c025603");
    EXPECT_EQ(album.GetStoredDiscId(), "0c025603");
    album.GetTrack(2).SetFrameOffset(40000);
    EXPECT_EQ(album.GetDiscId(), "0c025603");
    EXPECT_NE(album.ComputeDiscId(), "0c025603");
    album.SetDiscId("deadbeef");
    EXPECT_EQ(album.GetDiscId(), "deadbeef");
    EXPECT_EQ(CAlbumInfo().GetDiscId(), "");

    // Leading zeros stay. One track at 150 frames on a 4 s disc: 2 s start, digit sum 2,
    // t = 4 - 2 = 2: ID = 2 << 24 | 2 << 8 | 1 = 0x02000201.
    CAlbumInfo one;
    one.GetTrack(0).SetFrameOffset(150);
    one.SetDiscLength(4);
    EXPECT_EQ(one.ComputeDiscId(), "02000201");

    // Each track starts at 99999 s (digit sum 45); 45 * 17 = 765 = 3 * 255 -> top byte 0.
    // Every track but the last has length 0; the last ends at the disc length 99999 s.
    CAlbumInfo zeroTop;
    for (int i = 0; i < 17; ++i)
        zeroTop.GetTrack(i).SetFrameOffset(99999 * 75);
    zeroTop.SetDiscLength(99999);
    EXPECT_EQ(zeroTop.ComputeDiscId(), "00000011");
}

TEST(AlbumInfoDiscIdTest, AlbumFromPlayTimes) {
    // 200 s, 200 s, 198 s: offsets 150, 15150, 30150, lead-out 45000 (600 s), the album
    // above. The lead-in counts in the disc length, and the last track ends at the
    // lead-out.
    CAlbumInfo album = CAlbumInfo::FromPlayTimes({200, 200, 198});
    ASSERT_EQ(album.GetTrackCount(), 3u);
    EXPECT_EQ(album.GetTracks()[1].GetFrameOffset(), 15150);
    EXPECT_EQ(album.GetTracks()[2].GetFrameOffset(), 30150);
    EXPECT_EQ(album.GetDiscLength(), 600u);
    EXPECT_EQ(album.GetTrack(2).GetLengthFrames(), 198 * 75);
    EXPECT_EQ(album.GetDiscId(), "0c025603");
    // A disc length set later is all that is known of the end.
    album.SetDiscLength(601);
    EXPECT_EQ(album.GetLeadOut(), 601 * 75);
}

TEST(AlbumTrackLengthTest, LengthsEndAtTheNextTrackOrTheDiscAndShowNoTimeWhenBackward) {
    CAlbumInfo album = ThreeTrackAlbum();
    EXPECT_EQ(album.GetTrack(0).GetLengthFrames(), 15000);
    EXPECT_EQ(album.GetTrack(0).GetLengthSeconds(), 200);
    EXPECT_EQ(album.GetTrack(0).GetLengthText(), "03:20");
    // The last track ends at the disc length: 45000 - 30150 = 14850 frames, 198 s.
    EXPECT_EQ(album.GetTrack(2).GetLengthFrames(), 14850);
    EXPECT_EQ(album.GetTrack(2).GetLengthText(), "03:18");
    EXPECT_EQ(album.GetTrack(2).GetCachedLengthText(), "03:18");

    CAlbumInfo hours;
    hours.GetTrack(0).SetFrameOffset(0);
    hours.GetTrack(1).SetFrameOffset(3725 * 75);
    hours.GetTrack(2).SetFrameOffset(3725 * 75 + 65 * 75);
    hours.GetTrack(3).SetFrameOffset(3725 * 75 + 65 * 75);
    hours.SetDiscLength(3725 + 65);
    EXPECT_EQ(hours.GetTrack(0).GetLengthText(), "01:02:05");
    EXPECT_EQ(hours.GetTrack(1).GetLengthText(), "01:05");
    EXPECT_EQ(hours.GetTrack(3).GetLengthText(), "00:00");

    CAlbumInfo backward;
    backward.GetTrack(0).SetFrameOffset(30000);
    backward.GetTrack(1).SetFrameOffset(150);
    EXPECT_LT(backward.GetTrack(0).GetLengthFrames(), 0);
    EXPECT_EQ(backward.GetTrack(0).GetLengthText(), "00:00");
    CAlbumTrack lone;
    lone.SetFrameOffset(0);
    EXPECT_EQ(lone.GetLengthText(), "00:00");
}

TEST(AlbumInfoTracksTest, TracksKnowTheirIndexAndAlbumAlsoInCopiesAndMoves) {
    CAlbumInfo album;
    EXPECT_EQ(album.GetTrack(4).GetIndex(), 4u);
    ASSERT_EQ(album.GetTrackCount(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(album.GetTracks()[i].GetIndex(), i);
        EXPECT_EQ(album.GetTracks()[i].GetAlbum(), &album);
    }
    album.GetTrack(2);
    EXPECT_EQ(album.FindTrack(5), nullptr);
    EXPECT_EQ(album.GetTrackCount(), 5u);

    // Copies and moves point their tracks at the new album.
    album = ThreeTrackAlbum();
    album.GetTrack(1).SetTitle("Middle");
    album.GetTrack(1).SetTitle("Changed");
    album.SetArtist("A");

    CAlbumInfo copy(album);
    for (const CAlbumTrack& track : copy.GetTracks())
        EXPECT_EQ(track.GetAlbum(), &copy);
    EXPECT_EQ(copy.GetTracks()[1].GetTitle(), "Changed");
    EXPECT_TRUE(copy.GetTracks()[1].IsChanged());
    EXPECT_EQ(copy.GetArtist(), "A");
    // The copy's last track ends at the copy's disc length, not the original's.
    album.SetDiscLength(1000);
    EXPECT_EQ(copy.GetTrack(2).GetLengthSeconds(), 198);

    CAlbumInfo assigned;
    assigned = copy;
    EXPECT_EQ(assigned.GetTracks()[0].GetAlbum(), &assigned);

    CAlbumInfo moved(std::move(assigned));
    EXPECT_EQ(moved.GetTracks()[2].GetAlbum(), &moved);
    CAlbumInfo moveAssigned;
    moveAssigned = std::move(moved);
    EXPECT_EQ(moveAssigned.GetTracks()[2].GetAlbum(), &moveAssigned);
    EXPECT_EQ(moveAssigned.GetTrack(2).GetLengthSeconds(), 198);
}

TEST(AlbumInfoFieldsTest, FilledFlagGatesTheTexts) {
    CAlbumInfo album;
    album.SetYear("1999");
    album.SetDiscId("0c025603");
    EXPECT_FALSE(album.IsFilled());
    EXPECT_EQ(album.GetYear(), "");
    EXPECT_FALSE(album.SetArtist(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(album.IsFilled());

    EXPECT_TRUE(album.SetCategory("rock"));
    EXPECT_TRUE(album.IsFilled());
    EXPECT_EQ(album.GetCategory(), "rock");
    // A year reads back only once the album has a track.
    EXPECT_EQ(album.GetYear(), "");
    album.GetTrack(0);
    EXPECT_EQ(album.GetYear(), "1999");
    album.SetYear(static_cast<const char*>(nullptr));
    EXPECT_EQ(album.GetYear(), "1999");
    EXPECT_TRUE(album.SetTitle(""));
    EXPECT_EQ(album.GetTitle(), "");
}

// Setting a text marks the track changed only when it replaces a different, non-empty
// text; appending never does, and a null text is ignored (the title is cleared by it).
TEST(AlbumTrackTextTest, ReplacingADifferentTextIsAChangeAndATrackArtistACompilation) {
    CAlbumInfo album;
    CAlbumTrack& track = album.GetTrack(0);
    track.SetTitle("Love");
    track.SetTitle("Love");
    EXPECT_FALSE(track.IsChanged());
    track.SetTitle("Love", true);
    EXPECT_EQ(track.GetTitle(), "LoveLove");
    EXPECT_FALSE(track.IsChanged());
    track.SetTitle("Hate");
    EXPECT_TRUE(track.IsChanged());
    track.SetTitle(static_cast<const char*>(nullptr));
    EXPECT_EQ(track.GetTitle(), "");

    CAlbumTrack& second = album.GetTrack(1);
    second.SetExtra("notes");
    second.SetExtra(static_cast<const char*>(nullptr));
    second.SetExtra(" more", true);
    EXPECT_EQ(second.GetExtra(), "notes more");
    EXPECT_FALSE(second.IsChanged());
    second.SetExtra("other");
    EXPECT_TRUE(second.IsChanged());

    CAlbumTrack& third = album.GetTrack(2);
    third.SetArtist(static_cast<const char*>(nullptr));
    EXPECT_FALSE(album.IsCompilation());
    third.SetArtist("Guest");
    EXPECT_TRUE(album.IsCompilation());
    EXPECT_FALSE(third.IsChanged());
    third.SetArtist("Other");
    EXPECT_TRUE(third.IsChanged());
}

TEST(AlbumInfoSplitTest, SlashOrElseDashSplitsEveryTrackOnlyWhenEveryTitleHoldsIt) {
    CAlbumInfo album;
    album.GetTrack(0).SetTitle("A / x");
    album.GetTrack(1).SetTitle("B / y / z");
    EXPECT_EQ(album.ApplyCompilationSplit(), " / ");
    EXPECT_TRUE(album.IsCompilation());
    EXPECT_EQ(album.GetTrack(0).GetArtist(), "A");
    EXPECT_EQ(album.GetTrack(0).GetTitle(), "x");
    EXPECT_EQ(album.GetTrack(1).GetArtist(), "B");
    EXPECT_EQ(album.GetTrack(1).GetTitle(), "y / z");
    // A split is not an edit.
    EXPECT_FALSE(album.GetTrack(0).IsChanged());

    // " - " only when every title holds it (and not every one " / ").
    CAlbumInfo dash;
    dash.GetTrack(0).SetTitle("A - x");
    dash.GetTrack(1).SetTitle("B");
    EXPECT_EQ(dash.ApplyCompilationSplit(), "");
    EXPECT_FALSE(dash.IsCompilation());
    EXPECT_EQ(dash.GetTrack(0).GetTitle(), "A - x");
    dash.GetTrack(1).SetTitle("B - y / z");
    EXPECT_EQ(dash.ApplyCompilationSplit(), " - ");
    EXPECT_EQ(dash.GetTrack(1).GetArtist(), "B");
    EXPECT_EQ(dash.GetTrack(1).GetTitle(), "y / z");

    // An empty title, or no track, means no split.

    CAlbumInfo gap;
    gap.GetTrack(0).SetTitle("A / x");
    gap.GetTrack(1);
    EXPECT_EQ(gap.ApplyCompilationSplit(), "");
    EXPECT_EQ(CAlbumInfo().ApplyCompilationSplit(), "");
}

TEST(AlbumInfoSplitTest, DTitleSplitsAtTheFirstSlashAfterTheStart) {
    CAlbumInfo album;
    album.SetArtistAndTitleFromDTitle("Some Artist / Some Album / Part 2");
    EXPECT_EQ(album.GetArtist(), "Some Artist");
    EXPECT_EQ(album.GetTitle(), "Some Album / Part 2");

    album.SetArtistAndTitleFromDTitle("No Separator");
    EXPECT_EQ(album.GetArtist(), "No Separator");
    EXPECT_EQ(album.GetTitle(), "No Separator");

    album.SetArtistAndTitleFromDTitle(" / Leading");
    EXPECT_EQ(album.GetArtist(), " / Leading");
    EXPECT_EQ(album.GetTitle(), " / Leading");

    CAlbumInfo empty;
    empty.SetArtistAndTitleFromDTitle("");
    EXPECT_TRUE(empty.IsFilled());
    EXPECT_EQ(empty.GetArtist(), "");
}
