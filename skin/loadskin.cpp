#include "loadskin.h"
#include "skin/logging.h"

#include "base/basic.h"
#include "base/settingsfolder.h"
#include "skin/drawlevelbar.h"
#include "skin/paintskinnedcontrol.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
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

SkinLoader::SkinLoader(QWidget& form, RadioXMControls& controls, WindowState& state, const TwipsScale& scale,
                       CursorDisplay& cursor, QStringList skinFolders, Hooks hooks)
    : m_form(form)
    , m_c(controls)
    , m_state(state)
    , m_scale(scale)
    , m_cursor(cursor)
    , m_skinFolders(std::move(skinFolders))
    , m_hooks(std::move(hooks))
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
    const bool again = m_rowsShown && m_hooks.ShowAgain;
    try {
        releaseStateSurfaces();
        m_skinPath = skinFolder() + QLatin1String("/radio_xm.ini");
        // The state images decode on the worker threads while the skin file is read.
        const std::unique_ptr<StateImageWork> images = stateImages();
        if (!QFileInfo(m_skinPath).isFile())
            throw SkinError(QStringLiteral("The skin file %1 does not exist.").arg(m_skinPath));
        const SkinFile skin = ReadSkinFile(m_skinPath, modIni::IniDocument::fromFile(m_skinPath));
        readDesignSize(skin);
        m_c.imgBackground->Move(0, 0, windowWidth(), windowHeight());
        // A picture that is missing or not a picture stops the load before any control moves;
        // the decoding itself is joined only where the surfaces are painted.
        if (const QString unreadable = images->unreadable(); !unreadable.isEmpty())
            throw SkinError(unreadable);
        if (!m_state.ShowMouseCursor)
            m_cursor.ShowCursor(false);
        placeButtons(skin);
        styleTextSections(skin);
        placeSignals(skin);
        placePresets(skin);
        loadThumbPictures(skin);
        placeTimeBar(skin);
        placeListFrame(skin);
        styleFirstRow(skin);
        // Rows are stacked by their text's height. Held back until here at start-up, the labels
        // measure once, in the skin's fonts rather than in their design fonts first.
        m_c.textMeasure.release();
        stackRows();
        // The controls are laid out while the worker threads decode; painting needs the surfaces.
        loadStateSurfaces(*images);
        if (!again && m_hooks.PopulateList)
            m_hooks.PopulateList();
        resetSignalBars();
        paintSkinnedAreas(again);
        if (again)
            m_hooks.ShowAgain(*m_rowsShown);
    } catch (...) {
        // The window must not stay locked and deaf to resizes after a broken skin.
        m_state.LoadingSkin = false;
        lockWindowUpdate(false);
        throw;
    }
    m_rowsShown = m_state.VisibleItems;
    m_state.LoadingSkin = false;
    lockWindowUpdate(false);
    qCDebug(lcSkin) << "loaded" << m_skinPath << "at" << m_form.size() << "with" << m_state.VisibleItems + 1 << "rows";
}

void SkinLoader::lockWindowUpdate(bool locked)
{
    m_form.setUpdatesEnabled(!locked);
}

void SkinLoader::readDesignSize(const SkinFile& skin)
{
    const auto designTwips = [this](const char* key, qint32 pixels, float perPixel) {
        const std::optional<qint16> twips = basic::CInt(double(pixels) * double(perPixel));
        if (!twips)
            throw SkinError(QStringLiteral("The skin file %1, section [General], key %2: %3 pixels is too large.")
                                .arg(m_skinPath, QLatin1String(key))
                                .arg(pixels));
        return *twips;
    };
    m_state.SkinDesignWidth = designTwips("DefaultWidth", skin.DefaultWidth, m_scale.x);
    m_state.SkinDesignHeight = designTwips("DefaultHeight", skin.DefaultHeight, m_scale.y);
    if (m_state.SkinDesignHeight == 0)
        throw SkinError(
            QStringLiteral("The skin file %1, section [General]: DefaultHeight is missing or 0.").arg(m_skinPath));
    m_state.FontScale = windowHeight() / float(m_state.SkinDesignHeight);
}

void SkinLoader::releaseStateSurfaces()
{
    // A load must not hold two skins' pictures at once (50 MB at full HD). Nobody sees the areas
    // let go of the old ones: the window's updates are locked until they are painted again.
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

void SkinLoader::loadStateSurfaces(StateImageWork& work)
{
    PictureArea* loadAreas[3] = {m_c.pctUpLoad.get(), m_c.pctDownLoad.get(), m_c.pctOnLoad.get()};
    PictureArea* surfaces[3] = {m_c.pctUp.get(), m_c.pctDown.get(), m_c.pctOn.get()};
    for (int i = 0; i < 3; ++i) {
        StateImageWork::Result& result = work.join(i);
        if (!result.error.isEmpty())
            throw SkinError(result.error);
        // The load area takes the picture's own size; only the window-sized surface is kept.
        loadAreas[i]->setWidth(float(result.pictureSize.width()) * m_scale.x);
        loadAreas[i]->setHeight(float(result.pictureSize.height()) * m_scale.y);
        // The surface first: placing the area then finds it already at the window's size.
        surfaces[i]->setSurface(std::move(result.surface));
        surfaces[i]->Move(0, 0, windowWidth(), windowHeight());
        surfaces[i]->Refresh();
    }
}

void SkinLoader::placeButtons(const SkinFile& skin)
{
    PictureArea* buttons[ButtonCount] = {m_c.cmdExit.get(), m_c.cmdVolumeMute.get(), m_c.cmdTune.get(),
                                         m_c.cmdVolumeDown.get(), m_c.cmdVolumeUp.get()};
    for (int i = 0; i < ButtonCount; ++i)
        place(*buttons[i], QString::fromLatin1(ButtonSectionNames[size_t(i)]), skin.buttons[size_t(i)], windowWidth(),
              windowHeight());
}

void SkinLoader::styleTextSections(const SkinFile& skin)
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
        const TextSection& section = skin.texts[size_t(i)];
        Label& label = *styleTargets[i];
        if (i == 0) {
            // The artist-title line sizes itself inside its clipping area.
            place(*m_c.pctArtistTrackTitle, section.name, section.geometry, windowWidth(), windowHeight());
            label.setLeft(0);
            label.setTop(0);
        } else
            place(label, section.name, section.geometry, windowWidth(), windowHeight());
        const float points = fontPoints(section.name, section.font);
        label.setForeColor(colour(section.name, "FontColour", section.FontColour));
        if (section.name == QLatin1String("Volume"))
            m_state.VolumeSuffix = section.extra;
        else if (section.name == QLatin1String("Time"))
            m_state.TimeFormat = section.extra;
        else if (section.name == QLatin1String("Date"))
            m_state.DateFormat = section.extra;
        if (const auto alignment = AlignmentFor(section.Align))
            label.setAlignment(*alignment);
        applyFont(label, section.name, section.font, points, section.switches);
    }
}

void SkinLoader::placeSignals(const SkinFile& skin)
{
    for (int i = 0; i < 3; ++i) {
        const SignalSection& section = skin.signalBars[size_t(i)];
        Label& back = m_c.lblSignalBack(i);
        place(back, section.name, section.geometry, windowWidth(), windowHeight());
        back.setBackColor(colour(section.name, "FontColour", section.FontColour));
        back.setTag(section.Orientation);
        m_c.lblSignalFront(i).setBackColor(colour(section.name, "StatusColour", section.StatusColour));
    }
}

void SkinLoader::placePresets(const SkinFile& skin)
{
    for (int i = 0; i < 3; ++i) {
        const PresetSection& section = skin.presets[size_t(i)];
        PictureArea& button = m_c.cmdPreset(i);
        Label& label = m_c.lblPreset(i);
        place(button, section.name, section.button, windowWidth(), windowHeight());
        // A preset's caption is placed in percent of its own button.
        place(label, section.labelName, section.label, button.Width(), button.Height());
        const float points = fontPoints(section.labelName, section.font);
        m_state.PresetColour[size_t(i)] = {double(section.UpColour), double(section.DownColour),
                                           double(section.OnColour)};
        if (section.BackColour < 0)
            label.setBackStyle(BackStyle::Transparent);
        else {
            label.setBackStyle(BackStyle::Opaque);
            label.setBackColor(Colour(section.BackColour));
        }
        if (const auto alignment = AlignmentFor(section.Align))
            label.setAlignment(*alignment);
        applyFont(label, section.labelName, section.font, points, section.switches);
        label.setForeColor(colour(section.labelName, "UpColour", float(m_state.PresetColour[size_t(i)][0])));
    }
}

QString SkinLoader::imagePath(const QString& name) const
{
    return skinFolder() + QLatin1String("/Images/") + name;
}

QImage SkinLoader::loadPicture(const QString& name) const
{
    const QString path = imagePath(name);
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull()) {
        const QString error = QStringLiteral("The skin image %1 cannot be read: %2.").arg(path, reader.errorString());
        qCWarning(lcSkin).noquote() << error;
        throw SkinError(error);
    }
    return picture;
}

void SkinLoader::loadThumbPictures(const SkinFile& skin)
{
    m_c.pctScrollImageUp->setPicture(loadPicture(skin.playlist.SliderUpImage));
    m_c.pctScrollImageDown->setPicture(loadPicture(skin.playlist.SliderDownImage));
    m_c.pctScroll->setPicture(m_c.pctScrollImageUp->Picture());
    m_c.pctTimeScrollImageUp->setPicture(loadPicture(skin.timeSlider.SliderUpImage));
    m_c.pctTimeScrollImageDown->setPicture(loadPicture(skin.timeSlider.SliderDownImage));
    m_c.pctTimeScroll->setPicture(m_c.pctTimeScrollImageUp->Picture());
}

void SkinLoader::placeTimeBar(const SkinFile& skin)
{
    const QString section = QStringLiteral("TimeSlider");
    const TimeSliderSection& s = skin.timeSlider;
    place(*m_c.pctTimeScrollBar, section, s.bar, windowWidth(), windowHeight());
    m_c.pctTimeScroll->setHeight(Percent(number(section, "SliderHeight", s.SliderHeight), windowHeight()));
    m_c.pctTimeScroll->setWidth(Percent(number(section, "SliderWidth", s.SliderWidth), windowWidth()));
    m_c.pctTimeScroll->setTop(0);
}

void SkinLoader::placeListFrame(const SkinFile& skin)
{
    const QString section = QStringLiteral("CurrentPlaylist");
    const PlaylistSection& s = skin.playlist;
    const float w = windowWidth(), h = windowHeight();
    place(*m_c.pctSkinnableList, section, s.list, w, h);
    place(*m_c.pctScrollBar, section, s.sliderArea, w, h);
    m_c.pctScroll->setWidth(Percent(number(section, "SliderWidth", s.SliderWidth), w));
    m_c.pctScroll->setHeight(Percent(number(section, "SliderHeight", s.SliderHeight), h));
    m_c.pctScroll->setTop(0);
    m_c.pctScroll->setLeft(0);
    place(*m_c.pctScrollUp, section, s.scrollUp, w, h);
    place(*m_c.pctScrollDown, section, s.scrollDown, w, h);
}

void SkinLoader::styleFirstRow(const SkinFile& skin)
{
    const QString section = QStringLiteral("CurrentPlaylist");
    const PlaylistSection& s = skin.playlist;
    const float listWidth = m_c.pctSkinnableList->Width();
    for (int group = 0; group < 6; ++group) {
        Label& first = m_c.rowGroup(group)(0);
        const float points = fontPoints(section, s.font);
        first.setForeColor(colour(section, "FontColour", s.FontColour));
        first.setBackColor(colour(section, "SelectedBackColour", s.SelectedBackColour));
        applyFont(first, section, s.font, points, s.switches);
        if (group > 0) {
            const int column = group - 1;
            m_c.listColumn(column).Move(ColumnLeft[column] * listWidth, 0, ColumnWidth[column] * listWidth,
                                        m_c.pctSkinnableList->Height());
        }
        first.setLeft(0);
        first.setTop(0);
        first.setBackStyle(BackStyle::Transparent);
    }
}

void SkinLoader::stackRows()
{
    // One top more than the rows below row 0 may have, to tell a list that has room for more.
    const size_t belowFirst = size_t(MaxListRows - 1);
    std::vector<float> tops = RowTops(m_c.lblListItem0(0).Height(), m_c.pctSkinnableList->Height(), MaxListRows);
    if (tops.size() > belowFirst) {
        qCWarning(lcSkin).noquote() << QStringLiteral(
                                           "The skin file %1, section [CurrentPlaylist], key Height: the list "
                                           "has room for more than %2 rows; it gets %2.")
                                           .arg(m_skinPath)
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

void SkinLoader::paintSkinnedAreas(bool again)
{
    const PictureArea& list = *m_c.pctSkinnableList;
    for (const auto& [area, paint] : m_c.skinnedAreas()) {
        switch (paint) {
        case SkinnedPaint::Up: PaintSkinnedControl(m_c, *area, StateUp, m_scale); break;
        case SkinnedPaint::InList:
            CopySurfacePiece(*m_c.pctUp, *area, list.Left() + area->Left(), list.Top() + area->Top(), m_scale);
            area->Refresh();
            break;
        case SkinnedPaint::Mute:
            if (!again)
                PaintSkinnedControl(m_c, *area, m_hooks.VolumeMute && m_hooks.VolumeMute() ? StateOn : StateUp,
                                    m_scale);
            break;
        }
    }
}

// --- conversions of skin values --------------------------------------------------------------

float SkinLoader::number(const QString& section, const char* key, const QString& text) const
{
    const std::optional<float> value = basic::CSng(text);
    if (!value)
        throw SkinError(QStringLiteral("The skin file %1, section [%2], key %3: \"%4\" is not a number.")
                            .arg(m_skinPath, section, QLatin1String(key), text));
    return *value;
}

bool SkinLoader::switchValue(const QString& section, const char* key, const QString& text) const
{
    const std::optional<bool> value = basic::CBool(text);
    if (!value)
        throw SkinError(QStringLiteral("The skin file %1, section [%2], key %3: \"%4\" is not True or False.")
                            .arg(m_skinPath, section, QLatin1String(key), text));
    return *value;
}

Colour SkinLoader::colour(const QString& section, const char* key, float value) const
{
    const std::optional<qint32> rounded = basic::CLng(double(value));
    if (!rounded)
        throw SkinError(QStringLiteral("The skin file %1, section [%2], key %3: %4 is not a colour.")
                            .arg(m_skinPath, section, QLatin1String(key))
                            .arg(double(value)));
    return Colour(quint32(*rounded));
}

void SkinLoader::place(Control& control, const QString& section, const GeometryKeys& keys, float width,
                       float height) const
{
    control.setLeft(Percent(number(section, "Left", keys.Left), width));
    control.setTop(Percent(number(section, "Top", keys.Top), height));
    control.setWidth(Percent(number(section, "Width", keys.Width), width));
    control.setHeight(Percent(number(section, "Height", keys.Height), height));
}

float SkinLoader::fontPoints(const QString& section, const FontKeys& keys) const
{
    const float points = number(section, "FontSize", keys.FontSize);
    return AllowsResize(keys.AllowResize) ? points * m_state.FontScale : points;
}

void SkinLoader::applyFont(Label& label, const QString& section, const FontKeys& keys, float points,
                           const SwitchKeys& switches) const
{
    const bool bold = switchValue(section, "Bold", switches.Bold);
    const bool italic = switchValue(section, "Italic", switches.Italic);
    const bool underline = switchValue(section, "Underlined", switches.Underlined);
    label.setFont(keys.Font, points, bold, italic, underline);
}

} // namespace skin
