// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace rt {

// Whether a screen reader runs, as the desktop's accessibility bus says (org.a11y.Status,
// ScreenReaderEnabled), followed while the program runs. The bus being on is not enough:
// desktops turn it on for other assistive tools too, whose users do not want the window to speak.
// Without a session bus no screen reader runs.
class ScreenReaderStatus : public QObject {
    Q_OBJECT

public:
    ScreenReaderStatus();
    bool runs() const { return runs_; }

signals:
    // The bus has told the status: its first answer, or a change.
    void told();

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    bool runs_ = false;
    // A change seen before the first answer makes that answer stale.
    bool changeSeen_ = false;
};

} // namespace rt
