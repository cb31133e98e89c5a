// The window's controls on a plain form, with a skin loader over a folder of skins: the build's
// default skins (VANTO_PROGRAM_DIR/Skins) or a test's own. For the tests and benchmarks that look
// at a skin without the rest of the window; the benchmarks use it without GoogleTest. Nothing is
// loaded or shown until the caller does it.
#pragma once

#include "skin/loadskin.h"

#include <QWidget>

struct SkinnedForm {
    QWidget form;
    skin::TwipsScale scale;
    skin::RadioXMControls c{&form, scale};
    skin::CursorDisplay cursor;
    skin::SkinLoader loader;
    const skin::SkinState& state;

    SkinnedForm(const QString& skinName, QSize size)
        : SkinnedForm(QStringLiteral(VANTO_PROGRAM_DIR "/Skins"), skinName, size)
    {
    }
    SkinnedForm(const QString& skinsFolder, const QString& skinName, QSize size)
        : loader(form, c, scale, cursor, {skinsFolder})
        , state(loader.state())
    {
        form.resize(size);
        loader.setCurrentSkin(skinName);
        loader.setShowMouseCursor(true);
    }
};
