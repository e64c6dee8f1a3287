// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QMetaEnum>
#include <QStringList>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

// What a screen reader is told of the text a window shows, recorded as "type role:name" and, for
// text, what went and what came or where the caret went.
namespace accessible {

inline QString roleName(QAccessible::Role role)
{
    return role == QAccessible::StaticText  ? QStringLiteral("label:")
        : role == QAccessible::EditableText ? QStringLiteral("text:")
                                            : QStringLiteral("button:");
}

inline QStringList& told()
{
    static QStringList events;
    return events;
}

inline void record(QAccessibleEvent* event)
{
    QAccessibleInterface* iface = event->accessibleInterface();
    if (iface->role() != QAccessible::StaticText && iface->role() != QAccessible::EditableText)
        return;
    QString seen = QString::fromLatin1(QMetaEnum::fromType<QAccessible::Event>().valueToKey(event->type())) + u' '
        + roleName(iface->role()) + iface->text(QAccessible::Name);
    if (event->type() == QAccessible::TextUpdated) {
        const auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
        seen += QStringLiteral(" -%1 +%2").arg(update->textRemoved(), update->textInserted());
    } else if (event->type() == QAccessible::TextInserted) {
        seen += QStringLiteral(" +") + static_cast<QAccessibleTextInsertEvent*>(event)->textInserted();
    } else if (event->type() == QAccessible::TextRemoved) {
        seen += QStringLiteral(" -") + static_cast<QAccessibleTextRemoveEvent*>(event)->textRemoved();
    } else if (event->type() == QAccessible::TextCaretMoved) {
        seen += QStringLiteral(" %1").arg(static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition());
    }
    told() << seen;
}

// As if a screen reader had started (the offscreen platform has none), with what it is told
// recorded in told().
inline void listen()
{
    QAccessible::installUpdateHandler(record);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
}

} // namespace accessible
