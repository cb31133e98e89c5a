// The skins a new install starts with, the ones the shipped vantoxm.ini names, measured on the
// real window at 800 x 480 (a 7-inch panel, about 5.2 pixels a millimetre, read at 60 to 80 cm):
// the capitals of every text a driver reads while driving, channel numbers shown whole, the
// list's row pitch, each touch target's size and its distance from the targets of other actions,
// and how far the power button is from the presets and the volume. Texts are measured on the
// window's own picture, by the height of the ink of capitals and digits that have neither
// ascenders nor descenders.
#include "fakeradioservice.h"
#include "testsupport.h"
#include "windowfixture.h"

#include <QDir>
#include <QFontMetrics>
#include <QProcess>
#include <QRegularExpression>
#include <QVector3D>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using testsupport::waitUntil;

namespace {

const QString Capitals = QStringLiteral("HHHH");
constexpr int Channel = 111; // "111": digits without round tops, as high as the capitals

// What a driver needs, in pixels of the 800 x 480 window.
constexpr int LeastCapitals = 21;
constexpr int LeastRowPitch = 37;
constexpr int LeastTarget = 47;
constexpr int LeastGap = 10;

// One measured figure against its least value; kind groups the figures of one need.
struct Figure {
    std::string kind;
    std::string what;
    int measured;
    int least;
};

// A widget's part of the window that is not cut off by its containers.
QRect onScreen(const QWidget* widget, const QWidget* window)
{
    QRect r(widget->mapTo(window, QPoint(0, 0)), widget->size());
    for (const QWidget* p = widget->parentWidget(); p && p != window; p = p->parentWidget())
        r &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    return r;
}

QVector3D rgb(QRgb p)
{
    return QVector3D(qRed(p), qGreen(p), qBlue(p));
}

// The box of the pixels of r that hold ink of the text colour: a pixel at least half-way from the
// area's own colour (each channel's median) to the text's.
QRect inkIn(const QImage& screen, const QRect& r, const QColor& text)
{
    std::array<std::vector<float>, 3> channels;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            for (int c = 0; c < 3; ++c)
                channels[c].push_back(rgb(screen.pixel(x, y))[c]);
    QVector3D back;
    for (int c = 0; c < 3; ++c) {
        const auto middle = channels[c].begin() + channels[c].size() / 2;
        std::nth_element(channels[c].begin(), middle, channels[c].end());
        back[c] = *middle;
    }
    const QVector3D toText = rgb(text.rgb()) - back;
    const float span = toText.lengthSquared();
    QRect ink;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (span > 0 && QVector3D::dotProduct(rgb(screen.pixel(x, y)) - back, toText) >= span / 2)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// Pixels between two rectangles, along the axis on which they lie apart (the larger of the two
// when they lie apart diagonally); 0 when they touch or overlap.
int gap(const QRect& a, const QRect& b)
{
    const int dx = std::max({0, b.left() - (a.right() + 1), a.left() - (b.right() + 1)});
    const int dy = std::max({0, b.top() - (a.bottom() + 1), a.top() - (b.bottom() + 1)});
    return std::max(dx, dy);
}

struct Case {
    const char* name;
    bool night;
    // A skin to put in place of the shipped day skin; empty: the shipped settings as they are.
    const char* daySkin;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class DefaultSkins : public WindowFixture, public ::testing::WithParamInterface<Case> {
protected:
    // The shipped vantoxm.ini's [Appearance] as it is, after a tuned channel and three presets,
    // and the two skins it names copied from the build. Returns the skin of the case's hour.
    QString writeShippedSettings()
    {
        QString appearance = QString::fromLatin1(testsupport::readFile(VANTO_SOURCE_DIR "/app/vantoxm.ini.default"));
        appearance = appearance.mid(appearance.indexOf("[Appearance]"));
        if (*GetParam().daySkin)
            appearance.replace(QRegularExpression("DaySkin=[^\r\n]*"), QString("DaySkin=") + GetParam().daySkin);
        const QString number = QString::number(Channel);
        testsupport::writeFile(folder.filePath("vantoxm.ini"),
                               QString("[XMRadio]\r\nLastChannel=%1\r\nPreset1=%1\r\nPreset2=%1\r\nPreset3=%1\r\n")
                                       .arg(number)
                                       .toLatin1() +
                                   appearance.toLatin1());
        QDir().mkpath(folder.filePath("Skins"));
        QStringList names;
        for (const char* key : {"DaySkin", "NightSkin"}) {
            names << QRegularExpression(QString(key) + "=([^\r\n]*)").match(appearance).captured(1);
            QProcess::execute("cp", {"-r", VANTO_PROGRAM_DIR "/Skins/" + names.last(), folder.filePath("Skins/")});
        }
        return names[GetParam().night ? 1 : 0];
    }

    std::vector<Figure> measure();
};

std::vector<Figure> DefaultSkins::measure()
{
    skin::RadioXMControls& c = window->controls();
    const QImage screen = window->grab().toImage();
    EXPECT_EQ(screen.size(), QSize(800, 480));
    const auto place = [&](const skin::Control& control) { return onScreen(control.widget(), window.get()); };
    std::vector<Figure> figures;

    // The capitals' height of a label's text; a channel number is also shown whole, not cut to
    // "1…": its ink is about as wide as the text (the faint edge pixels on either side do not
    // count as ink).
    const auto capitals = [&](const std::string& what, const skin::Label& label, bool whole = false) {
        const QRect ink = inkIn(screen, place(label), skin::toQColor(label.ForeColor()));
        figures.push_back({"capitals", what, ink.height(), LeastCapitals});
        if (whole)
            figures.push_back({"whole", what, ink.width(),
                               QFontMetrics(label.font()).tightBoundingRect(label.Caption()).width() * 9 / 10});
        return ink;
    };
    capitals("channel number", *c.lblCC, true);
    capitals("station", *c.lblStation);
    capitals("artist", *c.lblArtist);
    capitals("title", *c.lblTrackTitle);
    capitals("artist-title line", *c.lblArtistTrackTitle);
    for (int i = 0; i < 3; ++i)
        capitals("preset " + std::to_string(i + 1), c.lblPreset(i), true);
    QRect above;
    for (int row = 0; row <= window->skinState().VisibleItems; ++row) {
        const std::string n = std::to_string(row);
        capitals("list number, row " + n, c.lblListItem0(row), true);
        const QRect ink = capitals("list station, row " + n, c.lblListItem1(row));
        if (row > 0)
            figures.push_back({"row", "list row pitch above row " + n, ink.top() - above.top(), LeastRowPitch});
        above = ink;
        figures.push_back({"target", "list row " + n + " width", place(c.lblListItem(row)).width(), LeastTarget});
    }

    // The touch targets: every button, the list's track, and the list's rows taken together.
    struct Target {
        std::string what;
        QRect rect;
    };
    std::vector<Target> targets;
    const auto add = [&](const std::string& what, const skin::Control& control, bool button = true) {
        targets.push_back({what, place(control)});
        if (button) {
            figures.push_back({"target", what + " width", targets.back().rect.width(), LeastTarget});
            figures.push_back({"target", what + " height", targets.back().rect.height(), LeastTarget});
        }
    };
    add("power", *c.cmdExit);
    add("mute", *c.cmdVolumeMute);
    add("tune", *c.cmdTune);
    add("volume down", *c.cmdVolumeDown);
    add("volume up", *c.cmdVolumeUp);
    for (int i = 0; i < 3; ++i)
        add("preset " + std::to_string(i + 1), c.cmdPreset(i));
    add("scroll up", *c.pctScrollUp);
    add("scroll down", *c.pctScrollDown);
    add("list track", *c.pctScrollBar);
    add("list rows", *c.pctSkinnableList, false);
    // Held for two seconds, they set an alert; the line's frame also takes a tap.
    add("artist", *c.lblArtist, false);
    add("title", *c.lblTrackTitle, false);
    add("artist-title line", *c.pctArtistTrackTitle, false);
    for (size_t i = 0; i < targets.size(); ++i)
        for (size_t j = i + 1; j < targets.size(); ++j)
            figures.push_back(
                {"gap", targets[i].what + " to " + targets[j].what, gap(targets[i].rect, targets[j].rect), LeastGap});

    const QRect power = targets[0].rect;
    for (const Target& t : targets) {
        if (t.what.starts_with("preset") || t.what.starts_with("volume") || t.what == "mute")
            figures.push_back(
                {"power", "power to " + t.what, gap(power, t.rect), std::max(power.width(), t.rect.width())});
    }
    return figures;
}

} // namespace

TEST_P(DefaultSkins, AreReadableAndSafeAtArmsLength)
{
    const QTime now = GetParam().night ? QTime(23, 0) : QTime(12, 0);
    seams.clock = [now] { return now; };
    const QString expected = writeShippedSettings();
    volume::MemoryMixer::Script mixer;
    useMemoryMixer(mixer);
    FakeRadioService service("service");
    startWindow();
    ASSERT_EQ(window->skinState().CurrentSkin, expected);
    ASSERT_TRUE(shown.empty()) << shown.front().text.toStdString();
    ASSERT_TRUE(waitUntil([&] { return service.calls.contains("Channel " + QString::number(Channel)); }));
    const int rows = window->skinState().VisibleItems + 1;
    for (int i = 0; i < rows + 2; ++i)
        service.emitSignal("ChannelData", {Channel + i, Capitals, Capitals, Capitals, Capitals});
    service.emitSignal("CurrentChannelData", {Channel, Capitals, Capitals, Capitals, Capitals});
    ASSERT_TRUE(waitUntil([&] {
        skin::RadioXMControls& c = window->controls();
        return c.lblListItem1(rows - 1).Caption() == Capitals && c.lblStation->Caption() == Capitals &&
               c.lblArtistTrackTitle->Caption() == Capitals + " - " + Capitals;
    }));

    const std::vector<Figure> figures = measure();
    if (*GetParam().daySkin) {
        std::set<std::string> fallShort;
        for (const Figure& f : figures)
            if (f.measured < f.least)
                fallShort.insert(f.kind);
        // The classic skin falls short on every count of a driver's needs: the measures can tell.
        const std::set<std::string> needs{"capitals", "row", "target", "gap", "power"};
        EXPECT_TRUE(std::includes(fallShort.begin(), fallShort.end(), needs.begin(), needs.end()));
        return;
    }
    for (const Figure& f : figures)
        EXPECT_GE(f.measured, f.least) << f.kind << ": " << f.what;
}

INSTANTIATE_TEST_SUITE_P(Shipped, DefaultSkins,
                         ::testing::Values(Case{"day", false, ""}, Case{"night", true, ""},
                                           Case{"classic_day", false, "Day"}),
                         [](const auto& info) { return std::string(info.param.name); });
