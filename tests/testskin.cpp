#include "testskin.h"

#include "testsupport.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <utility>
#include <vector>

namespace testskin {
namespace {

using Keys = std::vector<std::pair<QString, QString>>;

Keys geometry(const char* l, const char* t, const char* w, const char* h)
{
    return {{"Left", l}, {"Top", t}, {"Width", w}, {"Height", h}};
}

Keys textKeys(const char* l, const char* t, const char* w, const char* h, const char* size = "12")
{
    Keys k = geometry(l, t, w, h);
    const Keys style = {{"Font", "DejaVu Sans"},    {"AllowResize", "True"}, {"FontSize", size},
                        {"FontColour", "16777215"}, {"Align", "Left"},       {"Bold", "False"},
                        {"Italic", "False"},        {"Underlined", "False"}};
    k.insert(k.end(), style.begin(), style.end());
    return k;
}

Keys presetLabel()
{
    Keys k = geometry("0", "20", "100", "60");
    const Keys style = {{"Font", "DejaVu Sans"},  {"AllowResize", "True"}, {"FontSize", "12"},
                        {"UpColour", "16777215"}, {"DownColour", "255"},   {"OnColour", "65535"},
                        {"BackColour", "-1"},     {"Align", "Centre"},     {"Bold", "True"},
                        {"Italic", "False"},      {"Underlined", "False"}};
    k.insert(k.end(), style.begin(), style.end());
    return k;
}

std::vector<std::pair<QString, Keys>> defaultSections()
{
    std::vector<std::pair<QString, Keys>> s;
    s.push_back({"General", {{"DefaultWidth", "800"}, {"DefaultHeight", "480"}}});
    s.push_back({"Exit", geometry("2", "85", "10", "12")});
    s.push_back({"VolumeMute", geometry("50", "85", "10", "12")});
    s.push_back({"Tune", geometry("38", "85", "10", "12")});
    s.push_back({"VolumeDown", geometry("62", "85", "10", "12")});
    s.push_back({"VolumeUp", geometry("74", "85", "10", "12")});
    s.push_back({"ArtistTrackTitle", textKeys("40", "76", "45", "6")});
    s.push_back({"Artist", textKeys("30", "50", "40", "5")});
    s.push_back({"StationName", textKeys("30", "45", "40", "5")});
    s.push_back({"TrackTitle", textKeys("30", "55", "40", "5")});
    s.push_back({"ChannelNumber", textKeys("15", "45", "12", "10", "24")});
    s.push_back({"Genre", textKeys("30", "60", "40", "5")});
    s.push_back({"CurrentTrackTime", textKeys("30", "70", "9", "5")});
    s.push_back({"TotalTrackTime", textKeys("81", "70", "9", "5")});
    Keys volume = textKeys("86", "88", "12", "6");
    volume.insert(volume.begin() + 9, {"Suffix", "%"});
    s.push_back({"Volume", volume});
    Keys time = textKeys("80", "45", "15", "5");
    time.insert(time.begin() + 9, {"Format", "hh:mm"});
    s.push_back({"Time", time});
    Keys date = textKeys("80", "50", "15", "5");
    date.insert(date.begin() + 9, {"Format", "dd.mm.yyyy"});
    s.push_back({"Date", date});
    for (const auto& [name, top] : {std::pair{"Rock", "50"}, {"Roll", "54"}, {"Ground", "58"}}) {
        Keys k = geometry("1", top, "10", "3");
        k.push_back({"FontColour", "8421504"});
        k.push_back({"Orientation", "H"});
        k.push_back({"StatusColour", "65280"});
        s.push_back({name, k});
    }
    const char* presetLefts[] = {"14", "22", "30"};
    for (int n = 1; n <= 3; ++n) {
        s.push_back({QStringLiteral("Preset%1").arg(n), geometry(presetLefts[n - 1], "85", "7", "12")});
        s.push_back({QStringLiteral("Preset%1Label").arg(n), presetLabel()});
    }
    s.push_back({"CurrentPlaylist",
                 {{"SliderUpImage", "ThumbUp.png"},
                  {"SliderDownImage", "ThumbDown.png"},
                  {"Left", "1"},
                  {"Top", "2"},
                  {"Width", "90"},
                  {"Height", "40"},
                  {"SliderAreaLeft", "93"},
                  {"SliderAreatop", "10"},
                  {"SliderAreaWidth", "5"},
                  {"SliderAreaHeight", "25"},
                  {"SliderWidth", "5"},
                  {"SliderHeight", "5"},
                  {"ScrollUpLeft", "93"},
                  {"ScrollUpTop", "2"},
                  {"ScrollUpWidth", "5"},
                  {"ScrollUpHeight", "7"},
                  {"ScrollDownLeft", "93"},
                  {"ScrollDownTop", "36"},
                  {"ScrollDownWidth", "5"},
                  {"ScrollDownHeight", "7"},
                  {"Font", "DejaVu Sans"},
                  {"AllowResize", "True"},
                  {"FontSize", "10"},
                  {"FontColour", "16777215"},
                  {"SelectedBackColour", "8388608"},
                  {"Bold", "False"},
                  {"Italic", "False"},
                  {"Underlined", "False"}}});
    s.push_back({"TimeSlider",
                 {{"SliderUpImage", "TimeUp.png"},
                  {"SliderDownImage", "TimeDown.png"},
                  {"Left", "40"},
                  {"Top", "70"},
                  {"Width", "40"},
                  {"Height", "4"},
                  {"SliderHeight", "4"},
                  {"SliderWidth", "2"}}});
    return s;
}

QImage stateImage(int state, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(
                x, y,
                qRgb(x * 255 / qMax(1, size.width() - 1), y * 255 / qMax(1, size.height() - 1), stateBlue(state)));
    return image;
}

void saveThumb(const QString& path, QColor colour)
{
    QImage thumb(16, 16, QImage::Format_ARGB32);
    thumb.fill(colour);
    thumb.save(path);
}

} // namespace

int stateBlue(int state)
{
    return state == 0 ? 0 : state == 1 ? 128 : 255;
}

void writeSkin(const QString& folder, const Options& options)
{
    QByteArray ini;
    QStringList pending = options.set.keys();
    for (const auto& [section, keys] : defaultSections()) {
        ini += "[" + section.toUtf8() + "]\r\n";
        for (const auto& [key, value] : keys) {
            const QString id = section + "/" + key;
            if (options.remove.contains(id))
                continue;
            pending.removeAll(id);
            ini += key.toUtf8() + "=" + options.set.value(id, value).toUtf8() + "\r\n";
        }
        for (const QString& id : options.set.keys())
            if (pending.contains(id) && id.startsWith(section + "/")) {
                pending.removeAll(id);
                ini += id.mid(section.size() + 1).toUtf8() + "=" + options.set.value(id).toUtf8() + "\r\n";
            }
    }
    testsupport::writeFile(folder + "/radio_xm.ini", ini);
    if (!options.images)
        return;
    QDir().mkpath(folder + "/Images");
    const char* names[] = {"Radio_XM_Up.jpg", "Radio_XM_Down.jpg", "Radio_XM_On.jpg"};
    for (int state = 0; state < 3; ++state)
        stateImage(state, options.imageSize).save(folder + "/Images/" + names[state], "JPG", 95);
    saveThumb(folder + "/Images/ThumbUp.png", Qt::yellow);
    saveThumb(folder + "/Images/ThumbDown.png", Qt::magenta);
    saveThumb(folder + "/Images/TimeUp.png", Qt::cyan);
    saveThumb(folder + "/Images/TimeDown.png", Qt::white);
}

} // namespace testskin
