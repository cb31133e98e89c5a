// Font availability check of a skin's text styles.
#include "fontcheck.h"

#include "logging.h"

#include <QFontDatabase>

namespace skinmaker {

namespace {

QStringList usedFamilies(const SkinDescription& skin)
{
    QStringList families;
    for (const TextElement& text : skin.texts)
        families << text.style.font;
    for (const Preset& preset : skin.presets)
        families << preset.label.style.font;
    families << skin.list.rowStyle.font;
    families.removeDuplicates();
    return families;
}

} // namespace

QStringList missingFonts(const SkinDescription& skin)
{
    QStringList missing;
    for (const QString& family : usedFamilies(skin)) {
        if (!QFontDatabase::hasFamily(family)) {
            qCWarning(lcSkinMaker).noquote() << "font" << family << "is not installed; a substitute is drawn";
            missing << family;
        }
    }
    return missing;
}

} // namespace skinmaker
