// SPDX-License-Identifier: GPL-3.0-or-later
// Requests to maximise a window or make it fill the screen never leave the program; every other
// request does: as libwayland writes them to the compositor's socket, here one end of a pair the
// test reads from the other end.
#include <wayland-client-core.h>

#include <QList>
#include <QTest>

#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace {

// The requests of two interfaces, by their numbers, none with arguments: xdg_toplevel's as the
// stable xdg-shell protocol numbers them, and another interface's under the same numbers.
const std::array<wl_message, 14> requests = [] {
    std::array<wl_message, 14> messages{};
    messages.fill({"request", "", nullptr});
    return messages;
}();
const wl_interface toplevel{"xdg_toplevel", 1, int(requests.size()), requests.data(), 0, nullptr};
const wl_interface other{"wl_other", 1, int(requests.size()), requests.data(), 0, nullptr};

} // namespace

class TestWaylandRequests : public QObject {
    Q_OBJECT

private slots:
    void enlargingRequestsNeverLeave_data()
    {
        QTest::addColumn<const wl_interface*>("interface");
        QTest::addColumn<QList<uint32_t>>("sent");
        QTest::addColumn<QList<uint32_t>>("written");
        // set_maximized 9, unset_maximized 10, set_fullscreen 11, unset_fullscreen 12, set_minimized 13
        const QList<uint32_t> sent{9, 10, 11, 12, 13};
        QTest::newRow("a window's") << &toplevel << sent << QList<uint32_t>{10, 12, 13};
        QTest::newRow("another object's") << &other << sent << sent;
    }

    void enlargingRequestsNeverLeave()
    {
        QFETCH(const wl_interface*, interface);
        QFETCH(QList<uint32_t>, sent);
        QFETCH(QList<uint32_t>, written);
        int ends[2];
        QCOMPARE(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        wl_display* display = wl_display_connect_to_fd(ends[0]);
        QVERIFY(display);
        wl_proxy* object = wl_proxy_create(reinterpret_cast<wl_proxy*>(display), interface);
        for (const uint32_t opcode : sent)
            wl_proxy_marshal_flags(object, opcode, nullptr, 1, 0);
        QVERIFY(wl_display_flush(display) >= 0);
        // Each request written: the object's id, then its size and number in one word.
        QList<uint32_t> opcodes;
        std::array<uint32_t, 64> words{};
        const ssize_t read = ::read(ends[1], words.data(), sizeof words);
        for (ssize_t i = 0; i + 1 < read / ssize_t(sizeof(uint32_t)); i += 2)
            opcodes << (words[size_t(i) + 1] & 0xffff);
        QCOMPARE(opcodes, written);
        wl_proxy_destroy(object);
        wl_display_disconnect(display);
        ::close(ends[1]);
    }
};

QTEST_APPLESS_MAIN(TestWaylandRequests)
#include "tst_waylandrequests.moc"
