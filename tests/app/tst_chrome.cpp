#include "apptest.h"

#include "chrome/framelesswindow.h"
#include "chrome/titlebar.h"

#include <QLabel>
#include <QPushButton>

// The offscreen platform has no window manager, so moving and resizing take the window's
// own fallback path, the one used wherever the platform cannot do it.
class TestChrome : public QObject {
    Q_OBJECT

private slots:
    void captionButtonsAndDoubleClick() {
        FramelessWindow window;
        window.setContentWidget(new QLabel(QStringLiteral("content")));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        auto* maximize = window.titleBar()->findChild<QPushButton*>(QStringLiteral("btnMaximize"));
        QVERIFY(maximize);
        QCOMPARE(maximize->toolTip(), QStringLiteral("Maximize"));

        QTest::mouseDClick(window.titleBar(), Qt::LeftButton, {}, QPoint(200, 10));
        QTRY_VERIFY(window.isMaximized());
        QCOMPARE(maximize->toolTip(), QStringLiteral("Restore"));
        maximize->click();
        QTRY_VERIFY(!window.isMaximized());

        window.titleBar()->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
        QVERIFY(!window.isVisible());
    }

    void dragMovesAndEdgesResize() {
        FramelessWindow window;
        window.setContentWidget(new QLabel(QStringLiteral("content")));
        window.setGeometry(100, 100, 600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect start = window.geometry();

        TitleBar* title = window.titleBar();
        QTest::mousePress(title, Qt::LeftButton, {}, QPoint(200, 10));
        QMouseEvent move(QEvent::MouseMove, QPoint(230, 30), title->mapToGlobal(QPoint(230, 30)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(title, &move);
        QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(230, 30));
        QTRY_COMPARE(window.pos(), start.topLeft() + QPoint(30, 20));

        // Grab the right edge and pull it 50 pixels out; the height stays.
        const QRect before = window.geometry();
        const QPoint edge(window.width() - 2, window.height() / 2);
        QMouseEvent hover(QEvent::MouseMove, edge, window.mapToGlobal(edge), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&window, &hover);
        QCOMPARE(window.cursor().shape(), Qt::SizeHorCursor);
        // Only the border shows it: the title bar and the content keep their own cursor.
        QCOMPARE(title->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(window.contentWidget()->cursor().shape(), Qt::ArrowCursor);
        QTest::mousePress(&window, Qt::LeftButton, {}, edge);
        QMouseEvent pull(QEvent::MouseMove, edge + QPoint(50, 0), window.mapToGlobal(edge + QPoint(50, 0)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &pull);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, edge + QPoint(50, 0));
        QTRY_COMPARE(window.width(), before.width() + 50);
        QCOMPARE(window.height(), before.height());

        // Pulling the left edge past the minimum size stops at the minimum.
        const QPoint left(1, window.height() / 2);
        QTest::mousePress(&window, Qt::LeftButton, {}, left);
        QMouseEvent push(QEvent::MouseMove, left + QPoint(2000, 0),
                         window.mapToGlobal(left + QPoint(2000, 0)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&window, &push);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, left);
        QTRY_COMPARE(window.width(), window.minimumWidth());
    }
};

TRIVANE_GUI_TEST_MAIN(TestChrome)
#include "tst_chrome.moc"
