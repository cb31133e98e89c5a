// LoadSkin: applies the current skin to the window at its current size. It stretches the three
// state images into window-sized surfaces once, applies every key of radio_xm.ini in order,
// lays out the list's columns and as many rows as fit, and paints every skinned area.
#pragma once

#include "skin/controls.h"
#include "skin/radioxmcontrols.h"
#include "skin/skinfile.h"
#include "skin/windowstate.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QSemaphore>
#include <array>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace skin {

// Percent of an extent, in single precision: value / 100 x extent.
float Percent(float value, float extent);

// The skin's alignment names, compared exactly; other text leaves the alignment unchanged.
std::optional<Alignment> AlignmentFor(const QString& text);

// True only for "True" (any letter case) and -1; other text counts as false.
bool AllowsResize(const QString& text);

// A state image stretched to the window's surface size: bilinear, or averaged over the source
// pixels where it shrinks to less than half, so that thin lines and text stay clean.
QImage StretchToWindow(const QImage& picture, QSize size, qreal devicePixelRatio);

// The most rows the list makes beside row 0: more than any screen can show readably. A skin whose
// list would hold more (a huge height) gets this many, instead of a start-up that stalls.
inline constexpr int MaxListRows = 100;

// Rows of the list: the running tops of rows 1, 2, ... that fit wholly in the list's height,
// starting one row height down, each rounded half to even, at most maxRows of them. Row 0 lies
// at 0.
std::vector<float> RowTops(float rowHeight, float listHeight, int maxRows = MaxListRows);

// Decoded images kept across loads while their files stay the same (size and modification
// time), so that a reload after a resize only stretches.
class ImageCache {
public:
    // The decoded picture, or a SkinError naming the file and why it cannot be read.
    QImage load(const QString& path);
    // Same as load, for use from worker threads: never throws, reports the error instead.
    QImage tryLoad(const QString& path, QString* error);

private:
    struct Entry {
        qint64 size = -1;
        QDateTime modified;
        QImage image;
    };
    std::mutex m_lock;
    QHash<QString, Entry> m_entries;
};

// The three state images, decoded and stretched to the window on the worker threads. Started
// when a load begins and joined where the surfaces are needed; a failure to read an image is
// kept for the join.
class StateImageWork {
public:
    struct Result {
        QString path;
        QImage picture;
        QImage surface;
        QString error;
    };

    StateImageWork(ImageCache& cache, const QString& skinFolder, QSize size, qreal devicePixelRatio);
    ~StateImageWork();
    StateImageWork(const StateImageWork&) = delete;
    StateImageWork& operator=(const StateImageWork&) = delete;

    std::array<Result, 3>& join();

private:
    void decode(int i);

    ImageCache& m_cache;
    QSize m_size;
    qreal m_dpr;
    std::array<Result, 3> m_results;
    QSemaphore m_done;
    bool m_joined = false;
};

class SkinLoader {
public:
    struct Hooks {
        std::function<void()> PopulateList;
        std::function<bool()> VolumeMute;
    };

    SkinLoader(QWidget& form, RadioXMControls& controls, WindowState& state, const TwipsScale& scale,
               CursorDisplay& cursor, QString programFolder, Hooks hooks);
    ~SkinLoader();

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
    void loadStateSurfaces(StateImageWork& work);
    void placeButtons(const SkinFile& skin);
    void styleTextSections(const SkinFile& skin);
    void placeSignals(const SkinFile& skin);
    void placePresets(const SkinFile& skin);
    void loadThumbPictures(const SkinFile& skin);
    void placeTimeBar(const SkinFile& skin);
    void placeListFrame(const SkinFile& skin);
    void removeOldRows();
    void styleFirstRow(const SkinFile& skin);
    void stackRows();
    void resetSignalBars();
    void paintListBackgrounds();
    void paintSkinnedAreas();

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

    QWidget& m_form;
    RadioXMControls& m_c;
    WindowState& m_state;
    const TwipsScale& m_scale;
    CursorDisplay& m_cursor;
    QString m_programFolder;
    Hooks m_hooks;
    QString m_skinPath;
    ImageCache m_images;
};

} // namespace skin
