// The real xmctl on a private session bus: a call from a client is printed, a typed command
// becomes a signal with the right arguments, and a bad command is reported without ending it.
#include "busrecorder.h"
#include "testsupport.h"

#include <QProcess>
#include <gtest/gtest.h>

using testsupport::waitUntil;

namespace {

const QString XmctlPath = QStringLiteral(VANTO_PROGRAM_DIR "/xmctl");

class Xmctl : public ::testing::Test {
protected:
    void start(const QStringList& arguments = {})
    {
        m_process.start(XmctlPath, arguments);
        ASSERT_TRUE(m_process.waitForStarted(3000));
        ASSERT_TRUE(waitUntil(&radioNameOwned, 5000)) << m_process.readAllStandardError().toStdString();
    }

    void type(const QByteArray& line) { m_process.write(line + '\n'); }

    // Waits for the next complete line on stdout.
    QByteArray nextOutputLine()
    {
        waitUntil([this] { return m_process.canReadLine(); }, 3000);
        return m_process.readLine().trimmed();
    }

    void TearDown() override
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(3000);
        }
    }

    BusRecorder m_recorder;
    QProcess m_process;
};

} // namespace

TEST_F(Xmctl, PrintsEveryCallItReceives)
{
    start();
    ASSERT_TRUE(callRadio("Channel", 7));
    EXPECT_EQ(nextOutputLine(), "Channel 7");
    ASSERT_TRUE(callRadio("SetMute", true));
    EXPECT_EQ(nextOutputLine(), "SetMute true");
    ASSERT_TRUE(callRadio("SetMute", false));
    EXPECT_EQ(nextOutputLine(), "SetMute false");

    // A second xmctl as the client, with time shift's calls.
    EXPECT_EQ(QProcess::execute(XmctlPath, {"--call", "Seek", "12.5"}), 0);
    EXPECT_EQ(nextOutputLine(), "Seek 12.5");
    EXPECT_EQ(QProcess::execute(XmctlPath, {"--call", "NextSong"}), 0);
    EXPECT_EQ(nextOutputLine(), "NextSong");
    EXPECT_EQ(QProcess::execute(XmctlPath, {"--call", "Seek", "soon"}), 2);
    EXPECT_EQ(QProcess::execute(XmctlPath, {"--call", "Pause", "now"}), 2);
}

TEST_F(Xmctl, ATypedCommandEmitsTheSignalWithItsArguments)
{
    start();
    type(R"(ChannelData 5 "Rock Hits" "Hale, Moreno & Quist" "Don't Call It \"Love\"" "Rock")");
    type("SignalStrength 10 50.5 100");
    ASSERT_TRUE(waitUntil([this] { return m_recorder.count("SignalStrength") == 1; }));

    const QList<BusSignal> data = m_recorder.received("ChannelData");
    ASSERT_EQ(data.size(), 1);
    EXPECT_EQ(data.at(0).arguments,
              (QVariantList{5, "Rock Hits", "Hale, Moreno & Quist", "Don't Call It \"Love\"", "Rock"}));
    EXPECT_EQ(m_recorder.received("SignalStrength").at(0).arguments, (QVariantList{10.0, 50.5, 100.0}));
}

TEST_F(Xmctl, AMalformedCommandIsReportedAndTheNextOneStillWorks)
{
    start();
    type("CurrentTime 30");
    type("MuteChanged true");
    ASSERT_TRUE(waitUntil([this] { return m_recorder.count("MuteChanged") == 1; }));
    EXPECT_EQ(m_recorder.count("CurrentTime"), 0);
    QByteArray errors;
    EXPECT_TRUE(waitUntil([&] { return (errors += m_process.readAllStandardError()).contains("CurrentTime needs 2"); }))
        << errors.toStdString();
    EXPECT_EQ(m_process.state(), QProcess::Running);
}

TEST_F(Xmctl, RunsTheCommandInItsArgumentsAndEndsAtQuit)
{
    start({"CurrentTime", "-1", "-1"});
    ASSERT_TRUE(waitUntil([this] { return m_recorder.count("CurrentTime") == 1; }));
    EXPECT_EQ(m_recorder.received("CurrentTime").at(0).arguments, (QVariantList{-1, -1}));
    type("quit");
    ASSERT_TRUE(m_process.waitForFinished(3000));
    EXPECT_EQ(m_process.exitCode(), 0);
}

TEST_F(Xmctl, ASecondInstanceExitsWithAMessage)
{
    start();
    QProcess second;
    second.start(XmctlPath, {});
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_NE(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains("org.vanto.XMRadio is already owned"));
    EXPECT_EQ(m_process.state(), QProcess::Running);
}
