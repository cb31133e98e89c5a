// The built-in lineup table and the generated channels beyond it.
#include "lineup.h"

#include <array>

namespace xmservice {

namespace {

struct StationRow {
    int number;
    const char* station; // UTF-8
    const char* genre;
};

// Blocks of channels by genre, the way a real receiver groups them, with the holes that
// retired channels leave behind. Every name is invented.
const StationRow BuiltInStations[] = {
    {1, "Preview Channel", "Info"},
    {2, "Channel Guide", "Info"},
    {4, "Forties Ballroom", "Decades"},
    {5, "Fifties Jukebox", "Decades"},
    {6, "Sixties Beat", "Decades"},
    {7, "Seventies Gold", "Decades"},
    {8, "Eighties Neon", "Decades"},
    {9, "Nineties Mixtape", "Decades"},
    {10, "Top Forty Now", "Pop"},
    {11, "Hit Parade Live", "Pop"},
    {12, "Pop Rewind", "Pop"},
    {13, "Acoustic Café", "Pop"},
    {14, "Soft Focus", "Pop"},
    {15, "Love Songs After Dark", "Pop"},
    {16, "Singer, Songwriter & Friends", "Pop"},
    {17, "Cover Story", "Pop"},
    {18, "The Pulse", "Pop"},
    {19, "Indie Bloom", "Pop"},
    {20, "Open Range", "Country"},
    {21, "Honky Tonk Highway", "Country"},
    {22, "Nashville North", "Country"},
    {23, "Bluegrass, Banjos & Beyond", "Country"},
    {24, "Outlaw Trail", "Country"},
    {25, "Prairie Wind Classics", "Country"},
    {26, "New Country Now", "Country"},
    {28, "Y'all Street", "Country"},
    {30, "Classic Rock Garage", "Rock"},
    {31, "Hard Drive", "Rock"},
    {32, "Deep Tracks", "Rock"},
    {33, "Rock 'n' Roll Diner", "Rock"},
    {34, "The Loft Alternative", "Rock"},
    {35, "Grunge Basement", "Rock"},
    {36, "Metal Foundry", "Rock"},
    {37, "Punk Alley", "Rock"},
    {38, "Jam Session Radio", "Rock"},
    {39, "Arena Anthems", "Rock"},
    {40, "Southern Rock Porch", "Rock"},
    {41, "Progressive Orbit", "Rock"},
    {42, "Garage Sale Radio", "Rock"},
    {43, "Unsigned & Unplugged", "Rock"},
    {44, "Rock, Paper & Static", "Rock"},
    {45, "The \"Deep Cuts\" Vault", "Rock"},
    {46, "First Wave", "Rock"},
    {47, "Flannel Years", "Rock"},
    {48, "Hair Metal Hotline", "Rock"},
    {49, "Riff Republic", "Rock"},
    {50, "Block Party", "Hip-Hop/R&B"},
    {51, "Old School Throwback", "Hip-Hop/R&B"},
    {52, "Soul Kitchen", "Hip-Hop/R&B"},
    {53, "Slow Jams Lounge", "Hip-Hop/R&B"},
    {54, "The Cypher", "Hip-Hop/R&B"},
    {55, "Motor City Soul", "Hip-Hop/R&B"},
    {56, "Urban Heat", "Hip-Hop/R&B"},
    {57, "Quiet Storm FM", "Hip-Hop/R&B"},
    {58, "Funk Factory", "Hip-Hop/R&B"},
    {60, "Club Circuit", "Dance/Electronic"},
    {61, "Deep House Terrace", "Dance/Electronic"},
    {62, "Chill Zone", "Dance/Electronic"},
    {63, "Trance Horizon", "Dance/Electronic"},
    {64, "Bass Lab", "Dance/Electronic"},
    {65, "Disco Mirrorball", "Dance/Electronic"},
    {66, "Techno Tunnel", "Dance/Electronic"},
    {67, "Lounge Électronique", "Dance/Electronic"},
    {70, "Jazz 'Round Midnight", "Jazz/Blues"},
    {71, "Swing Street", "Jazz/Blues"},
    {72, "Smooth Avenue", "Jazz/Blues"},
    {73, "Bebop Basement", "Jazz/Blues"},
    {74, "Delta Blues Shack", "Jazz/Blues"},
    {75, "Windy City Blues Room", "Jazz/Blues"},
    {76, "Big Band Ballroom", "Jazz/Blues"},
    {77, "Crooners & Torch Songs", "Jazz/Blues"},
    {78, "Latin Jazz Patio", "Jazz/Blues"},
    {80, "Symphony Hall", "Classical"},
    {81, "Opera Box", "Classical"},
    {82, "Chamber Music Salon", "Classical"},
    {83, "Élan Classique", "Classical"},
    {84, "Piano Préludes", "Classical"},
    {85, "Baroque Garden", "Classical"},
    {86, "Film Score Theatre", "Classical"},
    {87, "Choral Cathedral", "Classical"},
    {90, "Música Tropical", "Latin/World"},
    {91, "Rumba Caliente", "Latin/World"},
    {92, "Reggae Island", "Latin/World"},
    {93, "Afrobeat Sunrise", "Latin/World"},
    {94, "Fado & Flamenco", "Latin/World"},
    {95, "Bollywood Nights", "Latin/World"},
    {96, "Celtic Crossroads", "Latin/World"},
    {97, "Seoul Sound Arcade", "Latin/World"},
    {98, "Canción Mexicana", "Latin/World"},
    {99, "World Fusion Café", "Latin/World"},
    {100, "Higher Ground", "Christian"},
    {101, "Gospel Sunday", "Christian"},
    {102, "Praise Radio", "Christian"},
    {104, "Kids' Corner", "Kids"},
    {105, "Family Road Trip", "Kids"},
    {106, "Sing-Along Station", "Kids"},
    {110, "Laugh Track", "Comedy"},
    {111, "Clean Comedy Club", "Comedy"},
    {112, "Stand-Up Stage", "Comedy"},
    {113, "Comedy Classics Vault", "Comedy"},
    {120, "World News Desk", "News"},
    {121, "National News 24", "News"},
    {122, "Business Ticker", "News"},
    {123, "Headline Hourly", "News"},
    {124, "Public Affairs", "News"},
    {125, "Capitol Watch", "News"},
    {126, "Money Talk", "News"},
    {127, "Global Report", "News"},
    {130, "Talk Central", "Talk"},
    {131, "Late Night Callers", "Talk"},
    {132, "Health Hour Radio", "Talk"},
    {133, "Lab Notes Radio", "Talk"},
    {134, "Book Club of the Air", "Talk"},
    {135, "Faith & Reason", "Talk"},
    {136, "Home Workshop", "Talk"},
    {137, "Garage Doctors", "Talk"},
    {138, "Trucker Nightline", "Talk"},
    {139, "Spoken Word Theatre", "Talk"},
    {140, "Mystery Radio Theatre", "Talk"},
    {141, "Ask the Gardener", "Talk"},
    {142, "Parenting Today", "Talk"},
    {143, "Tech Support Live", "Talk"},
    {144, "Foodie Hotline", "Talk"},
    {145, "Travel Journal", "Talk"},
    {146, "History Hour", "Talk"},
    {147, "The Morning Commute with Dana & Reuben: News, Weather, Sports and Everything in Between", "Talk"},
    {150, "Sports Nation", "Sports"},
    {151, "Fantasy Sports Zone", "Sports"},
    {152, "Gridiron Radio", "Sports"},
    {153, "Hoops Hotline", "Sports"},
    {154, "Diamond Talk", "Sports"},
    {155, "Hockey Night Radio", "Sports"},
    {156, "Fútbol Mundial", "Sports"},
    {157, "Motorsport Radio", "Sports"},
    {158, "Golf Links", "Sports"},
    {159, "Fight Night", "Sports"},
    {160, "Campus Sports", "Sports"},
    {161, "Play-by-Play 1", "Sports"},
    {162, "Play-by-Play 2", "Sports"},
    {163, "Play-by-Play 3", "Sports"},
    {164, "Play-by-Play 4", "Sports"},
    {165, "Play-by-Play 5", "Sports"},
    {166, "Play-by-Play 6", "Sports"},
    {167, "Play-by-Play 7", "Sports"},
    {168, "Play-by-Play 8", "Sports"},
    {170, "Tennis Courtside", "Sports"},
    {171, "Cricket Corner", "Sports"},
    {172, "Racing Form Radio", "Sports"},
    {173, "Outdoor Sportsman", "Sports"},
    {180, "Traffic & Weather: Ashford", "Traffic/Weather"},
    {181, "Traffic & Weather: Brennan Bay", "Traffic/Weather"},
    {182, "Traffic & Weather: Carrow", "Traffic/Weather"},
    {183, "Traffic & Weather: Dunmore", "Traffic/Weather"},
    {184, "Traffic & Weather: Eastvale", "Traffic/Weather"},
    {186, "Traffic & Weather: Fairhaven", "Traffic/Weather"},
    {187, "Traffic & Weather: Glenmere", "Traffic/Weather"},
    {188, "Traffic & Weather: Harlow Springs", "Traffic/Weather"},
    {189, "Traffic & Weather: Ironbridge", "Traffic/Weather"},
    {190, "Traffic & Weather: Juniper Falls", "Traffic/Weather"},
    {191, "Traffic & Weather: Kestrel Point", "Traffic/Weather"},
    {193, "Traffic & Weather: Lakemont", "Traffic/Weather"},
    {194, "Traffic & Weather: Marlin City", "Traffic/Weather"},
    {195, "Traffic & Weather: Northgate", "Traffic/Weather"},
    {196, "Traffic & Weather: Oakridge", "Traffic/Weather"},
    {197, "Traffic & Weather: Port Sable", "Traffic/Weather"},
    {198, "Traffic & Weather: Saint-Étienne-sur-Mer", "Traffic/Weather"},
    {200, "Emergency Alert Channel", "Info"},
};

// Genres without a track clock: their programmes run on without a known end.
bool genreHasTrackTime(const QString& genre)
{
    static const std::array<const char*, 5> untimed = {"Info", "News", "Talk", "Sports", "Traffic/Weather"};
    for (const char* name : untimed) {
        if (genre == QLatin1String(name))
            return false;
    }
    return true;
}

ChannelInfo channelFrom(const StationRow& row)
{
    const QString genre = QString::fromUtf8(row.genre);
    return {row.number, QString::fromUtf8(row.station), genre, genreHasTrackTime(genre)};
}

// Name parts of the generated channels beyond the built-in table.
const char* const ExtraPrefixes[] = {"Open Road",   "Night Shift", "Blue Hour", "Backroads", "Sunday Drive",
                                     "After Hours", "Coastline",   "Heartland", "Skyline",   "Wildcard"};
const char* const ExtraGenres[] = {"Pop",         "Rock",      "Country",     "Jazz/Blues",
                                   "Hip-Hop/R&B", "Classical", "Latin/World", "Dance/Electronic"};

} // namespace

Lineup Lineup::builtIn()
{
    Lineup lineup;
    for (const StationRow& row : BuiltInStations)
        lineup.m_channels.append(channelFrom(row));
    return lineup;
}

Lineup Lineup::withSize(int count)
{
    Lineup lineup = builtIn();
    count = std::max(count, 1);
    if (count <= lineup.size())
        lineup.m_channels.resize(count);
    else
        lineup.appendGenerated(count - lineup.size());
    return lineup;
}

int Lineup::indexOf(int number) const
{
    for (int i = 0; i < size(); ++i) {
        if (m_channels.at(i).number == number)
            return i;
    }
    return -1;
}

// Channels above the table keep its habit of leaving every fifth number unused.
void Lineup::appendGenerated(int count)
{
    int number = m_channels.last().number;
    const int prefixCount = int(std::size(ExtraPrefixes));
    const int genreCount = int(std::size(ExtraGenres));
    for (int i = 0; i < count; ++i) {
        number += (number % 5 == 4) ? 2 : 1;
        const QString genre = QString::fromUtf8(ExtraGenres[i % genreCount]);
        const QString prefix = QString::fromUtf8(ExtraPrefixes[(i / genreCount) % prefixCount]);
        QString station = prefix + QLatin1Char(' ') + genre.section(QLatin1Char('/'), 0, 0);
        if (i >= genreCount * prefixCount)
            station += QStringLiteral(" %1").arg(i / (genreCount * prefixCount) + 1);
        m_channels.append({number, station, genre, true});
    }
}

} // namespace xmservice
