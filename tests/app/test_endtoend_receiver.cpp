// The real window, the real radio service and the emulated receiver on a pseudo-terminal: the
// list fills with the receiver's line-up, Latin-1 names show as they should, and the last
// channel and a double click on a row tune the receiver.
#include "receiveremulator.h"
#include "testsupport.h"
#include "windowfixture.h"

#include <QTest>
#include <gtest/gtest.h>

using testsupport::waitUntil;

namespace {

class EndToEndReceiver : public WindowFixture {
protected:
    ReceiverEmulator receiver;
};

} // namespace

TEST_F(EndToEndReceiver, TheWindowListsAndTunesTheReceiver)
{
    useRadioService({"--device", receiver.devicePath()});
    writeProgramFolder("LastChannel=70\r\n");
    startWindow();
    skin::RadioXMControls& c = window->controls();

    ASSERT_TRUE(waitUntil([&] { return window->list().state().StartupHighlightDone; }, 20000))
        << window->table().count();
    int subscribed = 0;
    for (const ReceiverEmulator::Channel& channel : receiver.lineup())
        subscribed += channel.subscribed ? 1 : 0;
    EXPECT_EQ(window->table().count(), subscribed);
    EXPECT_LT(window->table().FindItem("009"), 0) << "a channel that is not subscribed is not listed";
    EXPECT_EQ(window->table().text(window->table().FindItem("008"), radio::Station), QStringLiteral("Café Crème"));
    EXPECT_EQ(window->table().text(window->table().FindItem("012"), radio::Station), QStringLiteral("München Nights"));

    EXPECT_EQ(receiver.tunedChannel(), 70) << "the last channel reached the receiver";
    ASSERT_TRUE(waitUntil([&] { return c.lblArtist->Caption() == QStringLiteral("The Grace Kessler Quartet"); }, 5000))
        << "the long artist: " << c.lblArtist->Caption().toStdString();
    EXPECT_EQ(c.lblStation->Caption(), QStringLiteral("Jazz Café"));
    const int tunedRow = window->list().state().SelectedListItem - window->list().state().TopListItem;
    EXPECT_EQ(c.lblListItem1(tunedRow).Caption(), QStringLiteral("Jazz Café")) << "the row on screen";

    const int row = tunedRow == 1 ? 2 : 1;
    const int chosen = c.lblListItem0(row).Caption().toInt();
    ASSERT_NE(chosen, 70);
    QWidget* label = c.lblListItem1(row).widget();
    QTest::mouseDClick(label, Qt::LeftButton, {}, label->rect().center());
    EXPECT_TRUE(waitUntil([&] { return receiver.tunedChannel() == chosen; }, 5000))
        << "the receiver is on " << receiver.tunedChannel() << ", not " << chosen;
    EXPECT_TRUE(waitUntil([&] { return c.lblCC->Caption() == QString::number(chosen); }));
    EXPECT_TRUE(shown.empty());
}
