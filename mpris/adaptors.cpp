#include "adaptors.h"

#include "mpris/mediaplayer.h"

#include <QDBusMetaType>

namespace mpris {

RootAdaptor::RootAdaptor(MediaPlayer* player)
    : QDBusAbstractAdaptor(player)
    , m_player(*player)
{
}

void RootAdaptor::Raise()
{
    m_player.Raise();
}
void RootAdaptor::Quit()
{
    m_player.Quit();
}

PlayerAdaptor::PlayerAdaptor(MediaPlayer* player)
    : QDBusAbstractAdaptor(player)
    , m_player(*player)
{
}

QString PlayerAdaptor::PlaybackStatus() const
{
    return m_player.PlaybackStatus();
}
QVariantMap PlayerAdaptor::Metadata() const
{
    return m_player.Metadata();
}
double PlayerAdaptor::Volume() const
{
    return m_player.Volume();
}
void PlayerAdaptor::setVolume(double volume)
{
    m_player.setVolume(volume);
}
void PlayerAdaptor::setRate(double rate)
{
    m_player.setRate(rate);
}
qlonglong PlayerAdaptor::Position() const
{
    return m_player.Position();
}
bool PlayerAdaptor::CanGoNext() const
{
    return m_player.CanGoNext();
}
bool PlayerAdaptor::CanGoPrevious() const
{
    return m_player.CanGoPrevious();
}
bool PlayerAdaptor::CanPlay() const
{
    return m_player.CanPlay();
}

void PlayerAdaptor::Next()
{
    m_player.Next();
}
void PlayerAdaptor::Previous()
{
    m_player.Previous();
}
void PlayerAdaptor::Pause()
{
    m_player.Pause();
}
void PlayerAdaptor::PlayPause()
{
    m_player.PlayPause();
}
void PlayerAdaptor::Stop()
{
    m_player.Stop();
}
void PlayerAdaptor::Play()
{
    m_player.Play();
}
void PlayerAdaptor::Seek(qlonglong offset)
{
    m_player.Seek(offset);
}
void PlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    m_player.SetPosition(trackId, position);
}
bool PlayerAdaptor::CanSeek() const
{
    return m_player.CanSeek();
}
void PlayerAdaptor::OpenUri(const QString&) {}

PropertiesAdaptor::PropertiesAdaptor(MediaPlayer* player, const QDBusConnection& bus,
                                     QList<QDBusAbstractAdaptor*> interfaces)
    : QDBusAbstractAdaptor(player)
    , m_bus(bus)
    , m_interfaces(std::move(interfaces))
{
}

QList<QDBusAbstractAdaptor*> PropertiesAdaptor::adaptorsOf(const QString& interface_name) const
{
    if (interface_name.isEmpty())
        return m_interfaces;
    for (QDBusAbstractAdaptor* adaptor : m_interfaces) {
        const QMetaObject* meta = adaptor->metaObject();
        if (interface_name == QLatin1String(meta->classInfo(meta->indexOfClassInfo("D-Bus Interface")).value()))
            return {adaptor};
    }
    return {};
}

std::optional<PropertiesAdaptor::Found>
PropertiesAdaptor::find(const QString& interface_name, const QString& property_name, const QDBusMessage& message) const
{
    const QList<QDBusAbstractAdaptor*> adaptors = adaptorsOf(interface_name);
    if (adaptors.isEmpty()) {
        refuse(message, QDBusError::UnknownInterface, QStringLiteral("No interface %1 here").arg(interface_name));
        return std::nullopt;
    }
    for (QDBusAbstractAdaptor* adaptor : adaptors) {
        const QMetaObject* meta = adaptor->metaObject();
        const int index = meta->indexOfProperty(property_name.toUtf8().constData());
        // Only the interface's own properties, not those every Qt object has.
        if (index >= QDBusAbstractAdaptor::staticMetaObject.propertyCount())
            return Found{adaptor, meta->property(index)};
    }
    refuse(message, QDBusError::UnknownProperty, QStringLiteral("No property %1 here").arg(property_name));
    return std::nullopt;
}

void PropertiesAdaptor::refuse(const QDBusMessage& message, QDBusError::ErrorType error, const QString& text) const
{
    message.setDelayedReply(true);
    m_bus.send(message.createErrorReply(error, text));
}

QDBusVariant PropertiesAdaptor::Get(const QString& interface_name, const QString& property_name,
                                    const QDBusMessage& message)
{
    const std::optional<Found> found = find(interface_name, property_name, message);
    return found ? QDBusVariant(found->property.read(found->adaptor)) : QDBusVariant();
}

QVariantMap PropertiesAdaptor::GetAll(const QString& interface_name, const QDBusMessage& message)
{
    const QList<QDBusAbstractAdaptor*> adaptors = adaptorsOf(interface_name);
    if (adaptors.isEmpty())
        refuse(message, QDBusError::UnknownInterface, QStringLiteral("No interface %1 here").arg(interface_name));
    QVariantMap all;
    for (QDBusAbstractAdaptor* adaptor : adaptors) {
        const QMetaObject* meta = adaptor->metaObject();
        for (int i = QDBusAbstractAdaptor::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
            all.insert(QLatin1String(meta->property(i).name()), meta->property(i).read(adaptor));
    }
    return all;
}

void PropertiesAdaptor::Set(const QString& interface_name, const QString& property_name, const QDBusVariant& value,
                            const QDBusMessage& message)
{
    const std::optional<Found> found = find(interface_name, property_name, message);
    if (!found)
        return;
    if (!found->property.isWritable()) {
        refuse(message, QDBusError::PropertyReadOnly, QStringLiteral("%1 is read-only").arg(property_name));
        return;
    }
    const QVariant written = value.variant();
    if (written.metaType() != found->property.metaType()) {
        refuse(message, QDBusError::InvalidArgs,
               QStringLiteral("%1 takes a value of D-Bus type %2")
                   .arg(property_name, QLatin1String(QDBusMetaType::typeToSignature(found->property.metaType()))));
        return;
    }
    found->property.write(found->adaptor, written);
}

} // namespace mpris
