// The real window with the real simulator service on a private session bus: the window starts
// the service itself, the table fills from the listing, services.dat gets one line a channel and
// the labels follow the tuned channel.
#include "app/frmradioxm.h"
#include "scriptedmessagebox.h"
#include "testskin.h"
#include "testsupport.h"

#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::waitUntil;

TEST(EndToEnd, TheWindowFollowsTheSimulatedReceiver)
{
    QTemporaryDir folder;
    testskin::writeSkin(folder.filePath("Skins"));
    // The service is started by the window through its path; a wrapper gives it a fast listing.
    const QString wrapper = folder.filePath("run-service.sh");
    testsupport::writeFile(wrapper, "#!/bin/sh\nexec '" VANTO_PROGRAM_DIR "/xm-radio-service' --seed 7 --interval 10 "
                                    "--channels 150\n");
    QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    testsupport::writeFile(folder.filePath("vantoxm.ini"),
                           "[XMRadio]\r\nXMServicePath=" + wrapper.toUtf8() +
                               "\r\nLastChannel=20\r\n[Appearance]\r\nWindowWidth=800\r\nWindowHeight=480\r\n");

    std::vector<ScriptedMessageBox::Shown> shown;
    frmRadioXM::Seams seams;
    seams.programFolder = folder.path();
    seams.messageBox = [&shown](QWidget*) {
        auto box = std::make_unique<ScriptedMessageBox>();
        box->log = &shown;
        return box;
    };
    frmRadioXM window(std::move(seams));
    window.Form_Load();
    window.show();
    QSignalSpy changes(window.radioClient(), &AXXMRadioClient::ChannelChange);

    ASSERT_TRUE(waitUntil([&] { return window.state().ChannelListReady; }, 15000)) << window.table().count();
    EXPECT_EQ(window.table().count(), 150);
    QList<QByteArray> lines = testsupport::readFile(folder.filePath("services.dat")).split('\n');
    ASSERT_EQ(lines.size(), 151) << "one line a channel, each ended by CR LF";
    EXPECT_TRUE(lines.takeLast().isEmpty());
    QSet<QByteArray> keys;
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(line.startsWith('"') && line.endsWith("\"\r")) << line.toStdString();
        keys.insert(line.mid(1, line.indexOf(',') - 1));
    }
    EXPECT_EQ(keys.size(), 150) << "each channel once";
    EXPECT_TRUE(keys.contains("020"));

    ASSERT_TRUE(waitUntil([&] { return !changes.isEmpty(); }));
    EXPECT_EQ(changes.front().front().toInt(), 20) << "the service was asked for the last channel";
    const int row = window.table().FindItem("020");
    ASSERT_GE(row, 0);
    skin::RadioXMControls& c = window.controls();
    ASSERT_TRUE(waitUntil([&] { return !c.lblStation->Caption().isEmpty(); }));
    EXPECT_EQ(c.lblCC->Caption(), "20");
    EXPECT_EQ(c.lblStation->Caption(), window.table().text(row, radio::Station));
    EXPECT_TRUE(waitUntil([&] { return c.lblCurrentPos->Caption().contains(':'); }));
    EXPECT_FALSE(window.controls().tmrLoad.Enabled());
    EXPECT_TRUE(shown.empty());
}
