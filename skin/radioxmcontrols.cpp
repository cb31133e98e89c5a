#include "radioxmcontrols.h"

namespace skin {
namespace {

constexpr Colour White = 0x00FFFFFF;
constexpr int NoIndex = -1;

struct Rect {
    float left, top, width, height;
};

struct TextStyle {
    QString caption;
    QString font;
    float size;
    bool bold = false;
    Colour fore = SystemWindowText;
    bool autoSize = false;
};

// Tahoma 14.25 pt white: the look of most design-time captions.
TextStyle tahoma(const QString& caption, bool autoSize = false)
{
    return {caption, QStringLiteral("Tahoma"), 14.25f, false, White, autoSize};
}

TextStyle sansBold(const QString& caption, float size)
{
    return {caption, QStringLiteral("MS Sans Serif"), size, true};
}

// The window's default font, which the list labels keep until a skin styles them.
TextStyle listPlaceholder()
{
    return {QStringLiteral("Lapel1"), QStringLiteral("MS Sans Serif"), 8.25f, false, SystemWindowText, true};
}

class Builder {
public:
    Builder(const TwipsScale& scale, TextMeasure& measure)
        : m_scale(scale)
        , m_measure(measure)
    {
    }

    template <typename T> std::unique_ptr<T> control(const QString& name, int index, QWidget* in, Rect r)
    {
        auto c = std::make_unique<T>(name, index, in, m_scale);
        c->Move(r.left, r.top, r.width, r.height);
        return c;
    }

    std::unique_ptr<PictureArea> picture(const QString& name, QWidget* in, Rect r, Colour back = SystemWindowBackground,
                                         bool visible = true)
    {
        auto p = control<PictureArea>(name, NoIndex, in, r);
        p->setBackColor(back);
        p->setVisible(visible);
        return p;
    }

    std::unique_ptr<ImageControl> image(const QString& name, QWidget* in, Rect r, bool visible = true)
    {
        auto i = control<ImageControl>(name, NoIndex, in, r);
        i->setVisible(visible);
        return i;
    }

    std::unique_ptr<Label> label(const QString& name, int index, QWidget* in, Rect r, const TextStyle& style,
                                 bool visible = true)
    {
        auto l = control<Label>(name, index, in, r);
        l->measureWith(&m_measure);
        l->setFont(style.font, style.size, style.bold, false, false);
        l->setForeColor(style.fore);
        l->setBackStyle(BackStyle::Transparent);
        l->setAutoSize(style.autoSize);
        l->setCaption(style.caption);
        l->setVisible(visible);
        return l;
    }

    // A member of an indexed label group whose design values do not depend on the index.
    ControlArray<Label>::Factory labelGroup(const QString& name, std::function<QWidget*(int)> in, Rect r,
                                            TextStyle style)
    {
        return [this, name, in, r, style](int index) { return label(name, index, in(index), r, style); };
    }

    std::unique_ptr<Control> plain(const QString& name, QWidget* in, Rect r, bool visible)
    {
        auto c = std::make_unique<Control>(name, NoIndex, new ControlWidget(in, m_scale), m_scale);
        c->Move(r.left, r.top, r.width, r.height);
        c->setVisible(visible);
        return c;
    }

private:
    const TwipsScale& m_scale;
    TextMeasure& m_measure;
};

} // namespace

// Members are built in the order of the window's control tree, containers first; the
// constructor body follows that tree line by line.
RadioXMControls::RadioXMControls(QWidget* form, const TwipsScale& scale, bool measureAfterFirstPicture)
    : cmdPreset({})
    , lblPreset({})
    , lblListItem4({})
    , lblListItem3({})
    , lblListItem2({})
    , lblListItem1({})
    , lblListItem0({})
    , lblListItem({})
    , lblSignalBack({})
    , lblSignalFront({})
    , tmrResize(QStringLiteral("tmrResize"), 50, false, form)
    , tmrLoad(QStringLiteral("tmrLoad"), 10000, false, form)
    , tmrUpdates(QStringLiteral("tmrUpdates"), 200, true, form)
    , tmrHighlightListItem(QStringLiteral("tmrHighlightListItem"), 250, false, form)
    , tmrSavePreset(QStringLiteral("tmrSavePreset"), 3000, false, form)
    , tmrUpdateListing(QStringLiteral("tmrUpdateListing"), 1000, false, form)
    , tmrButtonPressed(QStringLiteral("tmrButtonPressed"), 200, false, form)
{
    // The group factories outlive this constructor and share the builder.
    if (measureAfterFirstPicture)
        textMeasure.hold();
    auto factoryBuilder = std::make_shared<Builder>(scale, textMeasure);
    Builder* b = factoryBuilder.get();

    lv = b->plain(QStringLiteral("lv"), form, {480, 8520, 10095, 2895}, false);
    imgBackground = b->picture(QStringLiteral("imgBackground"), form, {120, 120, 11295, 6975}, 0x000080FF);
    QWidget* bg = imgBackground->container();
    txtDebug = b->plain(QStringLiteral("txtDebug"), bg, {840, 720, 3975, 1335}, false);
    cmdTune = b->picture(QStringLiteral("cmdTune"), bg, {3480, 6120, 735, 615});

    cmdPreset = ControlArray<PictureArea>([factoryBuilder, bg](int index) {
        const float lefts[] = {960, 1800, 2640};
        auto p = factoryBuilder->control<PictureArea>(QStringLiteral("cmdPreset"), index, bg,
                                                      {lefts[qBound(0, index, 2)], 6120, 735, 615});
        return p;
    });
    lblPreset = ControlArray<Label>([factoryBuilder, this](int index) {
        return factoryBuilder->label(QStringLiteral("lblPreset"), index, cmdPreset(index).container(),
                                     {0, 0, 1215, 375}, tahoma(QStringLiteral("Satellites")));
    });
    for (int i = 0; i < 3; ++i) {
        cmdPreset.create(i);
        lblPreset.create(i);
    }

    pctArtistTrackTitle = b->picture(QStringLiteral("pctArtistTrackTitle"), bg, {6720, 5280, 4095, 735}, 0x00004080);
    lblArtistTrackTitle = b->label(QStringLiteral("lblArtistTrackTitle"), NoIndex, pctArtistTrackTitle->container(),
                                   {0, 0, 1845, 345}, tahoma(QStringLiteral("ArtistTrackTitle"), true));

    pctTimeScrollBar = b->picture(QStringLiteral("pctTimeScrollBar"), bg, {5640, 4200, 3495, 495}, 0x00404040);
    QWidget* timeBar = pctTimeScrollBar->container();
    pctTimeScrollImageUp = b->image(QStringLiteral("pctTimeScrollImageUp"), timeBar, {2640, 0, 375, 495}, false);
    pctTimeScrollImageDown = b->image(QStringLiteral("pctTimeScrollImageDown"), timeBar, {1920, 0, 375, 495}, false);
    pctTimeScroll = b->image(QStringLiteral("pctTimeScroll"), timeBar, {240, 0, 375, 495});

    pctScrollBar = b->picture(QStringLiteral("pctScrollBar"), bg, {8520, 1080, 495, 1695}, 0x00404040);
    QWidget* track = pctScrollBar->container();
    pctScroll = b->image(QStringLiteral("pctScroll"), track, {0, 480, 495, 375});
    pctScrollImageUp = b->image(QStringLiteral("pctScrollImageUp"), track, {0, 0, 495, 375}, false);
    pctScrollImageDown = b->image(QStringLiteral("pctScrollImageDown"), track, {0, 960, 495, 375}, false);
    pctScrollDown = b->picture(QStringLiteral("pctScrollDown"), bg, {8520, 2760, 495, 495});
    pctScrollUp = b->picture(QStringLiteral("pctScrollUp"), bg, {8520, 600, 495, 495});
    cmdExit = b->picture(QStringLiteral("cmdExit"), bg, {120, 6120, 735, 615});
    cmdVolumeUp = b->picture(QStringLiteral("cmdVolumeUp"), bg, {6000, 6120, 735, 615});
    cmdVolumeDown = b->picture(QStringLiteral("cmdVolumeDown"), bg, {5160, 6120, 735, 615});
    cmdVolumeMute = b->picture(QStringLiteral("cmdVolumeMute"), bg, {4320, 6120, 735, 615});

    pctSkinnableList = b->picture(QStringLiteral("pctSkinnableList"), bg, {1560, 600, 6975, 2655}, 0x00000000);
    QWidget* list = pctSkinnableList->container();
    // Each column of the list: its container, then row 0 of its label group inside it.
    const auto column = [&](std::unique_ptr<PictureArea>& area, ControlArray<Label>& rows, int c, float left) {
        area = b->picture(QStringLiteral("pctListItem%1").arg(c), list, {left, 0, 495, 1935});
        rows = ControlArray<Label>(factoryBuilder->labelGroup(
            QStringLiteral("lblListItem%1").arg(c), [&area](int) { return area->container(); }, {0, 0, 480, 195},
            listPlaceholder()));
        rows.create(0);
    };
    column(pctListItem4, lblListItem4, 4, 4200);
    column(pctListItem3, lblListItem3, 3, 3360);
    column(pctListItem2, lblListItem2, 2, 2520);
    column(pctListItem1, lblListItem1, 1, 1560);
    column(pctListItem0, lblListItem0, 0, 0);
    lblListItem = ControlArray<Label>(factoryBuilder->labelGroup(
        QStringLiteral("lblListItem"), [list](int) { return list; }, {600, 120, 720, 195}, listPlaceholder()));
    lblListItem.create(0);

    // The signal bars, one a row: an opaque back label and, beside it, the level's front label.
    const auto signalPart = [factoryBuilder, bg](const QString& name, float left, float width, Colour back) {
        return [=](int index) {
            const float tops[] = {4440, 4800, 5160};
            auto l = factoryBuilder->label(name, index, bg, {left, tops[qBound(0, index, 2)], width, 255},
                                           {QString(), QStringLiteral("MS Sans Serif"), 8.25f});
            l->setBackStyle(BackStyle::Opaque);
            l->setBackColor(back);
            return l;
        };
    };
    lblSignalBack = ControlArray<Label>(signalPart(QStringLiteral("lblSignalBack"), 120, 495, SystemWindowBackground));
    lblSignalFront = ControlArray<Label>(signalPart(QStringLiteral("lblSignalFront"), 720, 255, 0x00FF00FF));
    for (int i = 0; i < 3; ++i) {
        lblSignalBack.create(i);
        lblSignalFront.create(i);
    }

    lblGPSSatellites = b->label(QStringLiteral("lblGPSSatellites"), NoIndex, bg, {120, 3720, 3375, 375},
                                tahoma(QStringLiteral("Satellites")));
    lblGPSSpeed = b->label(QStringLiteral("lblGPSSpeed"), NoIndex, bg, {120, 5520, 3375, 375},
                           tahoma(QStringLiteral("GPSSpeed")));
    lblSpeedCam = b->label(QStringLiteral("lblSpeedCam"), NoIndex, bg, {120, 3360, 3375, 375},
                           tahoma(QStringLiteral("SpeedCam")));
    lblFullArtistTrackTitle = b->label(QStringLiteral("lblFullArtistTrackTitle"), NoIndex, bg, {0, 0, 2280, 345},
                                       tahoma(QStringLiteral("FullArtistTrackTitle"), true), false);
    lblTotalTrackTime = b->label(QStringLiteral("lblTotalTrackTime"), NoIndex, bg, {6840, 3240, 1455, 495},
                                 tahoma(QStringLiteral("Total Track Time")));
    lblCurrentPos = b->label(QStringLiteral("lblCurrentPos"), NoIndex, bg, {5520, 3360, 1215, 615},
                             tahoma(QStringLiteral("CurrentSongPos")));
    lblCC = b->label(QStringLiteral("lblCC"), NoIndex, bg, {3120, 3360, 975, 735}, sansBold(QStringLiteral("CC"), 24));
    lblStation = b->label(QStringLiteral("lblStation"), NoIndex, bg, {4320, 3360, 4935, 495},
                          sansBold(QStringLiteral("S"), 13.5f));
    lblArtist = b->label(QStringLiteral("lblArtist"), NoIndex, bg, {4320, 4080, 4935, 495},
                         sansBold(QStringLiteral("A"), 13.5f));
    lblTrackTitle = b->label(QStringLiteral("lblTrackTitle"), NoIndex, bg, {4320, 4800, 4935, 495},
                             sansBold(QStringLiteral("T"), 13.5f));
    lblGenre = b->label(QStringLiteral("lblGenre"), NoIndex, bg, {4320, 5520, 4935, 495},
                        sansBold(QStringLiteral("G"), 13.5f));
    lblVolume =
        b->label(QStringLiteral("lblVolume"), NoIndex, bg, {1560, 3960, 1215, 495}, tahoma(QStringLiteral("Volume")));
    lblTime = b->label(QStringLiteral("lblTime"), NoIndex, bg, {2040, 5520, 1215, 495}, tahoma(QStringLiteral("Time")));
    lblDate = b->label(QStringLiteral("lblDate"), NoIndex, bg, {1680, 4800, 1215, 495}, tahoma(QStringLiteral("Date")));

    // The skin's work surfaces: never shown.
    pctOn = b->picture(QStringLiteral("pctOn"), form, {840, 7560, 495, 495}, SystemWindowBackground, false);
    pctOnLoad = b->picture(QStringLiteral("pctOnLoad"), form, {240, 7560, 495, 495}, SystemWindowBackground, false);
    pctDownLoad =
        b->picture(QStringLiteral("pctDownLoad"), form, {2040, 7560, 495, 495}, SystemWindowBackground, false);
    pctUpLoad = b->picture(QStringLiteral("pctUpLoad"), form, {3240, 7560, 495, 495}, SystemWindowBackground, false);
    pctUp = b->picture(QStringLiteral("pctUp"), form, {2640, 7560, 495, 495}, SystemWindowBackground, false);
    pctDown = b->picture(QStringLiteral("pctDown"), form, {1440, 7560, 495, 495}, SystemWindowBackground, false);
}

RadioXMControls::~RadioXMControls() = default;

std::vector<SkinnedArea> RadioXMControls::skinnedAreas()
{
    std::vector<SkinnedArea> areas = {{pctSkinnableList.get(), SkinnedPaint::Up}};
    for (int column = 0; column < 5; ++column)
        areas.push_back({&listColumn(column), SkinnedPaint::InList});
    areas.push_back({imgBackground.get(), SkinnedPaint::Up});
    for (int i = 0; i < 3; ++i)
        areas.push_back({&cmdPreset(i), SkinnedPaint::Up});
    areas.push_back({pctArtistTrackTitle.get(), SkinnedPaint::Up});
    // The mute button shows up here; the window shows the sound's mute on it once the skin is
    // applied.
    for (PictureArea* area : {cmdExit.get(), cmdVolumeMute.get(), cmdVolumeDown.get(), cmdVolumeUp.get(), cmdTune.get(),
                              pctScrollBar.get(), pctScrollUp.get(), pctScrollDown.get(), pctTimeScrollBar.get()})
        areas.push_back({area, SkinnedPaint::Up});
    return areas;
}

ControlArray<Label>& RadioXMControls::rowGroup(int group)
{
    ControlArray<Label>* groups[] = {&lblListItem,  &lblListItem0, &lblListItem1,
                                     &lblListItem2, &lblListItem3, &lblListItem4};
    return *groups[group];
}

PictureArea& RadioXMControls::listColumn(int column)
{
    PictureArea* columns[] = {pctListItem0.get(), pctListItem1.get(), pctListItem2.get(), pctListItem3.get(),
                              pctListItem4.get()};
    return *columns[column];
}

} // namespace skin
