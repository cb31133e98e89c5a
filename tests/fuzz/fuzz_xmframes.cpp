// The receiver's frame decoder with every reply parser behind it. However the reads split the
// stream, the same frames come out; no frame is longer than its input or than a reply can be;
// texts carry no control characters; signal bars stay within 0..100; a song's position is never
// past its end.
#include "fuzzcheck.h"
#include "service/xmframes.h"
#include "service/xmreplies.h"

#include <QList>
#include <cstdint>

using namespace xmservice::xm;

namespace {

void checkText(const QString& text)
{
    FUZZ_CHECK(fuzz::isCleanText(text));
    FUZZ_CHECK(text == text.trimmed());
}

void checkPercent(double value)
{
    FUZZ_CHECK(value >= 0 && value <= 100);
}

// Every parser on one payload, whatever its code: each must read only what is there.
void parseEverything(QByteArrayView payload)
{
    statusOf(payload);
    songTimeChannel(payload);
    if (const auto info = parseChannelInfo(payload)) {
        for (const QString& text : {info->name, info->category, info->artist, info->title})
            checkText(text);
    }
    parseTune(payload);
    if (const auto text = parseExtendedText(payload)) {
        checkText(text->artist.value_or(QString()));
        checkText(text->title.value_or(QString()));
    }
    if (const auto power = parsePowerUp(payload))
        checkText(power->radioId);
    if (const auto text = parseMonitorText(payload)) {
        checkText(text->first);
        checkText(text->second);
    }
    if (const auto report = parseSignal(payload)) {
        const SignalLevels levels = signalPercentages(*report);
        checkPercent(levels.rock);
        checkPercent(levels.roll);
        checkPercent(levels.ground);
    }
    const SongTime time = SongTimeReader().read(payload);
    FUZZ_CHECK((time.position == -1 && time.duration == -1) || (time.position >= 0 && time.position <= time.duration));
}

// Read sizes from a small generator seeded by the input, so each input is also split its own way.
QList<QByteArray> feedInPieces(QByteArrayView stream, quint32 seed)
{
    FrameDecoder decoder;
    QList<QByteArray> frames;
    qsizetype at = 0;
    while (at < stream.size()) {
        seed = seed * 1664525u + 1013904223u;
        const qsizetype piece = std::min<qsizetype>(1 + (seed >> 24) % 97, stream.size() - at);
        frames += decoder.feed(stream.sliced(at, piece));
        at += piece;
    }
    return frames;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView stream(reinterpret_cast<const char*>(data), qsizetype(size));
    FrameDecoder whole;
    const QList<QByteArray> frames = whole.feed(stream);
    FUZZ_CHECK(whole.skippedBytes() <= stream.size());
    qsizetype framed = 0;
    for (const QByteArray& frame : frames) {
        FUZZ_CHECK(!frame.isEmpty() && frame.size() <= LongestReply);
        FUZZ_CHECK(fitsLength(quint8(frame.at(0)), int(frame.size())));
        framed += frame.size();
        parseEverything(frame);
    }
    FUZZ_CHECK(framed + whole.skippedBytes() <= stream.size());

    const quint32 seed = size > 0 ? quint32(data[0]) << 8 | quint32(size) : 1;
    FUZZ_CHECK(feedInPieces(stream, seed) == frames);
    FrameDecoder bytewise;
    QList<QByteArray> oneByOne;
    for (qsizetype i = 0; i < stream.size(); ++i)
        oneByOne += bytewise.feed(stream.sliced(i, 1));
    FUZZ_CHECK(oneByOne == frames);
    FUZZ_CHECK(bytewise.skippedBytes() == whole.skippedBytes());

    for (const QByteArray& frame : whole.flush())
        parseEverything(frame);
    parseEverything(stream);
    return 0;
}
