// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenReaderStatus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace rt {

namespace {

const QString busService = QStringLiteral("org.a11y.Bus");
const QString busPath = QStringLiteral("/org/a11y/bus");
const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString status = QStringLiteral("org.a11y.Status");
const QString screenReaderEnabled = QStringLiteral("ScreenReaderEnabled");

} // namespace

// Asked without waiting, so that the window never waits on the bus to open.
ScreenReaderStatus::ScreenReaderStatus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(busService, busPath, properties, QStringLiteral("PropertiesChanged"), this,
        SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    QDBusMessage get = QDBusMessage::createMethodCall(busService, busPath, properties, QStringLiteral("Get"));
    get << status << screenReaderEnabled;
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(get), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (reply.isValid() && !changeSeen_) {
            runs_ = reply.value().variant().toBool();
            emit told();
        }
        call->deleteLater();
    });
}

void ScreenReaderStatus::propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
{
    if (interface != status || !changed.contains(screenReaderEnabled))
        return;
    runs_ = changed.value(screenReaderEnabled).toBool();
    changeSeen_ = true;
    emit told();
}

} // namespace rt
