// The whole window for a test: a program folder on disk with the test skin and a vantoxm.ini,
// the window built over it through its Seams with a message box that answers from a script,
// loaded and shown; and, when the test asks for it, the real radio service, which the window
// starts itself through its service path, as it does for the user.
//
// A test derives its fixture from WindowFixture (or uses it as is with TEST_F) and, before it
// starts the window:
//   - writes the program folder: writeProgramFolder(radio) for the test skin in Skins and
//     vantoxm.ini, or testskin::writeSkin and writeSettings(radio, appearance, more) apart;
//     `radio` holds the [XMRadio] lines ("LastChannel=20\r\n"), `more` whole further sections;
//     other files of the program (services.dat) go to folder.filePath(name);
//   - for the real service, calls useRadioService({"--seed", "7", "--channels", "150"}) before
//     writing the settings: the service's arguments (without --device it simulates a receiver);
//     serviceStarted, if set, hears of each service the window starts once it is on the bus;
//   - changes `seams` where it needs its own parts (useMemoryMixer for a mixer held in memory;
//     an empty seams.messageBox gives the program's own boxes), and `answer` for the questions;
// then calls startWindow() (built, Form_Load, shown; the window is `window`) or, to look at a
// window before or during its load, makeWindow(). What the window showed in boxes is in `shown`.
// TearDown destroys the window and stops every service it started, so that the next test finds
// the bus without a radio service; a fixture with a TearDown of its own calls this one.
//
//     class MyWindowTest : public WindowFixture {};
//     TEST_F(MyWindowTest, ...)
//     {
//         useRadioService({"--seed", "3", "--interval", "10", "--channels", "30"});
//         writeProgramFolder("LastChannel=5\r\n", WindowSize, "[Section]\r\nKey=Value\r\n");
//         startWindow();
//         ASSERT_TRUE(testsupport::waitUntil([&] { return window->list().state().ChannelListReady; }, 15000));
//     }
//
// In CMake the test links vanto_windowfixture and runs on a bus of its own:
//     vanto_add_test(test_name SOURCES test_name.cpp LIBS vanto_windowfixture DBUS PULSE)
//     add_dependencies(test_name xm-radio-service)   # with useRadioService
#pragma once

#include "app/frmradioxm.h"
#include "scriptedmessagebox.h"
#include "volume/memorymixer.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class QDBusServiceWatcher;

class WindowFixture : public ::testing::Test {
public:
    using Answer = app::MessageBox::Answer;
    // The window's size at start-up, as the [Appearance] lines of vantoxm.ini.
    static inline const QByteArray WindowSize = "WindowWidth=800\r\nWindowHeight=480\r\n";

    WindowFixture();
    ~WindowFixture() override;

protected:
    void TearDown() override;

    // The test skin in Skins and vantoxm.ini with these lines.
    void writeProgramFolder(const QByteArray& radio, const QByteArray& appearance = WindowSize,
                            const QByteArray& more = {});
    // vantoxm.ini: [XMRadio] with the service's path (after useRadioService) and radio,
    // [Appearance] with appearance, then more. Each line ends with CR LF.
    void writeSettings(const QByteArray& radio, const QByteArray& appearance = WindowSize, const QByteArray& more = {});
    // vantoxm.ini as it is on disk now.
    QByteArray settings() const;

    // The window will start the real radio service with these arguments, through a wrapper in
    // the program folder that records each process it starts.
    void useRadioService(const QStringList& arguments);
    // The services the window started, in the order it started them (the watchdog's Yes starts
    // one more); 0 when none.
    QList<qint64> startedServices() const;
    // The process that owns the radio service's name on the bus now; 0 when none.
    static qint64 serviceOwner();
    // Ends every service the window started and waits until they are gone and the name is free.
    void stopServices();

    // The window's mixer is held in memory, in script.
    void useMemoryMixer(volume::MemoryMixer::Script& script);

    // A window built over the folder from seams (or the seams given); not loaded yet.
    std::unique_ptr<frmRadioXM> makeWindow();
    std::unique_ptr<frmRadioXM> makeWindow(frmRadioXM::Seams windowSeams);
    // window = makeWindow(), loaded and shown.
    frmRadioXM& startWindow();

    QTemporaryDir folder;
    frmRadioXM::Seams seams;
    std::vector<ScriptedMessageBox::Shown> shown;
    std::function<Answer(const ScriptedMessageBox::Shown&)> answer = [](const auto&) { return Answer::Ok; };
    // Called on the event loop with its process id each time a service the window started takes
    // the radio service's name on the bus.
    std::function<void(qint64 pid)> serviceStarted;
    std::unique_ptr<frmRadioXM> window;

private:
    QString m_servicePath;
    std::unique_ptr<QDBusServiceWatcher> m_serviceWatcher;
};
