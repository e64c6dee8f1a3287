// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

// org.a11y.Status as the accessibility bus's launcher serves it.
class StandInStatus : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool IsEnabled MEMBER isEnabled)
    Q_PROPERTY(bool ScreenReaderEnabled MEMBER screenReaderEnabled)

public:
    explicit StandInStatus(QObject* bus)
        : QDBusAbstractAdaptor(bus)
    {
    }

    bool isEnabled = true;
    bool screenReaderEnabled = false;
};

// The desktop's accessibility bus on a session bus of the test's own, saying whether the bus is
// on and whether a screen reader runs; registered as it is made, once per test program.
class StandInAccessibilityBus {
public:
    StandInAccessibilityBus()
        : registered_(QDBusConnection::sessionBus().registerService(QStringLiteral("org.a11y.Bus"))
            && QDBusConnection::sessionBus().registerObject(path(), &bus_))
    {
    }

    bool registered() const { return registered_; }
    // What a screen reader started now would be told, without telling those already asking.
    void setScreenReaderEnabled(bool enabled) { status_->screenReaderEnabled = enabled; }

    // As the launcher does when a desktop switches something on or off.
    void change(const QString& property, bool value)
    {
        status_->setProperty(qPrintable(property), value);
        QDBusMessage changed = QDBusMessage::createSignal(
            path(), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
        changed << QStringLiteral("org.a11y.Status") << QVariantMap{{property, value}} << QStringList();
        QDBusConnection::sessionBus().send(changed);
    }

private:
    static QString path() { return QStringLiteral("/org/a11y/bus"); }

    QObject bus_;
    StandInStatus* status_ = new StandInStatus(&bus_); // owned by bus_
    bool registered_;
};
