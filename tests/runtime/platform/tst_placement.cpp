// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window goes for the frame a window manager puts around it to stand centred.
#include <runtime/platform/WindowPlacement.h>

#include <QTest>

class TestPlacement : public QObject {
    Q_OBJECT

private slots:
    void theFrameStandsCentredInTheArea_data()
    {
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("client");
        const QRect screen(0, 0, 1024, 768);
        QTest::newRow("no frame") << QMargins() << screen << QPoint(166, 204);
        QTest::newRow("a title bar and a border") << QMargins(1, 20, 1, 1) << screen << QPoint(166, 213);
        QTest::newRow("wider sides, a taskbar below")
            << QMargins(5, 24, 5, 5) << QRect(0, 0, 1024, 742) << QPoint(166, 200);
        QTest::newRow("a panel on the left") << QMargins(1, 20, 1, 1) << QRect(64, 0, 960, 768) << QPoint(198, 213);
    }

    void theFrameStandsCentredInTheArea()
    {
        QFETCH(QMargins, frame);
        QFETCH(QRect, area);
        QFETCH(QPoint, client);
        QCOMPARE(rt::clientPlaceForCentredFrame(QSize(692, 361), frame, area), client);
    }

    // _NET_FRAME_EXTENTS: left, right, top, bottom.
    void theFrameIsReadFromItsExtents()
    {
        QCOMPARE(rt::frameOfExtents({1, 2, 20, 3}), QMargins(1, 20, 2, 3));
        QCOMPARE(rt::frameOfExtents({1, 2, 20}), std::nullopt);
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
