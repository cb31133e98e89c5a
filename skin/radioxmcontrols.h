// Every control of the main window, by its fixed name, with its kind, container, index and
// design-time values, before any skin is applied. The skin loader later moves, sizes, colours
// and paints almost all of them; the design values matter where no skin value replaces them.
#pragma once

#include "skin/controls.h"
#include "skin/label.h"
#include "skin/picturearea.h"

#include <memory>
#include <vector>

namespace skin {

// How a skin change shows a skinned area: the piece of the up surface that lies under it.
enum class SkinnedPaint {
    // An area in the window or in the background, which covers the window from its top left
    // corner: its Left and Top are its place in the window.
    Up,
    // A column of the list: it lies at its Left and Top inside the list.
    InList,
};

struct SkinnedArea {
    PictureArea* area;
    SkinnedPaint paint;
};

struct RadioXMControls {
    // First: every label of the window measures through it, to its end.
    TextMeasure textMeasure;

    // With measureAfterFirstPicture, auto-sized labels wait for textMeasure's release before
    // they measure their text (the window shows its first picture before it needs the fonts).
    RadioXMControls(QWidget* form, const TwipsScale& scale, bool measureAfterFirstPicture = false);
    ~RadioXMControls();

    // The channel table's list control: not laid out by the skin and not shown; the skinned
    // list shows its contents.
    std::unique_ptr<Control> lv;

    std::unique_ptr<PictureArea> imgBackground;
    std::unique_ptr<Control> txtDebug;
    std::unique_ptr<PictureArea> cmdTune;
    ControlArray<PictureArea> cmdPreset;
    ControlArray<Label> lblPreset;
    std::unique_ptr<PictureArea> pctArtistTrackTitle;
    std::unique_ptr<Label> lblArtistTrackTitle;
    std::unique_ptr<PictureArea> pctTimeScrollBar;
    std::unique_ptr<ImageControl> pctTimeScrollImageUp;
    std::unique_ptr<ImageControl> pctTimeScrollImageDown;
    std::unique_ptr<ImageControl> pctTimeScroll;
    std::unique_ptr<PictureArea> pctScrollBar;
    std::unique_ptr<ImageControl> pctScroll;
    std::unique_ptr<ImageControl> pctScrollImageUp;
    std::unique_ptr<ImageControl> pctScrollImageDown;
    std::unique_ptr<PictureArea> pctScrollDown;
    std::unique_ptr<PictureArea> pctScrollUp;
    std::unique_ptr<PictureArea> cmdExit;
    std::unique_ptr<PictureArea> cmdVolumeUp;
    std::unique_ptr<PictureArea> cmdVolumeDown;
    std::unique_ptr<PictureArea> cmdVolumeMute;
    std::unique_ptr<PictureArea> pctSkinnableList;
    std::unique_ptr<PictureArea> pctListItem4;
    ControlArray<Label> lblListItem4;
    std::unique_ptr<PictureArea> pctListItem3;
    ControlArray<Label> lblListItem3;
    std::unique_ptr<PictureArea> pctListItem2;
    ControlArray<Label> lblListItem2;
    std::unique_ptr<PictureArea> pctListItem1;
    ControlArray<Label> lblListItem1;
    std::unique_ptr<PictureArea> pctListItem0;
    ControlArray<Label> lblListItem0;
    ControlArray<Label> lblListItem;
    ControlArray<Label> lblSignalBack;
    ControlArray<Label> lblSignalFront;
    std::unique_ptr<Label> lblGPSSatellites;
    std::unique_ptr<Label> lblGPSSpeed;
    std::unique_ptr<Label> lblSpeedCam;
    std::unique_ptr<Label> lblFullArtistTrackTitle;
    std::unique_ptr<Label> lblTotalTrackTime;
    std::unique_ptr<Label> lblCurrentPos;
    std::unique_ptr<Label> lblCC;
    std::unique_ptr<Label> lblStation;
    std::unique_ptr<Label> lblArtist;
    std::unique_ptr<Label> lblTrackTitle;
    std::unique_ptr<Label> lblGenre;
    std::unique_ptr<Label> lblVolume;
    std::unique_ptr<Label> lblTime;
    std::unique_ptr<Label> lblDate;
    std::unique_ptr<PictureArea> pctOn;
    std::unique_ptr<PictureArea> pctOnLoad;
    std::unique_ptr<PictureArea> pctDownLoad;
    std::unique_ptr<PictureArea> pctUpLoad;
    std::unique_ptr<PictureArea> pctUp;
    std::unique_ptr<PictureArea> pctDown;

    Timer tmrResize;
    Timer tmrLoad;
    Timer tmrUpdates;
    Timer tmrHighlightListItem;
    Timer tmrSavePreset;
    Timer tmrUpdateListing;
    Timer tmrButtonPressed;

    // The six row label groups of the list, in the order the list paints them: the row
    // background first, then columns 0 to 4.
    ControlArray<Label>& rowGroup(int group);
    // The column containers 0 to 4.
    PictureArea& listColumn(int column);
    // Every picture area that shows a piece of the skin's state surfaces, with how a skin change
    // shows it, in the order a load paints them: the list before its columns, then the rest. The
    // one list a skin change walks, to let go of the old skin's surfaces and to paint the new.
    std::vector<SkinnedArea> skinnedAreas();
};

} // namespace skin
