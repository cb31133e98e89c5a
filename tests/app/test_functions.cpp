// The shared wait and the file check.
#include "base/modfunctions.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using modFunctions::FileExists;
using modFunctions::SharedWaitTimer;

TEST(Wait, ReturnsAfterAboutTheTimeAskedWhileTimersAndPostedEventsRun)
{
    SharedWaitTimer waits;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    bool posted = false;
    QMetaObject::invokeMethod(
        &timer, [&] { posted = true; }, Qt::QueuedConnection);

    QElapsedTimer clock;
    clock.start();
    waits.Wait(50);
    const qint64 elapsed = clock.elapsed();

    EXPECT_GE(elapsed, 50);
    EXPECT_LT(elapsed, 1000);
    EXPECT_TRUE(posted);
    EXPECT_GE(ticks, 3);
}

TEST(Wait, ANestedShorterWaitEndsTheOuterOneAsWell)
{
    SharedWaitTimer waits;
    qint64 innerDoneAt = -1;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(20, [&] {
        waits.Wait(50);
        innerDoneAt = clock.elapsed();
    });
    waits.Wait(5000);
    const qint64 outerDoneAt = clock.elapsed();

    ASSERT_GE(innerDoneAt, 70);
    EXPECT_GE(outerDoneAt, innerDoneAt);
    EXPECT_LT(outerDoneAt, 1500) << "the outer wait must end with the inner one, not after 5 s";
}

TEST(Wait, ZeroAndNegativeWaitsReturnAtOnceAfterOnePass)
{
    SharedWaitTimer waits;
    bool posted = false;
    QMetaObject::invokeMethod(
        &waits, [&] { posted = true; }, Qt::QueuedConnection);
    QElapsedTimer clock;
    clock.start();
    waits.Wait(0);
    waits.Wait(-100);
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_TRUE(posted);
}

TEST(FileExists, TrueOnlyForPathsThatCanBeRead)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("present.dat");
    testsupport::writeFile(file, "x");

    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.filePath("missing.dat")));
    EXPECT_FALSE(FileExists(dir.filePath("no-folder/missing.dat")));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FileExists(QString::fromLatin1("bad\0path", 8)));
    EXPECT_FALSE(FileExists(file + "/below-a-file"));
}
