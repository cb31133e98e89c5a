#include "loadskin.h"
#include "skin/logging.h"

#include "base/basic.h"
#include "base/settingsfolder.h"
#include "skin/drawlevelbar.h"
#include "skin/paintskinnedcontrol.h"

#include <QLoggingCategory>

namespace skin {

float Percent(float value, float extent)
{
    return value / 100.0f * extent;
}

std::optional<Alignment> AlignmentFor(const QString& text)
{
    if (text == QLatin1String("Left"))
        return Alignment::Left;
    if (text == QLatin1String("Centre") || text == QLatin1String("Center"))
        return Alignment::Centre;
    if (text == QLatin1String("Right"))
        return Alignment::Right;
    return std::nullopt;
}

bool AllowsResize(const QString& text)
{
    if (text.trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    const std::optional<double> number = basic::CDbl(text);
    return number && *number == -1.0;
}

std::vector<float> RowTops(float rowHeight, float listHeight, int maxRows)
{
    std::vector<float> tops;
    if (!(rowHeight > 0))
        return tops;
    float t = float(basic::roundHalfEven(rowHeight));
    while (t + rowHeight <= listHeight && int(tops.size()) < maxRows) {
        tops.push_back(t);
        t = float(basic::roundHalfEven(double(t) + double(rowHeight)));
    }
    return tops;
}

// --- SkinLoader ----------------------------------------------------------------------------

namespace {

// Columns of the list as shares of the list's width: left and width of each.
constexpr float ColumnLeft[5] = {0.0f, 0.08f, 0.31f, 0.56f, 0.80f};
constexpr float ColumnWidth[5] = {0.07f, 0.22f, 0.24f, 0.23f, 0.20f};

} // namespace

SkinLoader::SkinLoader(QWidget& form, RadioXMControls& controls, const TwipsScale& scale, CursorDisplay& cursor,
                       QStringList skinFolders)
    : m_form(form)
    , m_c(controls)
    , m_scale(scale)
    , m_cursor(cursor)
    , m_skinFolders(std::move(skinFolders))
{
}

SkinLoader::~SkinLoader() = default;

QString SkinLoader::skinFolder() const
{
    // An empty skin name leaves the Skins folder itself.
    return app::SkinFolder(m_skinFolders, m_state.CurrentSkin);
}

float SkinLoader::windowWidth() const
{
    return float(m_form.width()) * m_scale.x;
}
float SkinLoader::windowHeight() const
{
    return float(m_form.height()) * m_scale.y;
}

QSize SkinLoader::surfaceSize() const
{
    return (QSizeF(m_form.size()) * m_form.devicePixelRatioF()).toSize();
}

void SkinLoader::LoadSkin()
{
    lockWindowUpdate(true);
    m_state.LoadingSkin = true;
    std::optional<LoadedSkin> skin;
    try {
        // The state images decode on the worker threads while the skin file is read.
        const std::unique_ptr<StateImageWork> images = stateImages();
        skin = ReadSkin({skinFolder(), windowWidth(), windowHeight(), m_scale}, *images);
    } catch (...) {
        // The window must not stay locked and deaf to resizes after a broken skin.
        m_state.LoadingSkin = false;
        lockWindowUpdate(false);
        throw;
    }
    ApplySkin(*skin);
    const std::optional<qint16> rowsBefore = std::exchange(m_rowsShown, m_state.VisibleItems);
    emit skinApplied(rowsBefore.has_value(), rowsBefore.value_or(0));
    m_state.LoadingSkin = false;
    lockWindowUpdate(false);
    qCDebug(lcSkin) << "loaded" << skin->path << "at" << m_form.size() << "with" << m_state.VisibleItems + 1 << "rows";
}

void SkinLoader::ApplySkin(LoadedSkin& skin)
{
    m_state.SkinDesignWidth = skin.designWidth;
    m_state.SkinDesignHeight = skin.designHeight;
    m_state.FontScale = skin.fontScale;
    m_c.imgBackground->Move(0, 0, skin.windowWidth, skin.windowHeight);
    applyStateSurfaces(skin);
    if (!m_showMouseCursor)
        m_cursor.ShowCursor(false);
    placeButtons(skin);
    styleTextSections(skin);
    placeSignals(skin);
    placePresets(skin);
    applyThumbPictures(skin);
    placeTimeBar(skin.timeBar);
    placeListFrame(skin.list);
    styleFirstRow(skin.list);
    // Rows are stacked by their text's height. Held back until here at start-up, the labels
    // measure once, in the skin's fonts rather than in their design fonts first.
    m_c.textMeasure.release();
    stackRows(skin.path);
    resetSignalBars();
    paintSkinnedAreas();
}

void SkinLoader::lockWindowUpdate(bool locked)
{
    m_form.setUpdatesEnabled(!locked);
}

void SkinLoader::releaseStateSurfaces()
{
    // The old skin's pictures go as the new ones take their place, not before: a skin that fails
    // to read keeps them on screen. Nobody sees the areas let go of them: the window's updates
    // are locked until they are painted again.
    for (PictureArea* state : {m_c.pctUp.get(), m_c.pctDown.get(), m_c.pctOn.get()}) {
        if (!state->holdsPixels())
            continue;
        const QImage surface = state->surface();
        for (const SkinnedArea& skinned : m_c.skinnedAreas())
            if (skinned.area->showsPieceOf(surface))
                skinned.area->setBackColor(skinned.area->BackColor());
        state->setBackColor(state->BackColor());
    }
}

QImage SkinLoader::FirstPicture()
{
    m_imagesAhead = std::make_unique<StateImageWork>(skinFolder(), surfaceSize(), m_form.devicePixelRatioF());
    const StateImageWork::Result& up = m_imagesAhead->join(StateUp);
    return up.error.isEmpty() ? up.surface : QImage();
}

std::unique_ptr<StateImageWork> SkinLoader::stateImages()
{
    std::unique_ptr<StateImageWork> work = std::move(m_imagesAhead);
    if (!work || !work->isFor(skinFolder(), surfaceSize(), m_form.devicePixelRatioF()))
        work = std::make_unique<StateImageWork>(skinFolder(), surfaceSize(), m_form.devicePixelRatioF());
    work->startAll();
    return work;
}

void SkinLoader::applyStateSurfaces(LoadedSkin& skin)
{
    releaseStateSurfaces();
    PictureArea* loadAreas[3] = {m_c.pctUpLoad.get(), m_c.pctDownLoad.get(), m_c.pctOnLoad.get()};
    PictureArea* surfaces[3] = {m_c.pctUp.get(), m_c.pctDown.get(), m_c.pctOn.get()};
    for (int i = 0; i < 3; ++i) {
        StatePicture& state = skin.states[size_t(i)];
        // The load area takes the picture's own size; only the window-sized surface is kept.
        loadAreas[i]->setWidth(state.loadWidth);
        loadAreas[i]->setHeight(state.loadHeight);
        // The surface first: placing the area then finds it already at the window's size.
        surfaces[i]->setSurface(std::move(state.surface));
        surfaces[i]->Move(0, 0, skin.windowWidth, skin.windowHeight);
        surfaces[i]->Refresh();
    }
}

namespace {

void place(Control& control, const Place& p)
{
    control.setLeft(p.Left);
    control.setTop(p.Top);
    control.setWidth(p.Width);
    control.setHeight(p.Height);
}

void applyFont(Label& label, const FontStyle& font)
{
    label.setFont(font.name, font.points, font.bold, font.italic, font.underline);
}

} // namespace

void SkinLoader::placeButtons(const LoadedSkin& skin)
{
    PictureArea* buttons[ButtonCount] = {m_c.cmdExit.get(), m_c.cmdVolumeMute.get(), m_c.cmdTune.get(),
                                         m_c.cmdVolumeDown.get(), m_c.cmdVolumeUp.get()};
    for (int i = 0; i < ButtonCount; ++i)
        place(*buttons[i], skin.buttons[size_t(i)]);
}

void SkinLoader::styleTextSections(const LoadedSkin& skin)
{
    Label* styleTargets[TextSectionCount] = {m_c.lblArtistTrackTitle.get(),
                                             m_c.lblArtist.get(),
                                             m_c.lblStation.get(),
                                             m_c.lblTrackTitle.get(),
                                             m_c.lblCC.get(),
                                             m_c.lblGenre.get(),
                                             m_c.lblCurrentPos.get(),
                                             m_c.lblTotalTrackTime.get(),
                                             m_c.lblVolume.get(),
                                             m_c.lblTime.get(),
                                             m_c.lblDate.get()};
    for (int i = 0; i < TextSectionCount; ++i) {
        const TextStyle& style = skin.texts[size_t(i)];
        Label& label = *styleTargets[i];
        if (i == 0) {
            // The artist-title line sizes itself inside its clipping area.
            place(*m_c.pctArtistTrackTitle, style.place);
            label.setLeft(0);
            label.setTop(0);
        } else
            place(label, style.place);
        label.setForeColor(style.fore);
        if (style.align)
            label.setAlignment(*style.align);
        applyFont(label, style.font);
    }
    m_state.VolumeSuffix = skin.volumeSuffix;
    m_state.TimeFormat = skin.timeFormat;
    m_state.DateFormat = skin.dateFormat;
}

void SkinLoader::placeSignals(const LoadedSkin& skin)
{
    for (int i = 0; i < 3; ++i) {
        const SignalStyle& style = skin.signalBars[size_t(i)];
        Label& back = m_c.lblSignalBack(i);
        place(back, style.place);
        back.setBackColor(style.back);
        back.setTag(style.orientation);
        m_c.lblSignalFront(i).setBackColor(style.level);
    }
}

void SkinLoader::placePresets(const LoadedSkin& skin)
{
    for (int i = 0; i < 3; ++i) {
        const PresetStyle& style = skin.presets[size_t(i)];
        Label& label = m_c.lblPreset(i);
        place(m_c.cmdPreset(i), style.button);
        place(label, style.caption);
        m_state.PresetColour[size_t(i)] = style.colours;
        if (!style.back)
            label.setBackStyle(BackStyle::Transparent);
        else {
            label.setBackStyle(BackStyle::Opaque);
            label.setBackColor(*style.back);
        }
        if (style.align)
            label.setAlignment(*style.align);
        applyFont(label, style.font);
        label.setForeColor(style.fore);
    }
}

void SkinLoader::applyThumbPictures(LoadedSkin& skin)
{
    m_c.pctScrollImageUp->setPicture(std::move(skin.listThumbUp));
    m_c.pctScrollImageDown->setPicture(std::move(skin.listThumbDown));
    m_c.pctScroll->setPicture(m_c.pctScrollImageUp->Picture());
    m_c.pctTimeScrollImageUp->setPicture(std::move(skin.timeThumbUp));
    m_c.pctTimeScrollImageDown->setPicture(std::move(skin.timeThumbDown));
    m_c.pctTimeScroll->setPicture(m_c.pctTimeScrollImageUp->Picture());
}

void SkinLoader::placeTimeBar(const TimeBarStyle& style)
{
    place(*m_c.pctTimeScrollBar, style.bar);
    m_c.pctTimeScroll->setHeight(style.thumbHeight);
    m_c.pctTimeScroll->setWidth(style.thumbWidth);
    m_c.pctTimeScroll->setTop(0);
}

void SkinLoader::placeListFrame(const ListStyle& style)
{
    place(*m_c.pctSkinnableList, style.list);
    place(*m_c.pctScrollBar, style.sliderArea);
    m_c.pctScroll->setWidth(style.thumbWidth);
    m_c.pctScroll->setHeight(style.thumbHeight);
    m_c.pctScroll->setTop(0);
    m_c.pctScroll->setLeft(0);
    place(*m_c.pctScrollUp, style.scrollUp);
    place(*m_c.pctScrollDown, style.scrollDown);
}

void SkinLoader::styleFirstRow(const ListStyle& style)
{
    const float listWidth = style.list.Width;
    for (int group = 0; group < 6; ++group) {
        Label& first = m_c.rowGroup(group)(0);
        first.setForeColor(style.fore);
        first.setBackColor(style.selectedBack);
        applyFont(first, style.font);
        if (group > 0) {
            const int column = group - 1;
            m_c.listColumn(column).Move(ColumnLeft[column] * listWidth, 0, ColumnWidth[column] * listWidth,
                                        style.list.Height);
        }
        first.setLeft(0);
        first.setTop(0);
        first.setBackStyle(BackStyle::Transparent);
    }
}

void SkinLoader::stackRows(const QString& skinPath)
{
    // One top more than the rows below row 0 may have, to tell a list that has room for more.
    const size_t belowFirst = size_t(MaxListRows - 1);
    std::vector<float> tops = RowTops(m_c.lblListItem0(0).Height(), m_c.pctSkinnableList->Height(), MaxListRows);
    if (tops.size() > belowFirst) {
        qCWarning(lcSkin).noquote() << QStringLiteral(
                                           "The skin file %1, section [CurrentPlaylist], key Height: the list "
                                           "has room for more than %2 rows; it gets %2.")
                                           .arg(skinPath)
                                           .arg(MaxListRows);
        tops.resize(belowFirst);
    }
    // The rows of the last load are styled again from row 0 rather than made anew; those the new
    // layout has no room for go.
    int k = 0;
    for (const float top : tops) {
        ++k;
        for (int group = 0; group < 6; ++group) {
            Label& row = m_c.rowGroup(group).Reload(k);
            row.setTop(top);
            row.setVisible(true);
        }
    }
    for (int old = k + 1; old <= m_state.VisibleItems; ++old)
        for (int group = 0; group < 6; ++group)
            m_c.rowGroup(group).Unload(old);
    m_state.VisibleItems = qint16(k);
}

void SkinLoader::resetSignalBars()
{
    for (int i = 0; i < 3; ++i)
        DrawLevelBar(m_c.lblSignalBack(i), m_c.lblSignalFront(i), 0, 100, 0, m_c.lblSignalBack(i).Tag(),
                     QStringLiteral("Left"));
}

void SkinLoader::paintSkinnedAreas()
{
    const PictureArea& list = *m_c.pctSkinnableList;
    for (const auto& [area, paint] : m_c.skinnedAreas()) {
        switch (paint) {
        case SkinnedPaint::Up: PaintSkinnedControl(m_c, *area, StateUp, m_scale); break;
        case SkinnedPaint::InList:
            CopySurfacePiece(*m_c.pctUp, *area, list.Left() + area->Left(), list.Top() + area->Top(), m_scale);
            area->Refresh();
            break;
        }
    }
}

} // namespace skin
