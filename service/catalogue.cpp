// The catalogue is made from name templates per kind of programme, filled from small pools of
// invented words by a generator seeded with the genre's name, so every run plays the same music.
#include "catalogue.h"

#include <QHash>
#include <QRandomGenerator>
#include <initializer_list>

namespace xmservice::Catalogue {

namespace {

using Pool = std::initializer_list<const char*>;

struct NamedPool {
    const char* key;
    Pool words;
};

// The words behind the {Key} placeholders of the templates below.
const NamedPool Pools[] = {
    {"First", {"Ava",   "Ben",    "Carla", "Dmitri",  "Elena", "Felix", "Grace", "Hugo",  "Inès", "Jonah",
               "Keiko", "Liam",   "Maya",  "Nikolai", "Olive", "Pablo", "Quinn", "Rosa",  "Sam",  "Tessa",
               "Uma",   "Victor", "Wren",  "Xavier",  "Yara",  "Zane",  "Renée", "Søren", "José", "Anaïs"}},
    {"Last", {"Abernathy", "Bellweather", "Castellano", "Drummond", "Ellery",    "Fairweather", "Galloway",
              "Hartigan",  "Ivers",       "Jablonski",  "Kessler",  "Lindqvist", "Marchetti",   "Navarro",
              "O'Dowd",    "Pemberton",   "Quayle",     "Rourke",   "Sandoval",  "Thistlewood", "Underhill",
              "Whitlock",  "Yardley",     "Zielinski",  "Brønner",  "Duchêne",   "Kowalczyk",   "MacAllister"}},
    {"Adj",
     {"Velvet", "Broken", "Electric", "Silver",   "Hollow",   "Neon",    "Paper",  "Midnight", "Golden", "Crimson",
      "Wild",   "Quiet",  "Lonesome", "Northern", "Restless", "Burning", "Frozen", "Lucky",    "Sleepy", "Wandering"}},
    {"Noun", {"Lantern", "Ghost",  "Engine", "Saint",  "Satellite", "Harbour", "Falcon", "River", "Highway", "Heart",
              "Window",  "Garden", "Ocean",  "Mirror", "Train",     "Shadow",  "Anchor", "Comet", "Letter",  "Canyon"}},
    {"Place",
     {"Avalon Street", "Baker's Ferry", "Coldwater", "Delmar", "Eastbrook", "Fenwick", "Greyport", "Halloway",
      "Idlewood", "Kingsmere", "Larchmont", "Millbrook", "Northshore", "Oakhaven", "Vellmar"}},
    {"Composer", {"Reichelt", "Duquesne", "Zawadzki", "Ferraresi", "Solberg", "Crévecoeur", "Lindner", "Halvorsen"}},
    {"Form",
     {"Symphony", "Piano Sonata", "String Quartet", "Violin Concerto", "Nocturne", "Étude", "Serenade", "Piano Trio"}},
    {"Key",
     {"C major", "D minor", "E-flat major", "F-sharp minor", "G major", "A minor", "B-flat major", "C-sharp minor"}},
    {"Digit", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}},
    {"Opus", {"12", "27", "33", "48", "61", "74", "90", "104", "117"}},
    {"Band", {"Caminantes", "Trovadores", "Hermanos Vega", "Lunáticos", "Gavilanes", "Tres Ríos"}},
    {"Palabra", {"Luna", "Fuego", "Estrellas", "Mar", "Lluvia", "Rosas", "Verano"}},
    {"Lugar", {"Sevilla", "Málaga", "Cartagena", "Valparaíso", "Oaxaca", "San Juan", "Córdoba"}},
    {"Animal", {"Giraffe", "Penguin", "Octopus", "Hedgehog", "Kangaroo", "Walrus", "Llama"}},
    {"Topic",
     {"Airports", "Self-Checkout", "Group Chats", "Gym Memberships", "Parking Garages", "Smart Fridges", "Weddings",
      "Home Repairs", "Mortgages", "Gardening", "Pensions"}},
};

enum class Style {
    Pop,
    Rock,
    Country,
    Urban,
    Dance,
    Jazz,
    Classical,
    Latin,
    Gospel,
    Kids,
    Comedy,
    News,
    Talk,
    Sports,
    Traffic
};

struct StyleTemplates {
    Style style;
    Pool artists;
    Pool titles;
};

const StyleTemplates Templates[] = {
    {Style::Pop,
     {"{First} {Last}", "{First}", "{First} & the {Noun}s", "{Adj} {Noun}"},
     {"{Adj} {Noun}", "{Noun} in the {Noun}", "Don't Leave the {Noun} Behind", "Hold On, {First}",
      "Another {Adj} Night", "{Adj} Like a {Noun}", "Postcards from {Place}"}},
    {Style::Rock,
     {"The {Adj} {Noun}s", "{Adj} {Noun}", "{Last}", "The {Last} Brothers"},
     {"{Adj} {Noun}", "{Noun}s of {Place}", "Last Exit to {Place}", "{Noun} on Fire", "Louder Than the {Noun}",
      "{Adj} {Noun} Blues"}},
    {Style::Country,
     {"{First} {Last}", "{First} {Last} & the {Place} Band", "The {Last} Sisters"},
     {"Dirt Road to {Place}", "{Adj} {Noun}", "Whiskey, Rain & {First}", "Ain't No {Noun} in {Place}",
      "Back Porch {Noun}"}},
    {Style::Urban,
     {"Lil' {First}", "MC {Last}", "{First} {Last}", "{Adj}{Noun}"},
     {"{Adj} {Noun}", "{Adj} {Noun} (feat. {First} {Last})", "Round the {Noun}", "Nothin' but {Noun}s"}},
    {Style::Dance,
     {"DJ {Last}", "{First} & {First}", "{Noun} Theory", "{Adj} Frequency"},
     {"{Adj} {Noun} ({Last} Remix)", "{Noun} (Extended Mix)", "{Adj} Rush", "Into the {Noun}"}},
    {Style::Jazz,
     {"The {First} {Last} Trio", "The {First} {Last} Quartet", "{First} {Last}", "{First} \"{Adj}\" {Last}"},
     {"Blues for {First}", "{Adj} {Noun}", "Take the {Noun} Line", "'Round {Place}", "{Noun} at Dawn"}},
    {Style::Classical,
     {"{Place} Philharmonic, cond. {First} {Last}", "{First} {Last}, piano", "{Place} String Quartet",
      "{First} {Last}, violin; {Place} Chamber Orchestra"},
     {"{Composer}: {Form} No. {Digit} in {Key}, Op. {Opus}", "{Composer}: {Form} in {Key}",
      "{Composer}: Overture to \"The {Adj} {Noun}\""}},
    {Style::Latin,
     {"Los {Band}", "Orquesta {Place}", "{First} {Last}", "{First} y {First}"},
     {"Corazón de {Lugar}", "Noche de {Palabra}", "Bailando en {Lugar}", "Te Quiero, {First}"}},
    {Style::Gospel,
     {"{Place} Gospel Choir", "{First} {Last}", "The {Adj} Voices", "Brother {Last}"},
     {"{Adj} Grace", "Walk in the {Noun}", "Morning Light over {Place}", "Carry Me Home"}},
    {Style::Kids,
     {"Captain {First} & the {Noun}s", "Professor {Last}", "The {Adj} Kazoos"},
     {"The {Animal} Song", "Counting {Noun}s", "If I Were a {Animal}", "{Animal}s Can't Dance!"}},
    {Style::Comedy,
     {"{First} {Last}"},
     {"Live at the {Place} Playhouse: {Topic}", "{Topic} (Encore)", "My Uncle's {Noun}", "Why, {First}, Why?"}},
    {Style::News,
     {"{First} {Last}", "{First} {Last} & {First} {Last}"},
     {"Top Stories at the Hour", "World Briefing", "Markets: a {Adj} Day", "Report from {Place}",
      "Weather Across the Region"}},
    {Style::Talk,
     {"{First} {Last}", "The {Last} Show", "Dr. {First} {Last}"},
     {"{Topic}: Your Calls", "Open Lines", "In the Studio: {First} {Last}", "Listener Mailbag"}},
    {Style::Sports,
     {"{First} {Last}", "{First} {Last} & {First} {Last}"},
     {"Game Preview: {Place} vs. {Place}", "Live: {Place} at {Place}", "Post-Game Call-In",
      "Injury Report & Trade Rumours"}},
    {Style::Traffic,
     {"Traffic Centre", "{First} {Last}"},
     {"Traffic on the Eights: {Place}", "Weather Watch: {Adj} Skies", "Commute Update"}},
};

struct GenreStyle {
    const char* genre;
    Style style;
};

// Every genre of the lineup; the first one is what an unknown genre plays.
const GenreStyle Genres[] = {
    {"Pop", Style::Pop},
    {"Decades", Style::Pop},
    {"Rock", Style::Rock},
    {"Country", Style::Country},
    {"Hip-Hop/R&B", Style::Urban},
    {"Dance/Electronic", Style::Dance},
    {"Jazz/Blues", Style::Jazz},
    {"Classical", Style::Classical},
    {"Latin/World", Style::Latin},
    {"Christian", Style::Gospel},
    {"Kids", Style::Kids},
    {"Comedy", Style::Comedy},
    {"News", Style::News},
    {"Talk", Style::Talk},
    {"Info", Style::Talk},
    {"Sports", Style::Sports},
    {"Traffic/Weather", Style::Traffic},
};

struct FixedTrack {
    const char* genre;
    const char* artist;
    const char* title;
    int seconds;
};

// Names that stress whatever shows or stores them: separators, quotes of both kinds, letters
// beyond ASCII and texts longer than 254 characters.
const FixedTrack FixedTracks[] = {
    {"Pop", "Zoë Ångström", "Naïve Déjà Vu", 201},
    {"Rock", "Hale, Moreno & Quist", "Don't Call It \"Love\"", 247},
    {"Country", "Billy-Ray O'Dowd", "Y'all Come Back, Now", 183},
    {"Jazz/Blues", "Jimmy \"Two Tones\" Okafor", "Blues for the 5:15, Platform 'B'", 318},
    {"Latin/World", "Los Niños del Café", "Corazón de Málaga", 225},
    {"Dance/Electronic", "DJ Übermorgen", "Ça Plane Pour Toi (Crème Brûlée Dub)", 389},
    {"Classical",
     "Northern Valley Philharmonic Orchestra & Chorus, cond. Ilse Brandauer; Mathilde Crévecoeur & "
     "Anton Reichelt, pianos; Vellmar Cathedral Boys' Choir",
     "Reichelt: Grand Concerto for Two Pianos, Mixed Chorus and Orchestra No. 2 in F-sharp minor, Op. 117, "
     "\"The Lighthouse Keeper\": I. Allegro ma non troppo – II. Adagio sostenuto e cantabile – III. Scherzo: "
     "Vivace – IV. Finale: Presto con fuoco, with the composer's own cadenzas (live recording)",
     462},
    {"Talk", "Renée Duchêne & Søren Lindqvist",
     "Open Lines: your questions on pensions, mortgages, car insurance, the new parking rules downtown, "
     "whether it's \"too late\" to plant tulips, why the bridge is closed again, and anything else on your "
     "mind this morning – call now, the lines are open until the top of the hour, and the first caller wins "
     "a mug",
     300},
};

constexpr int GeneratedTracksPerGenre = 24;

// A hash that stays the same from run to run (qHash is seeded per process).
quint32 stableHash(const QString& text)
{
    quint32 hash = 2166136261u;
    for (char byte : text.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash;
}

const Pool* poolNamed(QStringView key)
{
    for (const NamedPool& pool : Pools) {
        if (key == QLatin1String(pool.key))
            return &pool.words;
    }
    return nullptr;
}

const StyleTemplates& templatesFor(Style style)
{
    for (const StyleTemplates& templates : Templates) {
        if (templates.style == style)
            return templates;
    }
    return Templates[0];
}

class TrackMaker {
public:
    explicit TrackMaker(const QString& genre)
        : m_rng(stableHash(genre))
    {
    }

    Track make(Style style)
    {
        const StyleTemplates& templates = templatesFor(style);
        Track track;
        track.artist = fill(pick(templates.artists));
        track.title = fill(pick(templates.titles));
        track.seconds = int(m_rng.bounded(ShortestTrack, LongestTrack + 1));
        return track;
    }

private:
    QString pick(const Pool& pool) { return QString::fromUtf8(pool.begin()[m_rng.bounded(int(pool.size()))]); }

    // Replaces every {Key} by a word of that pool.
    QString fill(const QString& pattern)
    {
        QString text;
        qsizetype from = 0;
        while (true) {
            const qsizetype open = pattern.indexOf(QLatin1Char('{'), from);
            const qsizetype close = pattern.indexOf(QLatin1Char('}'), open + 1);
            if (open < 0 || close < 0)
                return text + pattern.mid(from);
            text += pattern.mid(from, open - from);
            const Pool* pool = poolNamed(QStringView(pattern).mid(open + 1, close - open - 1));
            text += pool ? pick(*pool) : pattern.mid(open, close - open + 1);
            from = close + 1;
        }
    }

    QRandomGenerator m_rng;
};

QList<Track> makeTracks(const GenreStyle& genre)
{
    const QString name = QString::fromUtf8(genre.genre);
    QList<Track> tracks;
    TrackMaker maker(name);
    for (int i = 0; i < GeneratedTracksPerGenre; ++i)
        tracks.append(maker.make(genre.style));
    for (const FixedTrack& fixed : FixedTracks) {
        if (name == QString::fromUtf8(fixed.genre))
            tracks.append({QString::fromUtf8(fixed.artist), QString::fromUtf8(fixed.title), fixed.seconds});
    }
    return tracks;
}

QHash<QString, QList<Track>> makeAllTracks()
{
    QHash<QString, QList<Track>> all;
    for (const GenreStyle& genre : Genres)
        all.insert(QString::fromUtf8(genre.genre), makeTracks(genre));
    return all;
}

const QHash<QString, QList<Track>>& allTracks()
{
    static const QHash<QString, QList<Track>> all = makeAllTracks();
    return all;
}

} // namespace

bool hasGenre(const QString& genre)
{
    return allTracks().contains(genre);
}

const QList<Track>& tracksFor(const QString& genre)
{
    const QHash<QString, QList<Track>>& all = allTracks();
    auto found = all.constFind(genre);
    if (found == all.cend())
        found = all.constFind(QString::fromUtf8(Genres[0].genre));
    return *found;
}

} // namespace xmservice::Catalogue
