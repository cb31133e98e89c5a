// The window's controls with a skin loader over a skin written for the test.
#pragma once

#include "skin/paintskinnedcontrol.h"
#include "skinnedform.h"
#include "testskin.h"

#include <QTemporaryDir>

// The test's folder comes before the form, which reads its skins from it.
struct TestSkinsFolder {
    QTemporaryDir folder;
};

struct SkinFixture : TestSkinsFolder, SkinnedForm {
    int populated = 0;
    bool muted = false;

    explicit SkinFixture(QSize window = {800, 480}, const testskin::Options& options = {})
        : SkinnedForm(folder.filePath("Skins"), QStringLiteral("Test"), window)
    {
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
