// Small helpers shared by the tests: files with exact bytes, and waiting for a condition while
// the event loop runs.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace testsupport {

// Writes bytes exactly as given (no line-end translation); creates missing folders.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
// Writes an executable shell script whose lines follow "#!/bin/sh"; returns its path. The tests
// give the window its service this way, with the arguments they need.
QString writeScript(const QString& path, const QByteArray& lines);

// Runs the event loop until pred() holds or timeoutMs passes; returns pred()'s last value.
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

// pactl against the tests' sound server (or the one its arguments name); its standard output.
QString pactl(const QStringList& arguments);
// The null sink's volume in the server's own units (65536 is 100 %), of its first channel: on
// the tests' sound server, or on the one whose folder is given.
long sinkVolume(const QString& serverFolder = {});

// Runs the event loop for ms milliseconds.
void pump(int ms);

// A child process that is ended when it goes out of scope: asked to terminate, then killed.
struct StoppedProcess {
    void operator()(QProcess* process) const
    {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(1000);
        }
        delete process;
    }
};
using Process = std::unique_ptr<QProcess, StoppedProcess>;

} // namespace testsupport
