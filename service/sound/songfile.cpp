#include "songfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <opus.h>
#include <opusenc.h>

namespace sound {

namespace {

constexpr int MostNameBytes = 200;
constexpr int SavedBitrate = 128000;

// Characters no file system of a car's USB stick takes in a name.
bool unsafe(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("/\\:*?\"<>|").contains(c);
}

QString safe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        out += unsafe(c) ? QLatin1Char('_') : c;
    return out.simplified();
}

QString baseName(const SongInfo& song)
{
    const QString artist = safe(song.artist);
    const QString title = safe(song.title);
    QString name = artist.isEmpty() && title.isEmpty() ? QStringLiteral("Channel %1").arg(song.channel)
                   : artist.isEmpty()                  ? title
                   : title.isEmpty()                   ? artist
                                                       : artist + QLatin1String(" - ") + title;
    // A leading dot hides the file.
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    while (name.toUtf8().size() > MostNameBytes) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("Song") : name;
}

QString encoderFailure(const QString& path, int error)
{
    return QStringLiteral("%1 cannot be written: %2").arg(path, QString::fromUtf8(ope_strerror(error)));
}

// Decodes the kept packets and encodes the song's frames into a new Ogg Opus file at path.
QString writeOpusFile(const KeptSong& kept, const QString& path)
{
    OggOpusComments* comments = ope_comments_create();
    if (!comments)
        return QStringLiteral("%1 cannot be written: out of memory").arg(path);
    const auto tag = [comments](const char* name, const QString& value) {
        if (!value.isEmpty())
            ope_comments_add(comments, name, value.toUtf8().constData());
    };
    tag("ARTIST", kept.song.artist);
    tag("TITLE", kept.song.title);
    tag("ALBUM", kept.song.station);
    tag("GENRE", kept.song.genre);
    tag("CHANNEL", QString::number(kept.song.channel));
    int error = OPE_OK;
    OggOpusEnc* encoder = ope_encoder_create_file(QFile::encodeName(path).constData(), comments,
                                                  opus_int32(TimeShiftBuffer::Rate), Channels, 0, &error);
    ope_comments_destroy(comments); // the encoder keeps its own copy
    if (!encoder)
        return encoderFailure(path, error);
    ope_encoder_ctl(encoder, OPUS_SET_BITRATE(SavedBitrate));
    OpusDecoder* decoder = opus_decoder_create(opus_int32(TimeShiftBuffer::Rate), Channels, &error);
    QString failure = decoder ? QString() : QStringLiteral("the Opus decoder cannot be made");
    std::vector<Sample> pcm(std::size_t(TimeShiftBuffer::PacketFrames) * Channels);
    qint64 left = kept.frames;
    long skip = kept.skip;
    for (const std::vector<unsigned char>& packet : kept.packets) {
        if (!failure.isEmpty() || left <= 0)
            break;
        int got = opus_decode(decoder, packet.empty() ? nullptr : packet.data(), opus_int32(packet.size()), pcm.data(),
                              int(TimeShiftBuffer::PacketFrames), 0);
        if (got < 0) {
            std::fill(pcm.begin(), pcm.end(), Sample(0));
            got = int(TimeShiftBuffer::PacketFrames);
        }
        const long from = std::min(skip, long(got));
        skip -= from;
        const long frames = long(std::min(qint64(got - from), left));
        if (frames <= 0)
            continue;
        if ((error = ope_encoder_write(encoder, pcm.data() + from * Channels, frames)) != OPE_OK)
            failure = encoderFailure(path, error);
        left -= frames;
    }
    if (failure.isEmpty() && (error = ope_encoder_drain(encoder)) != OPE_OK)
        failure = encoderFailure(path, error);
    ope_encoder_destroy(encoder);
    if (decoder)
        opus_decoder_destroy(decoder);
    return failure;
}

} // namespace

KeptSong KeepSongHeard(const TimeShiftBuffer& buffer)
{
    KeptSong kept;
    const std::optional<SongMark> mark = buffer.songHeard();
    qint64 end = buffer.encodedEndFrame();
    if (mark) {
        kept.song = mark->song;
        for (const SongMark& later : buffer.marks())
            if (later.frame > mark->frame) {
                end = std::min(end, later.frame);
                break;
            }
    }
    const qint64 from = std::max(mark ? mark->frame : 0, buffer.firstFrame());
    if (end <= from)
        return kept;
    const qint64 packetFrames = TimeShiftBuffer::PacketFrames;
    buffer.forPackets(
        from / packetFrames, (end + packetFrames - 1) / packetFrames,
        [&kept](qint64, const unsigned char* data, std::size_t size) { kept.packets.emplace_back(data, data + size); });
    kept.skip = long(from % packetFrames);
    kept.frames = end - from;
    return kept;
}

QString SongFileName(const QString& folder, const SongInfo& song)
{
    const QString base = baseName(song);
    const QDir dir(folder);
    QString name = base + QLatin1String(".opus");
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("%1 (%2).opus").arg(base).arg(n);
    return dir.filePath(name);
}

SavedSong SaveSong(const KeptSong& kept, const QString& folder)
{
    if (kept.frames <= 0)
        return {{}, QStringLiteral("no sound of the song is kept")};
    if (!QDir().mkpath(folder))
        return {{}, QStringLiteral("the folder %1 cannot be made").arg(folder)};
    const QString path = SongFileName(folder, kept.song);
    const QFileInfo target(path);
    const QString part = target.dir().filePath(QLatin1Char('.') + target.fileName() + QLatin1String(".part"));
    QString failure = writeOpusFile(kept, part);
    if (failure.isEmpty() && !QFile::rename(part, path))
        failure = QStringLiteral("%1 cannot be renamed to %2").arg(part, path);
    if (!failure.isEmpty()) {
        QFile::remove(part);
        return {{}, failure};
    }
    return {path, {}};
}

} // namespace sound
