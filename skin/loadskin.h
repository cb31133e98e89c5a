// LoadSkin: the current skin on the window at its current size. It first reads the skin aside
// (readskin.h): every key of radio_xm.ini converted, the three state images decoded straight into
// window-sized surfaces. Only a skin read whole is applied, in one step: the controls take its
// values and pictures, the list its columns and as many rows as fit, and every skinned area is
// painted. A skin that fails to read leaves the one on screen as it was.
#pragma once

#include "skin/controls.h"
#include "skin/label.h"
#include "skin/loadedskin.h"
#include "skin/picturearea.h"
#include "skin/radioxmcontrols.h"
#include "skin/readskin.h"
#include "skin/skinfile.h"
#include "skin/skinstate.h"
#include "skin/stateimages.h"

#include <QImage>
#include <QObject>
#include <QStringList>
#include <array>
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

class SkinLoader : public QObject {
    Q_OBJECT
public:
    SkinLoader(QWidget& form, RadioXMControls& controls, const TwipsScale& scale, CursorDisplay& cursor,
               QStringList skinFolders);
    ~SkinLoader() override;

    // The current skin's up picture at the window's size, decoded ahead of the next load, which
    // then uses it: the window can show the skin before the load lays out its controls. Null
    // when it cannot be read; the load reports why.
    QImage FirstPicture();

    // Loads the skin named by CurrentSkin: reads it aside, then applies it and says so with
    // skinApplied. A skin that fails to read is passed on as a SkinError, with the window's skin,
    // the update lock and LoadingSkin as they were before.
    void LoadSkin();

    QString skinFolder() const;

    const SkinState& state() const { return m_state; }
    // The skin the next load reads.
    void setCurrentSkin(const QString& name) { m_state.CurrentSkin = name; }
    // Whether a skin applied leaves the pointer shown (the appearance's ShowMouseCursor).
    void setShowMouseCursor(bool shown) { m_showMouseCursor = shown; }

signals:
    // A skin is on the controls, and the window's updates are still locked: each part shows
    // itself again. again is false for the first skin applied, when the list is filled from its
    // first channel; rowsBefore is the last row the list had before this skin.
    void skinApplied(bool again, qint16 rowsBefore);

private:
    float windowWidth() const;
    float windowHeight() const;
    QSize surfaceSize() const;

    void lockWindowUpdate(bool locked);
    // The state images' work for this load: the one begun by FirstPicture when it fits.
    std::unique_ptr<StateImageWork> stateImages();
    // Moves the skin's values and pictures onto the controls and the window's state. It cannot
    // fail: every value converted and every picture loaded when the skin was read.
    void ApplySkin(LoadedSkin& skin);
    void releaseStateSurfaces();
    void applyStateSurfaces(LoadedSkin& skin);
    void placeButtons(const LoadedSkin& skin);
    void styleTextSections(const LoadedSkin& skin);
    void placeSignals(const LoadedSkin& skin);
    void placePresets(const LoadedSkin& skin);
    void applyThumbPictures(LoadedSkin& skin);
    void placeTimeBar(const TimeBarStyle& style);
    void placeListFrame(const ListStyle& style);
    void styleFirstRow(const ListStyle& style);
    void stackRows(const QString& skinPath);
    void resetSignalBars();
    void paintSkinnedAreas();

    QWidget& m_form;
    RadioXMControls& m_c;
    SkinState m_state;
    bool m_showMouseCursor = false;
    const TwipsScale& m_scale;
    CursorDisplay& m_cursor;
    QStringList m_skinFolders; // the Skins folders a skin is looked up in, in order
    std::unique_ptr<StateImageWork> m_imagesAhead;
    // The last row of the list after the last skin applied; none before the first.
    std::optional<qint16> m_rowsShown;
};

} // namespace skin
