// SPDX-License-Identifier: GPL-3.0-or-later
#include "XSession.h"

#include <QDebug>
#include <QFile>
#include <QTest>

#include <sys/prctl.h>
#include <xcb/damage.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename Reply> std::unique_ptr<Reply, decltype(&std::free)> take(Reply* reply)
{
    return {reply, &std::free};
}

void stop(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// Openbox's setting, as it comes: a window mapped gets the focus.
constexpr char focusNew[] = "<focusNew>yes</focusNew>";

} // namespace

XSession::~XSession()
{
    if (connection_)
        xcb_disconnect(connection_);
    stop(windowManager_);
    stop(server_);
}

void XSession::endWithTest(QProcess& process)
{
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

QString XSession::start()
{
    endWithTest(server_);
    endWithTest(windowManager_);
    // -displayfd: the server picks a free display itself and writes its number once it accepts clients.
    server_.start(
        QStringLiteral("Xvfb"), QStringLiteral("-displayfd 1 -screen 0 1024x768x24 -nolisten tcp").split(u' '));
    if (!server_.waitForStarted())
        return QStringLiteral("cannot start Xvfb: ") + server_.errorString();
    while (!server_.canReadLine()) {
        if (!server_.waitForReadyRead(10000))
            return QStringLiteral("Xvfb did not report its display: ")
                + QString::fromLocal8Bit(server_.readAllStandardError());
    }
    display_ = QLatin1Char(':') + QString::fromLatin1(server_.readLine()).trimmed();

    connection_ = xcb_connect(display_.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(connection_))
        return QStringLiteral("cannot connect to ") + display_;
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;

    // Openbox's own settings, in a copy that setFocusNewWindows can change.
    QFile settings(QStringLiteral("/etc/xdg/openbox/rc.xml"));
    if (!settings.open(QIODevice::ReadOnly) || !(settings_ = settings.readAll()).contains(focusNew)
        || !settings.copy(configuration_.filePath(QStringLiteral("rc.xml"))))
        return QStringLiteral("cannot take openbox's settings from ") + settings.fileName();
    windowManager_.setProcessEnvironment(clientEnvironment());
    windowManager_.start(QStringLiteral("openbox"),
        {QStringLiteral("--sm-disable"), QStringLiteral("--config-file"),
            configuration_.filePath(QStringLiteral("rc.xml"))});
    if (!windowManager_.waitForStarted())
        return QStringLiteral("cannot start openbox: ") + windowManager_.errorString();
    if (!QTest::qWaitFor([&] { return !property(screen_->root, "_NET_SUPPORTING_WM_CHECK").isEmpty(); }, 10000))
        return QStringLiteral("openbox did not take over the screen");
    return {};
}

void XSession::setFocusNewWindows(bool focus)
{
    QByteArray settings = settings_;
    if (!focus)
        settings.replace(focusNew, "<focusNew>no</focusNew>");
    QFile file(configuration_.filePath(QStringLiteral("rc.xml")));
    if (!file.open(QIODevice::WriteOnly) || file.write(settings) != settings.size())
        qWarning() << "cannot write" << file.fileName();
    file.close();
    // Openbox names its theme on the screen again once it has read its settings anew.
    xcb_delete_property(connection_, screen_->root, atom("_OB_THEME"));
    xcb_flush(connection_);
    run(QStringLiteral("openbox --reconfigure"));
    if (!QTest::qWaitFor([&] { return !property(screen_->root, "_OB_THEME").isEmpty(); }, 5000))
        qWarning() << "openbox did not take its new settings";
}

QProcessEnvironment XSession::clientEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), display_);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

xcb_window_t XSession::managedWindowOf(qint64 pid)
{
    for (const quint32 window : cardinals(screen_->root, "_NET_CLIENT_LIST")) {
        const QList<quint32> windowPid = cardinals(window, "_NET_WM_PID");
        if (!windowPid.isEmpty() && windowPid.front() == pid)
            return window;
    }
    return 0;
}

xcb_window_t XSession::activeWindow()
{
    // The keyboard's focus itself: _NET_ACTIVE_WINDOW may still name a window that has gone,
    // whose number the server gives the next program's window.
    const auto reply = take(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return reply ? reply->focus : xcb_window_t(XCB_WINDOW_NONE);
}

QRect XSession::geometry(xcb_window_t window)
{
    const auto size = take(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    const auto origin = take(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, screen_->root, 0, 0), nullptr));
    return size && origin ? QRect(origin->dst_x, origin->dst_y, size->width, size->height) : QRect();
}

QImage XSession::grab(xcb_window_t window)
{
    const QRect area = geometry(window);
    if (area.isEmpty())
        return {};
    const auto image = take(xcb_get_image_reply(connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, area.width(), area.height(), ~0U),
        nullptr));
    // A 24-bit screen stores a pixel in 32 bits, blue first: Qt's RGB32 on this little-endian machine.
    if (!image || image->depth != 24 || xcb_get_image_data_length(image.get()) != area.width() * area.height() * 4)
        return {};
    return QImage(xcb_get_image_data(image.get()), area.width(), area.height(), area.width() * 4, QImage::Format_RGB32)
        .copy();
}

QRect XSession::frameGeometry(xcb_window_t window)
{
    // _NET_FRAME_EXTENTS: left, right, top, bottom
    const QList<quint32> extents = cardinals(window, "_NET_FRAME_EXTENTS");
    if (extents.size() != 4)
        return {};
    return geometry(window).adjusted(-int(extents[0]), -int(extents[2]), int(extents[1]), int(extents[3]));
}

QByteArray XSession::property(xcb_window_t window, const char* name)
{
    const auto reply = take(xcb_get_property_reply(connection_,
        xcb_get_property(connection_, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr));
    const auto* value = reply ? static_cast<const char*>(xcb_get_property_value(reply.get())) : nullptr;
    return QByteArray(value, value ? xcb_get_property_value_length(reply.get()) : 0);
}

QList<quint32> XSession::cardinals(xcb_window_t window, const char* name)
{
    const QByteArray bytes = property(window, name);
    QList<quint32> values(bytes.size() / 4);
    if (!values.isEmpty())
        std::memcpy(values.data(), bytes.constData(), values.size() * 4);
    return values;
}

QStringList XSession::atomNames(xcb_window_t window, const char* name)
{
    QStringList names;
    for (const quint32 value : cardinals(window, name)) {
        const auto reply = take(xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, value), nullptr));
        if (reply)
            names << QString::fromLatin1(
                xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
    }
    return names;
}

void XSession::watchDamage(xcb_window_t window)
{
    // The server takes no other request of the extension before the client has said its version.
    xcb_discard_reply(connection_,
        xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION).sequence);
    xcb_damage_create(connection_, xcb_generate_id(connection_), window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(connection_);
}

QList<Damage> XSession::takeDamage()
{
    const uint8_t notify = xcb_get_extension_data(connection_, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY;
    QList<Damage> damage;
    while (const auto event = take(xcb_poll_for_event(connection_))) {
        if ((event->response_type & 0x7f) != notify)
            continue;
        const auto* report = reinterpret_cast<const xcb_damage_notify_event_t*>(event.get());
        damage.append({report->timestamp, {report->area.x, report->area.y, report->area.width, report->area.height}});
    }
    return damage;
}

void XSession::requestClose(xcb_window_t window)
{
    // Its data: the time, and 2: the request comes from a tool acting for the user.
    const xcb_client_message_event_t message{.response_type = XCB_CLIENT_MESSAGE,
        .format = 32,
        .sequence = 0,
        .window = window,
        .type = atom("_NET_CLOSE_WINDOW"),
        .data = {.data32 = {XCB_CURRENT_TIME, 2}}};
    xcb_send_event(connection_, 0, screen_->root,
        XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
        reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
}

void XSession::move(xcb_window_t window, QPoint at)
{
    run(QStringLiteral("xdotool windowmove --sync %1 %2 %3").arg(window).arg(at.x()).arg(at.y()));
}

xcb_atom_t XSession::atom(const char* name)
{
    const auto reply = take(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

void XSession::run(const QString& command, const QStringList& moreArguments)
{
    QStringList arguments = command.split(u' ') + moreArguments;
    QProcess process;
    process.setProcessEnvironment(clientEnvironment());
    process.start(arguments.takeFirst(), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qWarning() << command << moreArguments << "failed:" << process.errorString() << process.readAllStandardError();
}
