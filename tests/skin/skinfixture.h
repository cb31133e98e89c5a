// A window's controls with a skin loader over a skin written for the test.
#pragma once

#include "skin/loadskin.h"
#include "skin/paintskinnedcontrol.h"
#include "testskin.h"

#include <QTemporaryDir>
#include <QWidget>

struct SkinFixture {
    QTemporaryDir folder;
    QWidget form;
    skin::TwipsScale scale;
    skin::RadioXMControls c{&form, scale};
    skin::CursorDisplay cursor;
    int populated = 0;
    bool muted = false;
    skin::SkinLoader loader{form, c, scale, cursor, {folder.filePath("Skins")}};
    const skin::SkinState& state = loader.state();

    explicit SkinFixture(QSize window = {800, 480}, const testskin::Options& options = {})
    {
        form.resize(window);
        loader.setCurrentSkin("Test");
        loader.setShowMouseCursor(true);
        testskin::writeSkin(skinFolder(), options);
        // Every skin applied fills the list and shows the mixer's mute, as a window's first does.
        QObject::connect(&loader, &skin::SkinLoader::skinApplied, [this] {
            ++populated;
            PaintSkinnedControl(c, *c.cmdVolumeMute, muted ? skin::StateOn : skin::StateUp, scale);
        });
    }
    QString skinFolder() const { return folder.filePath("Skins/Test"); }
    void rewrite(const testskin::Options& options) { testskin::writeSkin(skinFolder(), options); }
};
