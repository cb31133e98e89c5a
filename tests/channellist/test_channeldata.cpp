// The listing handler: the radio's ChannelData reports into the table, services.dat and the
// now-playing labels, against real files.
#include "channellist/channeldata.h"
#include "partsrig.h"
#include "radio/channeltable.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using radio::ChannelTable;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

struct Listing : PartsRig {
    QString services() const { return folder.filePath("services.dat"); }
};

} // namespace

TEST(ChannelData, ANewChannelAddsARowAndExactlyOneLine)
{
    Listing l;
    l.listing.ChannelData(5, "A", "B", "C", "D");
    ASSERT_EQ(l.table.count(), 1);
    EXPECT_EQ(l.table.text(0, radio::Num), "005");
    EXPECT_EQ(QStringList({l.table.text(0, 1), l.table.text(0, 2), l.table.text(0, 3), l.table.text(0, 4)}),
              QStringList({"A", "B", "C", "D"}));
    EXPECT_EQ(readFile(l.services()), "\"005,A,D\"\r\n");
    EXPECT_FALSE(l.state.ChannelListReady);
    EXPECT_FALSE(l.c.tmrHighlightListItem.Enabled());
}

TEST(ChannelData, AKnownChannelUpdatesItsRowMarksTheListReadyAndWritesNothing)
{
    Listing l;
    l.listing.ChannelData(5, "A", "B", "C", "D");
    l.listing.ChannelData(5, "A2", "B2", "C2", "D2");
    EXPECT_EQ(l.table.count(), 1);
    EXPECT_EQ(l.table.text(0, radio::Artist), "B2");
    EXPECT_EQ(readFile(l.services()), "\"005,A,D\"\r\n") << "a changed name is not written again";
    EXPECT_TRUE(l.state.ChannelListReady);
    EXPECT_TRUE(l.c.tmrHighlightListItem.Enabled());
    EXPECT_EQ(l.c.tmrUpdateListing.Interval(), 5000);

    l.list.state().StartupHighlightDone = true;
    l.c.tmrHighlightListItem.setEnabled(false);
    l.listing.ChannelData(5, "A", "B", "C", "D");
    EXPECT_FALSE(l.c.tmrHighlightListItem.Enabled());
}

TEST(ChannelData, AGenreWithACommaLoadsBackWithItsStationWhole)
{
    Listing l;
    l.listing.ChannelData(9, "Station, West", "Art", "Tit", "Rock, Pop");
    EXPECT_EQ(l.table.text(0, radio::Genre), "Rock, Pop") << "the table keeps the genre as received";
    EXPECT_EQ(readFile(l.services()), "\"009,Station, West,Rock; Pop\"\r\n");
    ChannelTable reloaded;
    reloaded.LoadServices(l.services());
    EXPECT_EQ(reloaded.text(0, radio::Station), "Station, West");
    EXPECT_EQ(reloaded.text(0, radio::Genre), "Rock; Pop");
}

TEST(ChannelData, ARunThatHearsNoNewChannelLeavesServicesByteForByte)
{
    Listing l;
    const QByteArray original = "\"001,One,Rock\"\r\n\n\"002,Two, with comma,Pop\"\r\n;odd line\r\n";
    writeFile(l.services(), original);
    l.table.LoadServices(l.services());
    l.listing.ChannelData(1, "One", "x", "y", "Rock");
    l.listing.ChannelData(2, "Renamed", "x", "y", "Jazz");
    EXPECT_EQ(readFile(l.services()), original);
}

TEST(ChannelData, TheTunedChannelsDataGoesOnTheNowPlayingLabels)
{
    Listing l;
    l.tuned.setNumber(5);
    l.listing.ChannelData(7, "Other", "X", "Y", "Z");
    EXPECT_EQ(l.c.lblStation->Caption(), "S") << "another channel leaves the labels alone";
    l.listing.ChannelData(5, "Station", "Artist", "Title", "Genre");
    EXPECT_EQ(l.c.lblStation->Caption(), "Station");
    EXPECT_EQ(l.c.lblArtist->Caption(), "Artist");
    EXPECT_EQ(l.c.lblTrackTitle->Caption(), "Title");
    EXPECT_EQ(l.c.lblGenre->Caption(), "Genre");
    EXPECT_EQ(l.c.lblArtistTrackTitle->Caption(), "Artist - Title");
}

TEST(ChannelData, AFailedAppendKeepsTheRowAndTheProgramRunning)
{
    PartsRig r;
    radio::ChannelDataHandler handler(r.list, r.table, r.tuned, r.folder.filePath("gone/services.dat"));
    handler.ChannelData(9, "A", "B", "C", "D");
    EXPECT_EQ(r.table.FindItem("009"), 0);
}
