// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

// The desktop's accessibility bus as its launcher serves it on the session bus, saying in
// org.a11y.Status whether the bus is on and whether a screen reader runs. Register it once per
// test program, on a session bus of the test's own.
class StandInAccessibilityBus : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool IsEnabled MEMBER isEnabled)
    Q_PROPERTY(bool ScreenReaderEnabled MEMBER screenReaderEnabled)

public:
    explicit StandInAccessibilityBus(QObject* bus)
        : QDBusAbstractAdaptor(bus)
    {
    }

    bool registerOnSessionBus()
    {
        return QDBusConnection::sessionBus().registerService(QStringLiteral("org.a11y.Bus"))
            && QDBusConnection::sessionBus().registerObject(path(), parent());
    }

    // As the launcher does when a desktop switches something on or off.
    void change(const QString& property, bool value)
    {
        setProperty(qPrintable(property), value);
        QDBusMessage changed = QDBusMessage::createSignal(
            path(), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
        changed << QStringLiteral("org.a11y.Status") << QVariantMap{{property, value}} << QStringList();
        QDBusConnection::sessionBus().send(changed);
    }

    bool isEnabled = true;
    bool screenReaderEnabled = false;

private:
    static QString path() { return QStringLiteral("/org/a11y/bus"); }
};
