// LoadSkin: applies the current skin to the window at its current size. It decodes the three
// state images straight into window-sized surfaces, applies every key of radio_xm.ini in order,
// lays out the list's columns and as many rows as fit, and paints every skinned area.
#pragma once

#include "skin/controls.h"
#include "skin/label.h"
#include "skin/picturearea.h"
#include "skin/radioxmcontrols.h"
#include "skin/skinfile.h"
#include "skin/stateimages.h"
#include "skin/windowstate.h"

#include <QImage>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace skin {

// Percent of an extent, in single precision: value / 100 x extent.
float Percent(float value, float extent);

// The skin's alignment names, compared exactly; other text leaves the alignment unchanged.
std::optional<Alignment> AlignmentFor(const QString& text);

// True only for "True" (any letter case) and -1; other text counts as false.
bool AllowsResize(const QString& text);

// The most rows the list makes, row 0 included: more than any screen can show readably. A skin
// whose list would hold more (a huge height) gets this many, instead of a start-up that stalls.
inline constexpr int MaxListRows = 100;

// Rows of the list: the running tops of rows 1, 2, ... that fit wholly in the list's height,
// starting one row height down, each rounded half to even, at most maxRows of them. Row 0 lies
// at 0.
std::vector<float> RowTops(float rowHeight, float listHeight, int maxRows = MaxListRows - 1);

class SkinLoader {
public:
    struct Hooks {
        // The first load fills the list from its first channel and shows the mixer's master mute
        // on the mute button.
        std::function<void()> PopulateList;
        std::function<bool()> VolumeMute;
        // Every later load ends with this instead, still behind the update lock, so that the
        // window shows what it showed before the load; rowsBefore is the last row the list had.
        std::function<void(qint16 rowsBefore)> ShowAgain;
    };

    SkinLoader(QWidget& form, RadioXMControls& controls, WindowState& state, const TwipsScale& scale,
               CursorDisplay& cursor, QStringList skinFolders, Hooks hooks);
    ~SkinLoader();

    // The current skin's up picture at the window's size, decoded ahead of the next load, which
    // then uses it: the window can show the skin before the load lays out its controls. Null
    // when it cannot be read; the load reports why.
    QImage FirstPicture();

    // Loads the skin named by CurrentSkin. A failure stops the load at the failing step, releases
    // the update lock, clears LoadingSkin and is passed on as a SkinError.
    void LoadSkin();

    QString skinFolder() const;

private:
    float windowWidth() const;
    float windowHeight() const;
    QSize surfaceSize() const;

    void lockWindowUpdate(bool locked);
    void readDesignSize(const SkinFile& skin);
    void releaseStateSurfaces();
    // The state images' work for this load: the one begun by FirstPicture when it fits.
    std::unique_ptr<StateImageWork> stateImages();
    void loadStateSurfaces(StateImageWork& work);
    void placeButtons(const SkinFile& skin);
    void styleTextSections(const SkinFile& skin);
    void placeSignals(const SkinFile& skin);
    void placePresets(const SkinFile& skin);
    void loadThumbPictures(const SkinFile& skin);
    void placeTimeBar(const SkinFile& skin);
    void placeListFrame(const SkinFile& skin);
    void styleFirstRow(const SkinFile& skin);
    void stackRows();
    void resetSignalBars();
    void paintSkinnedAreas(bool again);

    // Conversions of skin values, failing with a message that names the section and key.
    float number(const QString& section, const char* key, const QString& text) const;
    bool switchValue(const QString& section, const char* key, const QString& text) const;
    Colour colour(const QString& section, const char* key, float value) const;
    void place(Control& control, const QString& section, const GeometryKeys& keys, float width, float height) const;
    // The font size in points, scaled with the window where the skin allows it.
    float fontPoints(const QString& section, const FontKeys& keys) const;
    // The font and its switches, set in one step once every value has converted.
    void applyFont(Label& label, const QString& section, const FontKeys& keys, float points,
                   const SwitchKeys& switches) const;
    QString imagePath(const QString& name) const;
    // A picture of the skin's Images folder, decoded as it is, or a SkinError naming the file.
    QImage loadPicture(const QString& name) const;

    QWidget& m_form;
    RadioXMControls& m_c;
    WindowState& m_state;
    const TwipsScale& m_scale;
    CursorDisplay& m_cursor;
    QStringList m_skinFolders; // the Skins folders a skin is looked up in, in order
    Hooks m_hooks;
    QString m_skinPath;
    std::unique_ptr<StateImageWork> m_imagesAhead;
    // The last row of the list after the last load that ended well; none before the first.
    std::optional<qint16> m_rowsShown;
};

} // namespace skin
