#include "filelist/TrackListLayout.h"

#include "platform/Profile.h"

#include <gtest/gtest.h>

namespace {
using Columns = CTrackListColumns;
using Order = CTrackListLayout::Order;
} // namespace

TEST(TrackListLayoutTest, StoredColumnOrderIsTakenOnlyWhenWhole) {
    EXPECT_EQ(CTrackListLayout::ParseColumnOrder("912345678"), (Order{8, 0, 1, 2, 3, 4, 5, 6, 7}));
    // The default, a repeated or missing column, a digit out of range, a wrong length.
    for (const char* value :
         {"213456789", "112345678", "012345678", "A12345678", "12345678", "1234567890", ""})
        EXPECT_EQ(CTrackListLayout::ParseColumnOrder(value), std::nullopt) << value;
}

TEST(TrackListLayoutTest, FlagsAndOrderSurviveAProfileRoundTrip) {
    CProfile profile;
    profile.WriteString("View Columns", "ViewWAVSize", "2");
    profile.WriteString("View Columns", "ViewStatus", "-1");
    profile.WriteString("View Columns", "ViewMP3Name", "yes");
    CTrackListLayout layout;
    layout.Load(profile);
    EXPECT_TRUE(layout.IsVisible(Columns::kWavSize));
    EXPECT_FALSE(layout.IsVisible(Columns::kStatus));
    EXPECT_FALSE(layout.IsVisible(Columns::kMp3Name));
    EXPECT_TRUE(layout.IsVisible(Columns::kTitle));
    EXPECT_FALSE(layout.IsVisible(Columns::kDirectory));
    // The default order stored comes back as the natural order, and is written as such.
    layout.Save(profile);
    EXPECT_EQ(profile.GetString("Settings", "ColumnOrderArray", ""), "123456789");
    EXPECT_EQ(profile.GetInt("View Columns", "ViewMP3Name", -1), 0);

    layout.SetColumnOrder({8, 0, 1, 2, 3, 4, 5, 6, 7});
    layout.ToggleVisible(Columns::kStatus);
    layout.Save(profile);
    CTrackListLayout reread;
    reread.Load(profile);
    EXPECT_EQ(reread.ColumnOrder(), layout.ColumnOrder());
    EXPECT_TRUE(reread.IsVisible(Columns::kStatus));
}

TEST(TrackListLayoutTest, FlexibleColumnsShareWhatTheFittedAndStatusColumnsLeave) {
    CTrackListLayout layout;
    CTrackListLayout::Widths fitted{};
    fitted[Columns::kNumber] = 30;
    fitted[Columns::kPlayTime] = 60;
    fitted[Columns::kWavSize] = 70;
    // 800 - 18 - 75 - 60 - 30 = 617 for the name, MP3 name and title columns.
    CTrackListLayout::Widths widths = layout.ComputeWidths(800, fitted);
    EXPECT_EQ(widths, (CTrackListLayout::Widths{205, 30, 60, 0, 0, 205, 205, 75, 0}));
    // A narrow list still gives each at least 100 pixels.
    widths = layout.ComputeWidths(300, fitted);
    EXPECT_EQ(widths[Columns::kWavName], 100);
    for (const int column : {Columns::kWavName, Columns::kMp3Name, Columns::kTitle})
        layout.ToggleVisible(column);
    widths = layout.ComputeWidths(800, fitted);
    EXPECT_EQ(widths, (CTrackListLayout::Widths{0, 30, 60, 0, 0, 0, 0, 75, 0}));
}

TEST(TrackListLayoutTest, HeaderClicksSortAscendingThenReversedAndOnlySortableColumns) {
    using Request = CTrackListLayout::SSortRequest;
    CTrackListLayout layout;
    EXPECT_EQ(layout.ClickHeader(Columns::kNumber), std::nullopt);
    EXPECT_EQ(layout.ClickHeader(Columns::kTitle), std::nullopt);
    EXPECT_EQ(layout.ClickHeader(Columns::kWavName), (Request{Columns::kWavName, false}));
    EXPECT_EQ(layout.ClickHeader(Columns::kWavName), (Request{Columns::kWavName, true}));
    EXPECT_EQ(layout.ClickHeader(Columns::kPlayTime), (Request{Columns::kPlayTime, false}));
    EXPECT_EQ(layout.ClickHeader(Columns::kWavName), (Request{Columns::kWavName, false}));
    EXPECT_EQ(layout.ClickHeader(Columns::kTitle), std::nullopt);
    EXPECT_EQ(layout.ClickHeader(Columns::kWavName), (Request{Columns::kWavName, true}));
}
