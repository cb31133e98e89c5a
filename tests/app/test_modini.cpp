// The settings store against real files: the reading rules, the type codes, in-place writes that
// keep every other byte, and the one-step replacement of the file.
#include "base/modini.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Readable failure messages.
void PrintTo(const QVariant& value, std::ostream* os)
{
    *os << value.metaType().name() << '(' << value.toString().toStdString() << ')';
}

using namespace modIni;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("vantoxm.ini")) const { return m_dir.filePath(name); }
    QString withContent(const QByteArray& bytes)
    {
        writeFile(path(), bytes);
        return path();
    }
    QTemporaryDir m_dir;
};

// --- Reading rules ------------------------------------------------------------------------------

struct ReadCase {
    const char* name;
    QByteArray file;
    QString section, key;
    std::optional<QString> expected; // nothing: the key is not found
};
void PrintTo(const ReadCase& row, std::ostream* os)
{
    *os << row.name;
}

class ReadRule : public SettingsFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadRule, DocumentAndFileAgree)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniDocument::fromBytes(c.file).value(c.section, c.key), c.expected);
    EXPECT_EQ(ReadSetting(withContent(c.file), c.section, c.key, AsText), QVariant(c.expected.value_or("")));
}

const ReadCase readCases[] = {
    {"CrLf", "[S]\r\nk=v\r\n", "S", "k", "v"},
    {"LfOnly", "[A]\nx=1\n[S]\nk=v\n", "S", "k", "v"},
    {"CrOnly", "[A]\rx=1\r[S]\rk=v\r", "S", "k", "v"},
    {"BlanksInsideBrackets", " \t[ \tS \v]\r\nk=v", "S", "k", "v"},
    {"MissingCloseBracket", "[S   \r\nk=v", "S", "k", "v"},
    {"NameEndsAtFirstBracket", "[S]x]\r\nk=v", "S", "k", "v"},
    {"TextAfterHeaderIsNoKey", "[S]k=v\r\n", "S", "k", std::nullopt},
    {"BracketOnlyAtEndIsNoHeader", "[A]\r\nS]\r\nk=v", "S", "k", std::nullopt},
    {"OpeningBracketKept", "[[sec]\r\nk=v", "[sec", "k", "v"},
    {"InnerSpacesKept", "[my sec]\r\nk=v", "mysec", "k", std::nullopt},
    {"KeyAndValueTrimmed", "[S]\r\n \t k \v= \t v w \v\t\r\n", "S", "k", "v w"},
    {"ValueAfterFirstEquals", "[S]\r\nk=a=b", "S", "k", "a=b"},
    {"LineWithoutEquals", "[S]\r\nk\r\n", "S", "k", std::nullopt},
    {"CommentLine", "[S]\r\n  ; k=v\r\n", "S", "k", std::nullopt},
    {"CommentNotReadableAsKey", "[S]\r\n;k=v\r\n", "S", ";k", std::nullopt},
    {"NoInlineComments", "[S]\r\nk=v ;c", "S", "k", "v ;c"},
    {"HashIsNoComment", "[S]\r\n#k=v", "S", "#k", "v"},
    {"FirstDuplicateKey", "[S]\r\nk=1\r\nK=2", "S", "k", "1"},
    {"OnlyFirstDuplicateSection", "[S]\r\n[s]\r\nk=v", "S", "k", std::nullopt},
    {"NamesIgnoreCase", "[xmradio]\r\nlastchannel=Abc", "XMRadio", "LastChannel", "Abc"},
    {"ArgumentSpacesStripped", "[S]\r\nk=v", "  S ", " k  ", "v"},
    {"ArgumentTabsKept", "[S]\r\nk=v", "S", "\tk", std::nullopt},
    {"DoubleQuotesRemoved", "[S]\r\nk= \" v \" ", "S", "k", " v "},
    {"SingleQuotesRemoved", "[S]\r\nk='v'", "S", "k", "v"},
    {"MismatchedQuotesKept", "[S]\r\nk=\"v'", "S", "k", "\"v'"},
    {"OnlyOuterQuotesRemoved", "[S]\r\nk=''v''", "S", "k", "'v'"},
    {"LoneQuoteKept", "[S]\r\nk=\"", "S", "k", "\""},
    {"EmptyValueIsFound", "[S]\r\nk=", "S", "k", ""},
    {"EmptyKey", "[S]\r\n=v", "S", "", "v"},
    {"KeysBeforeFirstSectionUnreachable", "k=v\r\n[S]\r\n", "", "k", std::nullopt},
    {"ExplicitEmptySection", "[]\r\nk=v", "", "k", "v"},
    {"Utf8Value", "[S]\r\nk=Caf\xC3\xA9", "S", "k", QString::fromUtf8("Caf\xC3\xA9")},
    {"Windows1252Value", "[S]\r\nk=Caf\xE9 \x80 \x81", "S", "k",
     QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC \xC2\x81")},
    {"Utf8ByteOrderMarkSkipped", "\xEF\xBB\xBF[S]\r\nk=v", "S", "k", "v"},
    {"MissingSection", "[S]\r\nk=v", "T", "k", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Rules, ReadRule, ::testing::ValuesIn(readCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, LongValueIsCutTo254Characters)
{
    const QByteArray value = QByteArray(250, 'a') + "bcdefghijk" + QByteArray(40, 'z');
    const QString text = ReadSetting(withContent("[S]\r\nk=" + value), "S", "k", AsText).toString();
    EXPECT_EQ(text, QString::fromLatin1(value.left(MaxValueLength)));
}

TEST_F(SettingsFile, CutNeverSplitsACharacter)
{
    const QByteArray value = QByteArray(253, 'a') + "\xF0\x9F\x93\xBB" + "tail"; // a radio emoji
    const QString text = IniDocument::fromBytes("[S]\r\nk=" + value).value("S", "k").value();
    EXPECT_EQ(text, QString::fromUtf8(QByteArray(253, 'a') + "\xF0\x9F\x93\xBB"));
}

TEST_F(SettingsFile, MissingFileReadsEmpty)
{
    EXPECT_EQ(ReadSetting(path("none.ini"), "XMRadio", "Preset1", 8), QVariant(QString()));
    EXPECT_EQ(ReadSetting(path("none.ini"), "XMRadio", "LastChannel", AsInteger), QVariant("0"));
}

TEST_F(SettingsFile, EachReadSeesTheFileAsItIsNow)
{
    const QString file = withContent("[XMRadio]\r\nLastChannel=7\r\n");
    EXPECT_EQ(ReadSetting(file, "XMRadio", "LastChannel", AsInteger), QVariant::fromValue<qint16>(7));
    writeFile(file, "[XMRadio]\r\nLastChannel=42\r\n");
    EXPECT_EQ(ReadSetting(file, "XMRadio", "LastChannel", AsInteger), QVariant::fromValue<qint16>(42));
}

// --- Type codes ---------------------------------------------------------------------------------

struct CodeCase {
    const char* name;
    std::optional<QByteArray> value; // nothing: the key is missing
    int code;
    QVariant expected;
};
void PrintTo(const CodeCase& row, std::ostream* os)
{
    *os << row.name;
}

class TypeCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(TypeCode, ConvertsOrFallsBack)
{
    const CodeCase& c = GetParam();
    const QByteArray file = c.value ? "[XMRadio]\r\nKey=" + *c.value + "\r\n" : "[XMRadio]\r\n";
    const QVariant result = ReadSetting(IniDocument::fromBytes(file), "XMRadio", "Key", c.code);
    EXPECT_EQ(result.metaType(), c.expected.metaType()) << result.metaType().name();
    EXPECT_EQ(result, c.expected);
}

const CodeCase codeCases[] = {
    {"Text", "Abc", AsText, QString("Abc")},
    {"TextMissing", std::nullopt, AsText, QString()},
    {"BooleanLowerTrue", "true", AsBoolean, true},
    {"BooleanTrue", "True", AsBoolean, true},
    {"BooleanMinusOne", "-1", AsBoolean, true},
    {"BooleanOne", "1", AsBoolean, true},
    {"BooleanZero", "0", AsBoolean, false},
    {"BooleanFalse", "False", AsBoolean, false},
    {"BooleanEmpty", "", AsBoolean, false},
    {"BooleanMissing", std::nullopt, AsBoolean, false},
    {"BooleanYesIsNoBoolean", "Yes", AsBoolean, false},
    {"Long", "16777215", AsLong, QVariant::fromValue<qint32>(16777215)},
    {"LongRoundsHalfToEven", "2.5", AsLong, QVariant::fromValue<qint32>(2)},
    {"LongOutOfRange", "2147483648", AsLong, QString("0")},
    {"LongEmpty", "", AsLong, QString("0")},
    {"IntegerLastChannel", "7", AsInteger, QVariant::fromValue<qint16>(7)},
    {"IntegerNotANumber", "abc", AsInteger, QString("0")},
    {"IntegerEmpty", "", AsInteger, QString("0")},
    {"IntegerMissing", std::nullopt, AsInteger, QString("0")},
    {"IntegerOutOfRange", "65280", AsInteger, QString("0")},
    {"IntegerNegative", "-1", AsInteger, QVariant::fromValue<qint16>(-1)},
    {"NumberTextUnchanged", "12.5", AsNumberText, QString("12.5")},
    {"NumberTextEmpty", "", AsNumberText, QString("0")},
    {"NumberTextJunkUnchanged", "abc", AsNumberText, QString("abc")},
    {"Single", "16777215", AsSingle, QVariant::fromValue<float>(16777215.0f)},
    {"SingleJunk", "white", AsSingle, QString("0")},
    {"SingleEmpty", "", AsSingle, QString("0")},
    {"Decimal", "12.5", AsDecimal, 12.5},
    {"DecimalJunk", "12.5x", AsDecimal, QString("0")},
    {"DecimalEmpty", "", AsDecimal, QString("0")},
    {"Code8Text", "C:\\xm\\service.exe", 8, QString("C:\\xm\\service.exe")},
    {"Code8Empty", "", 8, QString()},
    {"Code11KeepsBooleanText", "True", 11, QString("True")},
    {"NegativeCodeEmpty", "", -1, QString()},
    {"NegativeCodeText", "1", -1, QString("1")},
};

INSTANTIATE_TEST_SUITE_P(Codes, TypeCode, ::testing::ValuesIn(codeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TypeCodes, EmptyValueReadsLikeMissingKey)
{
    const auto empty = IniDocument::fromBytes("[S]\r\nk=\r\n");
    const auto missing = IniDocument::fromBytes("[S]\r\n");
    for (int code : {0, 1, 2, 3, 4, 5, 6, 8, 11, -3}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(ReadSetting(empty, "S", "k", code), ReadSetting(missing, "S", "k", code));
    }
}

// --- Writing rules ------------------------------------------------------------------------------

struct WriteCase {
    const char* name;
    std::optional<QByteArray> before; // nothing: no file yet
    QString section, key, value;
    QByteArray after;
};
void PrintTo(const WriteCase& row, std::ostream* os)
{
    *os << row.name;
}

class WriteRule : public SettingsFile, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteRule, EditsOnlyWhatItMust)
{
    const WriteCase& c = GetParam();
    if (c.before)
        writeFile(path(), *c.before);
    ASSERT_NE(WriteSetting(path(), c.section, c.key, c.value), 0);
    EXPECT_EQ(readFile(path()), c.after);
}

const WriteCase writeCases[] = {
    {"CreatesFile", std::nullopt, "XMRadio", "LastChannel", "7", "[XMRadio]\r\nLastChannel=7\r\n"},
    {"UpdatesInPlaceKeepingFileCasing", "[xmradio]\r\nlastCHANNEL=1\r\nPreset1=5\r\n", "XMRadio", "LastChannel", "12",
     "[xmradio]\r\nlastCHANNEL=12\r\nPreset1=5\r\n"},
    {"UpdatesSpacedLine", "[S]\r\n  k = 1 \r\nj=2\r\n", "S", "k", "3", "[S]\r\nk=3\r\nj=2\r\n"},
    {"KeepsLfEndingsElsewhere", "; top\n[S]\nk=1\nj=2\n", "S", "k", "3", "; top\n[S]\nk=3\nj=2\n"},
    {"UpdatesLastLineWithoutNewline", "[S]\r\nk=1", "S", "k", "2", "[S]\r\nk=2\r\n"},
    {"UpdatesFirstDuplicate", "[S]\r\nk=1\r\nk=2\r\n", "S", "K", "9", "[S]\r\nk=9\r\nk=2\r\n"},
    {"NewKeyAfterLastKeyAboveComments", "[S]\r\na=1\r\n; note\r\n\r\n[T]\r\nb=2\r\n", "S", "k", "v",
     "[S]\r\na=1\r\nk=v\r\n; note\r\n\r\n[T]\r\nb=2\r\n"},
    {"NewKeyBeforeTrailingBlankLines", "[S]\r\na=1\r\n\r\n\r\n[T]\r\n", "S", "k", "v",
     "[S]\r\na=1\r\nk=v\r\n\r\n\r\n[T]\r\n"},
    {"NewKeysInCallOrder", "[S]\r\na=1\r\nk=v\r\n", "S", "l", "w", "[S]\r\na=1\r\nk=v\r\nl=w\r\n"},
    {"NewKeyRightAfterHeaderOfKeylessSection", "[S]\r\n; c\r\n\r\n[T]\r\n", "S", "k", "v",
     "[S]\r\nk=v\r\n; c\r\n\r\n[T]\r\n"},
    {"NewKeyAfterLastLineWithoutNewline", "[S]\r\na=1", "S", "k", "v", "[S]\r\na=1\r\nk=v\r\n"},
    {"NewKeyInFirstOfDuplicateSections", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "3",
     "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"},
    {"NewSectionAppended", "[A]\r\na=1\r\n\r\n", "S", "k", "v", "[A]\r\na=1\r\n\r\n[S]\r\nk=v\r\n"},
    {"NewSectionAfterMissingNewline", "[A]\r\na=1", "S", "k", "v", "[A]\r\na=1\r\n[S]\r\nk=v\r\n"},
    {"ValueVerbatim", std::nullopt, "S", "k", " \"v\" ;# ", "[S]\r\nk= \"v\" ;# \r\n"},
    {"EmptyValue", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
    {"ArgumentSpacesStripped", std::nullopt, "  S ", " k ", "v", "[S]\r\nk=v\r\n"},
    {"SemicolonKeyNeverMatchesComment", "[S]\r\n;k=1\r\n", "S", ";k", "2", "[S]\r\n;k=2\r\n;k=1\r\n"},
    {"BytesBeforeFirstSectionKept", QByteArray("x=\0\xFF\r\n[S]\r\nk=1\r\n", 16), "S", "k", "2",
     QByteArray("x=\0\xFF\r\n[S]\r\nk=2\r\n", 16)},
    {"Windows1252BytesKept", "[S]\r\nname=Caf\xE9\r\nk=1\r\n", "S", "k", "\u00e9",
     "[S]\r\nname=Caf\xE9\r\nk=\xC3\xA9\r\n"},
    {"OddLinesKeptByteForByte", "\xEF\xBB\xBF; top\n\n  [ s ]  \r\n a = 1 \n\tb=2\r\r\n[T]\nk=1", "S", "c", "3",
     "\xEF\xBB\xBF; top\n\n  [ s ]  \r\n a = 1 \n\tb=2\rc=3\r\n\r\n[T]\nk=1"},
};

INSTANTIATE_TEST_SUITE_P(Rules, WriteRule, ::testing::ValuesIn(writeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, WrittenValueReadsBack)
{
    ASSERT_NE(WriteSetting(path(), "XMRadio", "Preset2", "7"), 0);
    ASSERT_NE(WriteSetting(path(), "XMRadio", "Preset2", "'12'"), 0);
    EXPECT_EQ(ReadSetting(path(), "xmradio", "preset2", AsInteger), QVariant::fromValue<qint16>(12));
}

// --- Replacing the file in one step -------------------------------------------------------------

const QByteArray oldContent = "[XMRadio]\r\nLastChannel=7\r\n";

TEST_F(SettingsFile, WriteReplacesTheFileAndLeavesNoTemporaryBehind)
{
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(QFile::encodeName(withContent(oldContent)).constData(), &before), 0);
    ASSERT_NE(WriteSetting(path(), "XMRadio", "LastChannel", "8"), 0);
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "the file was rewritten in place, not replaced";
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"vantoxm.ini"});
}

TEST_F(SettingsFile, MissingFolderFailsAndCreatesNothing)
{
    const QString file = path("no-such-folder/vantoxm.ini");
    EXPECT_EQ(WriteSetting(file, "XMRadio", "LastChannel", "8"), 0);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(SettingsFile, AWriteRemovesTheLeftoversOfAnEarlierSaveAndNothingElse)
{
    withContent(oldContent);
    const QStringList others = {"other.ini.a1B2c3", "vantoxm.ini.a1-2c3", "vantoxm.ini.a1B2c3d", "vantoxm.ini.bak"};
    for (const QString& name : others + QStringList{"vantoxm.ini.a1B2c3", "vantoxm.ini.ZZZZZZ"})
        writeFile(path(name), oldContent);
    ASSERT_NE(WriteSetting(path(), "XMRadio", "LastChannel", "8"), 0);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList(
                  {"other.ini.a1B2c3", "vantoxm.ini", "vantoxm.ini.a1-2c3", "vantoxm.ini.a1B2c3d", "vantoxm.ini.bak"}));
}

// --- Folders and files the user cannot write ----------------------------------------------------

// Writes LastChannel=8 in a child process that has become the unprivileged user "nobody", who can
// write only where everybody may. Returns WriteSetting's result, or -1 when the child could not
// become that user.
int writeAsNobody(const QString& file)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(100);
        ::_exit(WriteSetting(file, "XMRadio", "LastChannel", "8"));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) <= 1 ? WEXITSTATUS(status) : -1;
}

struct PermissionCase {
    const char* name;
    mode_t file;
    QByteArray after;
};
void PrintTo(const PermissionCase& row, std::ostream* os)
{
    *os << row.name;
}

class FolderNotWritable : public SettingsFile, public ::testing::WithParamInterface<PermissionCase> {};

// An install folder owned by root, not writable by the user, with the settings file beside the
// program.
TEST_P(FolderNotWritable, WritesInPlaceWhereTheFileAllows)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    const PermissionCase& c = GetParam();
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(withContent(oldContent)).constData(), c.file), 0);
    const int result = writeAsNobody(path());
    ASSERT_GE(result, 0) << "the test could not become nobody";
    EXPECT_EQ(result != 0, c.after != oldContent);
    EXPECT_EQ(readFile(path()), c.after);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"vantoxm.ini"});
}

const PermissionCase permissionCases[] = {
    {"WritableFileIsWrittenInPlace", 0666, "[XMRadio]\r\nLastChannel=8\r\n"},
    {"ReadOnlyFileFailsAndIsKept", 0644, oldContent},
};

INSTANTIATE_TEST_SUITE_P(Permissions, FolderNotWritable, ::testing::ValuesIn(permissionCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
