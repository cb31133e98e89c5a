// Where the radio's sound comes from: the receiver's line-in, or the simulator's programme. The
// play-through asks its source for frames and hands them to the output, and nothing else.
#pragma once

#include "soundformat.h"

#include <QString>

namespace sound {

struct SourceRead {
    long frames = 0;
    QString failure; // the source is lost; empty while it works
};

class SoundSource {
public:
    virtual ~SoundSource() = default;

    // What the log calls it.
    virtual QString name() const = 0;
    // Gets ready to give frames at about rate; the reason when it cannot, else empty.
    virtual QString open(unsigned rate) = 0;
    // The rate it gives, once open: the output is opened at the same rate.
    virtual unsigned rate() const = 0;
    virtual void close() = 0;
    // A live input keeps its own pace, and read() waits for its frames; a made programme is
    // asked for frames whenever the output has room.
    virtual bool isLive() const = 0;
    // Up to frames frames; none when none came within timeoutMs. A live input gives all it holds,
    // up to frames.
    virtual SourceRead read(Sample* samples, long frames, int timeoutMs) = 0;
    // Overruns since the last call: frames the input lost because they were not read in time.
    virtual int takeOverruns() { return 0; }
};

} // namespace sound
