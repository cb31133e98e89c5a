// The image size argument of the skin maker, written "WxH".
#pragma once

#include <QSize>
#include <QString>
#include <optional>

namespace skinmaker {

inline constexpr QSize DefaultImageSize{1600, 960};

// "1600x960" (or with a capital X); both sides from 1 to 8192 pixels. Anything else: nothing.
std::optional<QSize> parseImageSize(const QString& text);

} // namespace skinmaker
