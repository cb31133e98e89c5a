// The window's controls on a plain form, with a skin loader over the build's default skins
// (VANTO_PROGRAM_DIR/Skins): for the tests and benchmarks that look at a skin without the rest
// of the window. Nothing is loaded or shown until the caller does it.
#pragma once

#include "skin/loadskin.h"

#include <QWidget>

struct SkinnedForm {
    QWidget form;
    skin::TwipsScale scale;
    skin::RadioXMControls c{&form, scale};
    skin::WindowState state;
    skin::CursorDisplay cursor;
    skin::SkinLoader loader;

    SkinnedForm(const QString& skinName, QSize size)
        : loader(form, c, state, scale, cursor, {QStringLiteral(VANTO_PROGRAM_DIR "/Skins")})
    {
        form.resize(size);
        state.CurrentSkin = skinName;
        state.ShowMouseCursor = true;
    }
};
