// The alert book against a real vantoxm.ini: what a hold stores and removes, how many writes it
// costs, the 51st alert, and what a restart reads back.
#include "alerts/alertbook.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace alerts;
using Outcome = AlertBook::Outcome;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

class Book : public ::testing::Test {
protected:
    QString ini() const { return m_dir.filePath(QStringLiteral("vantoxm.ini")); }
    // A book on the real file whose writes are counted on their way to modIni.
    std::unique_ptr<AlertBook> open()
    {
        return std::make_unique<AlertBook>(
            ini(), [this](const QString& file, const QString& section, const QString& key, const QString& value) {
                ++writes;
                return modIni::WriteSetting(file, section, key, value);
            });
    }
    static QString artist(int n) { return QStringLiteral("Artist %1").arg(n); }
    // "Artist 1" to "Artist 50", the oldest first.
    std::unique_ptr<AlertBook> full()
    {
        auto book = open();
        for (int n = 1; n <= AlertBook::Capacity; ++n)
            book->ToggleArtist(artist(n));
        return book;
    }
    int writes = 0;
    QTemporaryDir m_dir;
};

TEST_F(Book, AHoldSetsAndTheNextRemovesWithOneWriteEach)
{
    writeFile(ini(), "[XMRadio]\r\nLastChannel=7\r\n");
    auto book = open();
    EXPECT_EQ(book->ToggleArtist(u" \t").outcome, Outcome::Refused);
    EXPECT_EQ(book->ToggleSong(u"Queen", u"").outcome, Outcome::Refused);
    EXPECT_EQ(book->ToggleSong(u"", u"Intro").outcome, Outcome::Refused);
    EXPECT_EQ(writes, 0);

    EXPECT_EQ(book->ToggleArtist(u" Madonna ").outcome, Outcome::Set);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(readFile(ini()), "[XMRadio]\r\nLastChannel=7\r\n[Alerts]\r\nArtist1=Madonna\r\n");
    EXPECT_TRUE(book->HasArtist(u"MADONNA"));
    EXPECT_EQ(book->ToggleArtist(u"madonna").outcome, Outcome::Removed);
    EXPECT_EQ(writes, 2);
    EXPECT_TRUE(open()->Artists().isEmpty());

    // A song is stored as "<artist> - <title>" and found by the line-up's cut of its title.
    EXPECT_EQ(book->ToggleSong(u"Queen", u"Bohemian Rhapsody").outcome, Outcome::Set);
    EXPECT_EQ(writes, 3);
    EXPECT_TRUE(readFile(ini()).contains("Song1=Queen - Bohemian Rhapsody\r\n"));
    auto again = open();
    EXPECT_TRUE(again->HasSong(u"QUEEN", u"Bohemian Rhapsod"));
    EXPECT_FALSE(again->HasArtist(u"Queen"));
    EXPECT_EQ(again->ToggleSong(u"Queen", u"Bohemian Rhapsod").outcome, Outcome::Removed);
    EXPECT_EQ(writes, 4);
    EXPECT_TRUE(open()->Songs().isEmpty());
}

TEST_F(Book, The51stReplacesTheOldestAndARestartKeepsTheOrder)
{
    auto book = full();
    EXPECT_EQ(writes, 50);
    const AlertBook::Toggle replaced = book->ToggleArtist(artist(51));
    EXPECT_EQ(replaced.outcome, Outcome::ReplacedOldest);
    EXPECT_EQ(replaced.Message(), "Alert set: Artist 51 (replaces Artist 1)");
    EXPECT_EQ(writes, 52); // the alert over the oldest, and where the ring now starts

    QStringList expected;
    for (int n = 2; n <= 51; ++n)
        expected << artist(n);
    auto restarted = open();
    EXPECT_EQ(restarted->Artists(), expected);
    EXPECT_EQ(restarted->ToggleArtist(artist(52)).replaced, artist(2));
    EXPECT_EQ(open()->ToggleArtist(artist(53)).replaced, artist(3));
}

TEST_F(Book, ARestartKeepsTheOrderAfterRemovals)
{
    auto book = full();
    for (int n : {1, 2, 30})
        book->ToggleArtist(artist(n));
    writes = 0;
    // Room at the ring's start: the new alert follows the newest all the same.
    book->ToggleArtist(u"New 1");
    EXPECT_EQ(writes, 2);
    book->ToggleArtist(u"New 2");
    EXPECT_EQ(writes, 3);
    QStringList expected;
    for (int n = 3; n <= 50; ++n)
        if (n != 30)
            expected << artist(n);
    expected << "New 1"
             << "New 2";
    auto restarted = open();
    EXPECT_EQ(restarted->Artists(), expected);
    // Only the gap in the middle is left; the book is full after it, and the oldest goes next.
    restarted->ToggleArtist(u"New 3");
    EXPECT_EQ(restarted->ToggleArtist(u"New 4").replaced, artist(3));
}

TEST_F(Book, TextsComeBackAsStoredAndAHandEditedFileIsReadSafely)
{
    for (const char16_t* text : {u"\"Heroes\" Tribute", u"'Til Tuesday'", u"Line\r\nBreak", u"Café Tacvba"})
        open()->ToggleArtist(text);
    EXPECT_EQ(open()->Artists(), QStringList({"\"Heroes\" Tribute", "'Til Tuesday'", "Line  Break", "Café Tacvba"}));

    writeFile(ini(), "[Alerts]\r\nArtist1=Madonna\r\nArtist7=MADONNA\r\nArtist9=Abba\r\nSong2=No dash here\r\n"
                     "Song3=Abba - Waterloo\r\nFirstArtist=banana\r\n");
    auto book = open();
    EXPECT_EQ(book->Artists(), QStringList({"Madonna", "Abba"}));
    EXPECT_EQ(book->Songs(), QStringList({"Abba - Waterloo"}));
    // Removing the alert clears both keys that held it; otherwise it came back at the next start.
    book->ToggleArtist(u"Madonna");
    EXPECT_EQ(open()->Artists(), QStringList({"Abba"}));
}

TEST_F(Book, AFileThatCannotBeWrittenKeepsTheAlertForThisRun)
{
    AlertBook book(m_dir.filePath(QStringLiteral("missing/vantoxm.ini")));
    const AlertBook::Toggle set = book.ToggleArtist(u"Madonna");
    EXPECT_EQ(set.outcome, Outcome::Set);
    EXPECT_FALSE(set.saved);
    EXPECT_TRUE(book.Index().matchesArtist(CompareForm(u"Madonna")));
}

} // namespace
