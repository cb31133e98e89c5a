// The channel table and services.dat, against real files.
#include "radio/channeltable.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using radio::ChannelTable;
using testsupport::readFile;
using testsupport::writeFile;

TEST(ChannelTable, RowKeysArePaddedToThreeDigits)
{
    const std::pair<qint32, const char*> cases[] = {{7, "007"}, {42, "042"}, {123, "123"}, {0, "000"}, {1234, "1234"}};
    for (const auto& [number, key] : cases)
        EXPECT_EQ(ChannelTable::RowKey(number), key) << number;
}

TEST(ChannelTable, FindsTheFirstRowWithTheKeyIgnoringCase)
{
    ChannelTable table;
    table.Add("abc");
    table.Add("007");
    table.Add("ABC");
    EXPECT_EQ(table.FindItem("007"), 1);
    EXPECT_EQ(table.FindItem("Abc"), 0);
    EXPECT_EQ(table.FindItem("7"), -1);
    EXPECT_EQ(table.text(5, radio::Station), "");
}

TEST(ChannelTable, LoadsServicesLineByLine)
{
    struct Case {
        const char* name;
        QByteArray file;
        QStringList rows; // "key|station|genre"
    };
    const Case cases[] = {
        {"plain line", "\"012,Rock Hits,Rock\"\r\n", {"012|Rock Hits|Rock"}},
        {"station with a comma loads whole", "\"045,Rock, Pop,Pop\"\r\n", {"045|Rock, Pop|Pop"}},
        {"quotes inside a name", "\"079,The \"Best\" FM,Pop\"\r\n", {"079|The \"Best\" FM|Pop"}},
        {"empty line adds no row", "\"001,A,B\"\r\n\r\n\"002,C,D\"\r\n", {"001|A|B", "002|C|D"}},
        {"quotes only adds no row", "\"\"\r\n", {}},
        {"short line is split whole", "x\r\n", {"x||"}},
        {"missing genre", "\"078,Only\"\r\n", {"078|Only|"}},
        {"missing station and genre", "\"077\"\r\n", {"077||"}},
        {"LF-only lines and no final line end", "\"003,E,F\"\n\"004,G,H\"", {"003|E|F", "004|G|H"}},
        {"accented names", "\"005,Caf\xc3\xa9 Radio,Chanson\"\r\n", {"005|Caf\u00e9 Radio|Chanson"}},
        {"a line from the Windows system", "\"006,Caf\xe9 Radio,Chanson\"\r\n", {"006|Caf\u00e9 Radio|Chanson"}},
        {"a lone CR ends a line", "\"012,Rock Hits,Rock\"\r\"005,A,D\"\r\n", {"012|Rock Hits|Rock", "005|A|D"}},
        {"a lone CR alone adds no row", "\r", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        writeFile(dir.filePath("services.dat"), c.file);
        ChannelTable table;
        table.LoadServices(dir.filePath("services.dat"));
        QStringList rows;
        for (int p = 0; p < table.count(); ++p) {
            rows << table.text(p, radio::Num) + "|" + table.text(p, radio::Station) + "|" + table.text(p, radio::Genre);
            EXPECT_EQ(table.text(p, radio::Artist), "");
        }
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(ChannelTable, AppendsOneLinePerChannelWithLineBreaksFlattened)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("services.dat");
    ASSERT_TRUE(radio::AppendService(path, "005", "A", "D"));
    ASSERT_TRUE(radio::AppendService(path, "006", "Two\r\nLines", "Gen\nre"));
    EXPECT_EQ(readFile(path), "\"005,A,D\"\r\n\"006,Two Lines,Gen re\"\r\n");

    writeFile(path, "\"001,Edited,By hand\""); // last line end lost
    ASSERT_TRUE(radio::AppendService(path, "002", "B", "C"));
    EXPECT_EQ(readFile(path), "\"001,Edited,By hand\"\r\n\"002,B,C\"\r\n");

    writeFile(path, "\"012,Rock Hits,Rock\"\r"); // cut after the CR of its last line
    ASSERT_TRUE(radio::AppendService(path, "005", "A", "D"));
    EXPECT_EQ(readFile(path), "\"012,Rock Hits,Rock\"\r\"005,A,D\"\r\n");

    EXPECT_FALSE(radio::AppendService(dir.filePath("missing/services.dat"), "003", "X", "Y"));
}
