#include "skinreporting.h"
#include "app/logging.h"

#include <QLoggingCategory>

namespace app {
namespace {

const QString SkinErrorTitle = QStringLiteral("V.A.N.T.O XM - Skin");

} // namespace

SkinReporting::SkinReporting(skin::SkinLoader& loader, const StartupSettings& settings, DayNightSwitch& dayNight,
                             MessageBox& box)
    : m_loader(loader)
    , m_settings(settings)
    , m_dayNight(dayNight)
    , m_box(box)
{
}

bool SkinReporting::LoadSkinReportingErrors()
{
    if (loadSkinOnce()) {
        m_reported.clear();
        return true;
    }
    // The design layout is no way to drive a radio: the other skin of the pair stands in.
    const QString current = m_loader.state().CurrentSkin;
    const std::optional<QString> other = OtherSkinOfPair(m_settings, current);
    if (!other)
        return false;
    m_dayNight.notLoadable(current);
    m_loader.setCurrentSkin(*other);
    return loadSkinOnce();
}

bool SkinReporting::loadSkinOnce()
{
    try {
        m_loader.LoadSkin();
        return true;
    } catch (const skin::SkinError& error) {
        qCWarning(lcApp).noquote() << error.message();
        // The same broken skin is reported once, not at every resize.
        if (!m_reported.contains(error.message())) {
            m_reported.insert(error.message());
            m_box.show(SkinErrorTitle, error.message(), MessageBox::Icon::Error, MessageBox::Buttons::Ok);
        }
        return false;
    }
}

} // namespace app
