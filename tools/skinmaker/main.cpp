// vanto-skinmaker: draws a default skin (day or night colours, classic or drive layout) and writes
// it as a skin folder, with an optional preview picture of the skin as the program would show it.
#include "tools/skinmaker/appicon.h"
#include "tools/skinmaker/fontcheck.h"
#include "tools/skinmaker/imagesize.h"
#include "tools/skinmaker/palette.h"
#include "tools/skinmaker/skindescription.h"
#include "tools/skinmaker/skinpreview.h"
#include "tools/skinmaker/skinwriter.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>

namespace {

int failWith(const QString& message)
{
    std::fprintf(stderr, "vanto-skinmaker: %s\n", qPrintable(message));
    return 1;
}

void setUpOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Draws a skin of the XM radio program and writes its folder: "
                                                    "radio_xm.ini and the Images folder."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("palette"), QStringLiteral("Colours of the skin: day or night."),
                      QStringLiteral("day|night"), QStringLiteral("day")});
    parser.addOption({QStringLiteral("layout"),
                      QStringLiteral("Layout of the skin: classic (ten list rows) or drive (four rows, large texts "
                                     "and buttons for a 7-inch panel while driving)."),
                      QStringLiteral("classic|drive"), QStringLiteral("classic")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("Skin folder to write (created when missing)."),
                      QStringLiteral("folder")});
    parser.addOption({QStringLiteral("size"), QStringLiteral("Pixel size of the images, default 1600x960."),
                      QStringLiteral("WxH"), QStringLiteral("1600x960")});
    parser.addOption({QStringLiteral("preview"),
                      QStringLiteral("Also write a PNG picture of the skin with sample texts."),
                      QStringLiteral("png")});
    parser.addOption({QStringLiteral("icon"),
                      QStringLiteral("Write the program's 256 x 256 icon in the palette's colours instead of a skin."),
                      QStringLiteral("png")});
}

} // namespace

int main(int argc, char** argv)
{
    // The tool only paints into images; it needs no display, also when run by the build.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vanto-skinmaker"));

    QCommandLineParser parser;
    setUpOptions(parser);
    parser.process(app);

    const std::optional<skinmaker::Palette> palette = skinmaker::paletteByName(parser.value(QStringLiteral("palette")));
    if (!palette)
        return failWith(QStringLiteral("unknown palette \"%1\": use day or night").arg(parser.value("palette")));
    const std::optional<skinmaker::Layout> layout = skinmaker::layoutByName(parser.value(QStringLiteral("layout")));
    if (!layout)
        return failWith(QStringLiteral("unknown layout \"%1\": use classic or drive").arg(parser.value("layout")));
    const QString icon = parser.value(QStringLiteral("icon"));
    if (!icon.isEmpty()) {
        QString error;
        if (!skinmaker::writeImage(skinmaker::drawAppIcon(*palette, 256), icon, &error))
            return failWith(error);
        return 0;
    }
    const std::optional<QSize> size = skinmaker::parseImageSize(parser.value(QStringLiteral("size")));
    if (!size)
        return failWith(QStringLiteral("bad size \"%1\": use WxH, for example 1600x960").arg(parser.value("size")));
    const QString out = parser.value(QStringLiteral("out"));
    if (out.isEmpty())
        return failWith(QStringLiteral("no skin folder given: use --out <folder>"));

    const skinmaker::SkinDescription skin = skinmaker::describeSkin(*palette, *layout);
    skinmaker::missingFonts(skin);
    const skinmaker::SkinImages images = skinmaker::renderSkin(skin, *size);
    QString error;
    if (!skinmaker::writeSkinFolder(skin, images, out, &error))
        return failWith(error);
    const QString preview = parser.value(QStringLiteral("preview"));
    if (!preview.isEmpty() && !skinmaker::writeImage(skinmaker::paintPreview(skin, images), preview, &error))
        return failWith(error);
    return 0;
}
