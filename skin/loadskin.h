// LoadSkin: applies the current skin to the window at its current size. It decodes the three
// state images straight into window-sized surfaces, applies every key of radio_xm.ini in order,
// lays out the list's columns and as many rows as fit, and paints every skinned area.
#pragma once

#include "skin/controls.h"
#include "skin/radioxmcontrols.h"
#include "skin/skinfile.h"
#include "skin/windowstate.h"

#include <QImage>
#include <QSemaphore>
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

// A state image stretched to the window's surface size: bilinear, or averaged over the source
// pixels where it shrinks to less than half, so that thin lines and text stay clean.
QImage StretchToWindow(const QImage& picture, QSize size, qreal devicePixelRatio);

// True where a stretch from picture to size is bilinear: it shrinks to no less than half.
bool StretchesBilinearly(QSize picture, QSize size);

// The size a JPEG picture is best decoded at for a surface of the given size: the smallest of
// a half, a quarter or an eighth of the picture that still covers the surface, or the picture's
// own size. The decoder makes these reductions at a fraction of a full decode's cost; any other
// reduction (7/8, 3/4, ...) costs it more than a full decode and a stretch, and looks softer.
QSize JpegDecodeSize(QSize picture, QSize size);

// A skin image at the given size in device pixels, as RGB32 at the given pixel density, whatever
// the file holds: a JPEG is decoded at its JpegDecodeSize and stretched from there only if that
// is not the size already, band by band as it decodes unless it shrinks to less than half. Sets
// pictureSize to the file's own size, read from its header. A file that cannot be read gives a
// null image and an error naming the file.
QImage DecodeAtSize(const QString& path, QSize size, qreal devicePixelRatio, QSize* pictureSize, QString* error);

// The most rows the list makes, row 0 included: more than any screen can show readably. A skin
// whose list would hold more (a huge height) gets this many, instead of a start-up that stalls.
inline constexpr int MaxListRows = 100;

// Rows of the list: the running tops of rows 1, 2, ... that fit wholly in the list's height,
// starting one row height down, each rounded half to even, at most maxRows of them. Row 0 lies
// at 0.
std::vector<float> RowTops(float rowHeight, float listHeight, int maxRows = MaxListRows - 1);

// The three state images (0 up, 1 down, 2 on), decoded at the window's size on the worker
// threads. Started when a load begins; each state's result is joined where it is needed, on its
// own. A failure to read an image is kept for its join.
class StateImageWork {
public:
    struct Result {
        QString path;
        // The file's own size.
        QSize pictureSize;
        QImage surface;
        QString error;
    };

    // Starts nothing yet: each state starts with start() or with its join.
    StateImageWork(const QString& skinFolder, QSize size, qreal devicePixelRatio);
    ~StateImageWork();
    StateImageWork(const StateImageWork&) = delete;
    StateImageWork& operator=(const StateImageWork&) = delete;

    void start(int state);
    // Starts every state not started yet, in the order they are needed: up, down, on.
    void startAll();
    // Waits for the decode of one state only.
    Result& join(int state);
    bool isFor(const QString& skinFolder, QSize size, qreal devicePixelRatio) const;
    // Why the first of the files cannot be read, from their headers alone; empty when all can.
    QString unreadable() const;

private:
    void decode(int state);

    QString m_folder;
    QSize m_size;
    qreal m_dpr;
    std::array<Result, 3> m_results;
    std::array<QSemaphore, 3> m_done;
    std::array<bool, 3> m_started{};
    std::array<bool, 3> m_joined{};
};

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
    void paintListBackgrounds();
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
