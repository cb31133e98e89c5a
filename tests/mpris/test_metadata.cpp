// The tuned channel as MPRIS track metadata: which keys are there, with which D-Bus types; and
// an MPRIS volume as the mixer's level.
#include "mpris/mediaplayer.h"
#include "mpris/metadata.h"
#include "testsupport.h"

#include <QDBusArgument>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// One line a key, sorted: "key=value", lists as "[a|b]", the track id as its path.
QStringList describe(const QVariantMap& map)
{
    QStringList lines;
    for (auto it = map.begin(); it != map.end(); ++it) {
        const QVariant& v = it.value();
        QString text;
        if (v.metaType() == QMetaType::fromType<QDBusObjectPath>())
            text = v.value<QDBusObjectPath>().path();
        else if (v.metaType() == QMetaType::fromType<QStringList>())
            text = QLatin1Char('[') + v.toStringList().join(QLatin1Char('|')) + QLatin1Char(']');
        else if (v.metaType() == QMetaType::fromType<qint64>())
            text = QStringLiteral("x:%1").arg(v.toLongLong());
        else if (v.metaType() == QMetaType::fromType<QString>())
            text = v.toString();
        else
            text = QStringLiteral("unexpected type ") + QLatin1String(v.metaType().name());
        lines << it.key() + QLatin1Char('=') + text;
    }
    return lines;
}

struct Case {
    const char* name;
    mpris::Track track;
    QStringList expected;
};

const Case Cases[] = {
    {"a_song_with_its_time",
     {42, "Rock Hits", "Some Artist", "Some Title", "Rock", 215},
     {"mpris:length=x:215000000", "mpris:trackid=/org/vanto/XMRadio/channel/42", "xesam:album=Rock Hits",
      "xesam:artist=[Some Artist]", "xesam:genre=[Rock]", "xesam:title=Some Title"}},
    {"a_missing_time_leaves_out_the_length",
     {7, "Pop Now", "A", "B", "Pop", -1},
     {"mpris:trackid=/org/vanto/XMRadio/channel/7", "xesam:album=Pop Now", "xesam:artist=[A]", "xesam:genre=[Pop]",
      "xesam:title=B"}},
    {"a_talk_channel_without_artist_or_time",
     {140, "Talk Radio", "", "The Morning Show", "Talk", -1},
     {"mpris:trackid=/org/vanto/XMRadio/channel/140", "xesam:album=Talk Radio", "xesam:genre=[Talk]",
      "xesam:title=The Morning Show"}},
    {"quotes_commas_and_accents_pass_unchanged_a_credit_stays_one_artist_and_a_length_of_0_is_left_out",
     {12, "Café Zürich", "Hale, Moreno & Quist", "Don't Call It \"Love\"", "Chanson", 0},
     {"mpris:trackid=/org/vanto/XMRadio/channel/12", "xesam:album=Café Zürich", "xesam:artist=[Hale, Moreno & Quist]",
      "xesam:genre=[Chanson]", "xesam:title=Don't Call It \"Love\""}},
    {"no_channel_yet_is_no_track",
     {std::nullopt, "", "", "", "", -1},
     {"mpris:trackid=/org/mpris/MediaPlayer2/TrackList/NoTrack"}},
    {"the_preview_channel_0_is_a_track_like_any_other",
     {0, "Preview", "Host", "Welcome", "Info", -1},
     {"mpris:trackid=/org/vanto/XMRadio/channel/0", "xesam:album=Preview", "xesam:artist=[Host]", "xesam:genre=[Info]",
      "xesam:title=Welcome"}},
    {"a_negative_number_is_no_track_not_an_invalid_path",
     {-3, "X", "Y", "Z", "W", 10},
     {"mpris:trackid=/org/mpris/MediaPlayer2/TrackList/NoTrack"}},
};

class MetadataMapping : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(MetadataMapping, KeysAndTypes)
{
    const Case& c = GetParam();
    EXPECT_EQ(describe(mpris::Metadata(c.track)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Channels, MetadataMapping, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct VolumeCase {
    const char* name;
    double volume;
    std::optional<qint32> level;
};

const VolumeCase VolumeCases[] = {
    {"half", 0.5, 32768},
    {"silent", 0.0, 0},
    {"full", 1.0, 65535},
    {"below_zero_is_silent", -0.3, 0},
    {"above_full_is_full", 1.7, 65535},
    {"not_a_number_changes_nothing", std::numeric_limits<double>::quiet_NaN(), std::nullopt},
    {"infinity_is_full", std::numeric_limits<double>::infinity(), 65535},
};

class VolumeMapping : public ::testing::TestWithParam<VolumeCase> {};

} // namespace

TEST_P(VolumeMapping, LevelOfTheMixer)
{
    const VolumeCase& c = GetParam();
    EXPECT_EQ(mpris::LevelOf(c.volume), c.level);
    if (c.level) {
        EXPECT_NEAR(mpris::VolumeOf(*c.level), std::clamp(c.volume, 0.0, 1.0), 1.0 / 65535);
    }
}

INSTANTIATE_TEST_SUITE_P(Volumes, VolumeMapping, ::testing::ValuesIn(VolumeCases),
                         [](const auto& info) { return std::string(info.param.name); });
