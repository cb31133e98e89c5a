// The build's check of the radio client against the interface's XML, on the real XML and on
// copies of it changed as a careless edit would change them.
#include "radio/interfacecheck.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray interfaceXml()
{
    QFile file(QStringLiteral(VANTO_SOURCE_DIR "/bus/org.vanto.XMRadio.xml"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

struct Edit {
    const char* name;
    const char* from; // replaced in the real XML by `to`
    const char* to;
    const char* difference; // the line the check must report; empty when it must report nothing
};

class ClientCheck : public testing::TestWithParam<Edit> {};

TEST_P(ClientCheck, ReportsWhatDiffers)
{
    const Edit& edit = GetParam();
    const QByteArray original = interfaceXml();
    const QByteArray xml = QByteArray(original).replace(edit.from, edit.to);
    ASSERT_TRUE(*edit.from == '\0' || xml != original) << "the edit does not apply";

    const QStringList differences = xmradio::clientDifferences(xml);
    if (*edit.difference == '\0')
        EXPECT_TRUE(differences.isEmpty()) << differences.join(u'\n').toStdString();
    else
        EXPECT_TRUE(differences.contains(QString::fromUtf8(edit.difference))) << differences.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ClientCheck,
    testing::Values(
        Edit{"TheInterfaceAsItIs", "", "", ""},
        Edit{"ArgumentsWithoutDirectionAreInputs", R"(type="i" direction="in")", R"(type="i")", ""},
        Edit{"AnnotationsDoNotCount", "<signal name=\"MuteChanged\">",
             "<signal name=\"MuteChanged\"><annotation name=\"org.freedesktop.DBus.Deprecated\" value=\"false\"/>", ""},
        Edit{"OtherInterfacesDoNotCount", "<node>",
             R"(<node><interface name="org.freedesktop.DBus.Peer"><method name="Ping"/></interface>)", ""},
        Edit{"ARenamedSignal", R"("ChannelChange")", R"("ChannelChanged")",
             "in the client, not in the XML: signal ChannelChange(i)"},
        Edit{"ARenamedMethod", R"("SetMute")", R"("Mute")", "in the XML, not in the client: method Mute(b)"},
        Edit{"AnArgumentOfAnotherType", R"(name="ground" type="d")", R"(name="ground" type="i")",
             "in the XML, not in the client: signal SignalStrength(ddi)"},
        Edit{"AnArgumentMore", R"(<arg name="duration" type="i"/>)",
             R"(<arg name="duration" type="i"/><arg name="left" type="i"/>)",
             "in the XML, not in the client: signal CurrentTime(iii)"},
        Edit{"AMethodThatAnswers", R"(<arg name="muted" type="b" direction="in"/>)",
             R"(<arg name="muted" type="b" direction="in"/><arg name="was" type="b" direction="out"/>)",
             "in the XML, not in the client: method SetMute(b) -> b"},
        Edit{"AProperty", "</interface>", R"(<property name="Volume" type="d" access="readwrite"/></interface>)",
             "in the XML, not in the client: property Volume d readwrite"},
        Edit{"AnotherInterfaceName", R"(<interface name="org.vanto.XMRadio">)",
             R"(<interface name="org.vanto.XMRadio2">)", "the XML declares no interface org.vanto.XMRadio"}),
    [](const testing::TestParamInfo<Edit>& info) { return std::string(info.param.name); });

TEST(ClientCheck, UnreadableXmlIsADifference)
{
    QByteArray xml = interfaceXml();
    xml.truncate(xml.indexOf("</interface>"));
    const QStringList differences = xmradio::clientDifferences(xml);
    ASSERT_EQ(differences.size(), 1);
    EXPECT_TRUE(differences.front().startsWith(u"the XML cannot be read")) << differences.front().toStdString();
}

} // namespace
