// The radio client against fake services on a private session bus.
#include "fakeradioservice.h"
#include "radio/axxmradioclient.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using testsupport::waitUntil;

namespace {

std::unique_ptr<AXXMRadioClient> clientFollowing(const FakeRadioService& owner)
{
    auto client = AXXMRadioClient::create();
    EXPECT_TRUE(client);
    EXPECT_TRUE(waitUntil([&] { return client->currentOwner() == owner.uniqueName(); }));
    return client;
}

} // namespace

TEST(RadioClient, DeliversEverySignalOfTheOwnerWithItsArguments)
{
    FakeRadioService service(QStringLiteral("owner"));
    auto client = clientFollowing(service);
    QSignalSpy change(client.get(), &AXXMRadioClient::ChannelChange);
    QSignalSpy time(client.get(), &AXXMRadioClient::CurrentTime);
    QSignalSpy data(client.get(), &AXXMRadioClient::ChannelData);
    QSignalSpy current(client.get(), &AXXMRadioClient::CurrentChannelData);
    QSignalSpy strength(client.get(), &AXXMRadioClient::SignalStrength);
    QSignalSpy mute(client.get(), &AXXMRadioClient::MuteChanged);

    service.emitSignal("ChannelChange", {7});
    service.emitSignal("CurrentTime", {30, 180});
    service.emitSignal("ChannelData", {5, "Rock, Hits", "B", "C", "D"});
    service.emitSignal("CurrentChannelData", {7, "S", "A", "T", "G"});
    service.emitSignal("SignalStrength", {49.5, 50.5, 100.0});
    service.emitSignal("MuteChanged", {true});
    ASSERT_TRUE(waitUntil([&] { return mute.count() == 1; }));

    EXPECT_EQ(change.at(0).at(0).toInt(), 7);
    EXPECT_EQ(time.at(0).at(1).toInt(), 180);
    EXPECT_EQ(data.at(0).at(1).toString(), "Rock, Hits");
    EXPECT_EQ(current.at(0).at(4).toString(), "G");
    EXPECT_FLOAT_EQ(strength.at(0).at(1).toFloat(), 50.5f);
    EXPECT_TRUE(client->Mute());
}

TEST(RadioClient, IgnoresSignalsFromAnyoneButTheOwnerAndMalformedOnes)
{
    FakeRadioService owner(QStringLiteral("owner"));
    FakeRadioService impostor(QStringLiteral("impostor"), false);
    auto client = clientFollowing(owner);
    QSignalSpy change(client.get(), &AXXMRadioClient::ChannelChange);
    QSignalSpy mute(client.get(), &AXXMRadioClient::MuteChanged);

    impostor.emitSignal("ChannelChange", {99});
    impostor.emitSignal("MuteChanged", {true});
    owner.emitSignal("ChannelChange", {"not a number"});
    owner.emitSignal("ChannelChange", {12});
    ASSERT_TRUE(waitUntil([&] { return change.count() >= 1; }));
    testsupport::pump(100);

    ASSERT_EQ(change.count(), 1);
    EXPECT_EQ(change.at(0).at(0).toInt(), 12);
    EXPECT_EQ(mute.count(), 0);
    EXPECT_FALSE(client->Mute());
}

TEST(RadioClient, MuteIsTheClientsOwnStateUntilTheServiceReports)
{
    FakeRadioService service(QStringLiteral("owner"));
    auto client = clientFollowing(service);
    client->setMute(true);
    EXPECT_TRUE(client->Mute());
    ASSERT_TRUE(waitUntil([&] { return service.calls.contains("SetMute true"); }));
    service.emitSignal("MuteChanged", {false});
    ASSERT_TRUE(waitUntil([&] { return !client->Mute(); }));
}

TEST(RadioClient, ResendsChannelAndMuteToAServiceThatStartsLateOrRestarts)
{
    auto client = AXXMRadioClient::create();
    ASSERT_TRUE(client);
    client->setMute(false);
    qint32 channel = 42;
    client->Channel(channel);
    testsupport::pump(50);

    {
        FakeRadioService late(QStringLiteral("late"));
        ASSERT_TRUE(waitUntil([&] { return late.calls.size() >= 2; }));
        EXPECT_EQ(late.calls, QStringList({"SetMute false", "Channel 42"}));
        late.releaseName();
    }
    ASSERT_TRUE(waitUntil([&] { return client->currentOwner().isEmpty(); }));

    client->setMute(true);
    FakeRadioService restarted(QStringLiteral("restarted"));
    ASSERT_TRUE(waitUntil([&] { return restarted.calls.size() >= 2; }));
    EXPECT_EQ(restarted.calls, QStringList({"SetMute true", "Channel 42"}));
}

TEST(RadioClient, CannotBeCreatedWithoutABus)
{
    const QDBusConnection nowhere(QStringLiteral("no-such-connection"));
    EXPECT_EQ(AXXMRadioClient::create(nowhere), nullptr);
}
