// The oscilloscope's widgets on their own: the plot's frame timing, bounded curves, pause,
// readout and CSV export, and the channel dialog.
#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

#include "app/apptest.h"
#include "scope/channeldialog.h"
#include "scope/wavedisplay.h"

namespace {

// A batch of n records of two channels: a = t, b = -t, 10 ms apart from `from`.
ScopeBatchPtr batch(int from, int n, quint64 generation = 1) {
    auto b = std::make_shared<ScopeBatch>();
    b->channels = 2;
    b->generation = generation;
    for (int i = from; i < from + n; ++i) {
        b->times << i * 0.01;
        b->values << i * 0.01 << -i * 0.01;
    }
    return b;
}

}  // namespace

class TstScopeViews : public QObject {
    Q_OBJECT

private slots:
    void channelDialogIsRaisedNotDuplicated();
    void plotRedrawsThreeTimesPerBatchAtTheFrameRate();
    void plotKeepsTheHistoryWindowAndPauses();
    void readoutAndCsvExport();
};

void TstScopeViews::channelDialogIsRaisedNotDuplicated() {
    CaseEnvironment env;
    kx::DataObject* device = addDevice(QStringLiteral("3a10c5e700001001"), 1);
    device->c(QStringLiteral("_analyze"), true);
    device->copyFrom(nullptr, kx::d(QStringLiteral("template.Ostrel_motor")));
    device->set(nullptr, QStringLiteral("param.mechPos"), QStringLiteral("0"), true);
    device->set(nullptr, QStringLiteral("param.VBUS"), QStringLiteral("24"), true);

    QWidget parent;
    ChannelDialog* first = ChannelDialog::open(device, &parent);
    ChannelDialog* second = ChannelDialog::open(device, &parent);
    QCOMPARE(first, second);
    QCOMPARE(parent.findChildren<ChannelDialog*>().size(), 1);

    // Eight rows, each listing "None" and the record's parameters; a choice sets the type.
    auto* combo = first->findChild<QComboBox*>(QStringLiteral("cmbChannel8"));
    QVERIFY(combo);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(2), QStringLiteral("VBUS"));
    combo->setCurrentIndex(2);
    QCOMPARE(device->r(QStringLiteral("_analyze.channel"))->size(), 8);
    QCOMPARE(device->r(QStringLiteral("_analyze.channel"))->c(7)->r(QStringLiteral("type"))->getInt(), 2);

    first->close();
    QTRY_VERIFY(parent.findChildren<ChannelDialog*>().isEmpty());
    ChannelDialog* third = ChannelDialog::open(device, &parent);
    QCOMPARE(third->findChild<QComboBox*>(QStringLiteral("cmbChannel8"))->currentIndex(), 2);
    third->close();
}

void TstScopeViews::plotRedrawsThreeTimesPerBatchAtTheFrameRate() {
    CaseEnvironment env;
    waveDisplay plot;
    QCOMPARE(plot.replotInterval(), 41);  // 24 frames a second
    QCOMPARE(plot.xAxis->range(), QCPRange(0, 10));
    QCOMPARE(plot.yAxis->range(), QCPRange(0, 1));
    plot.setActiveGraphs({1, 4}, {"a", "b"}, 100);
    QVERIFY(plot.graph(1)->visible());
    QVERIFY(plot.graph(4)->visible());
    QVERIFY(!plot.graph(0)->visible());

    QCoreApplication::processEvents();  // the plot's own first, queued replot
    QSignalSpy replots(&plot, &QCustomPlot::afterReplot);
    QElapsedTimer clock;
    clock.start();
    plot.showData({batch(0, 20)});
    QTRY_COMPARE(replots.count(), 3);
    QVERIFY(clock.elapsed() >= 2 * 41);  // paced by the timer, not drawn at once
    QVERIFY(!replots.wait(300));         // and then it rests

    plot.clearGraphs();
    QCOMPARE(plot.xAxis->range(), QCPRange(0, 10));
    QVERIFY(!plot.graph(1)->visible());
    QCOMPARE(plot.graph(1)->data()->size(), 0);
}

void TstScopeViews::plotKeepsTheHistoryWindowAndPauses() {
    CaseEnvironment env;
    waveDisplay plot;
    plot.setActiveGraphs({1, 4}, {"a", "b"}, 100);
    for (int i = 0; i < 300; i += 20)
        plot.showData({batch(i, 20)});
    QCOMPARE(plot.history().size(), 100);
    QCOMPARE(plot.graph(1)->data()->size(), 100);
    QCOMPARE(plot.graph(1)->data()->constBegin()->key, 2.0);
    QCOMPARE((plot.graph(4)->data()->constEnd() - 1)->value, -2.99);
    // Following the stream, the view covers the history.
    QVERIFY(plot.xAxis->range().contains(2.0) && plot.xAxis->range().contains(2.99));

    // Paused: the curves stand still while the history goes on; resuming catches up.
    plot.setPaused(true);
    plot.showData({batch(300, 50)});
    QCOMPARE((plot.graph(1)->data()->constEnd() - 1)->key, 2.99);
    QCOMPARE(plot.history().time(plot.history().size() - 1), 3.49);
    plot.setPaused(false);
    QCOMPARE((plot.graph(1)->data()->constEnd() - 1)->key, 3.49);
    QCOMPARE(plot.graph(1)->data()->size(), 100);

    // A drag takes the view over: new data no longer moves it.
    QSignalSpy follow(&plot, &waveDisplay::followChanged);
    plot.resize(400, 300);
    QTest::mousePress(&plot, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(follow.count(), 1);
    QVERIFY(!plot.follow());
    const QCPRange fixed = plot.xAxis->range();
    plot.showData({batch(350, 100)});
    QCOMPARE(plot.xAxis->range(), fixed);
    plot.setFollow(true);
    QVERIFY(plot.xAxis->range().contains(4.49));

    // Records of a new configuration start the history afresh.
    plot.showData({batch(0, 10, 2)});
    QCOMPARE(plot.history().size(), 10);
    QCOMPARE(plot.graph(1)->data()->size(), 10);
}

void TstScopeViews::readoutAndCsvExport() {
    CaseEnvironment env;
    waveDisplay plot;
    plot.setActiveGraphs({0, 2}, {"mechPos", "VBUS"}, 1000);
    plot.showData({batch(0, 50)});
    QVERIFY(plot.readoutAt(-1).startsWith(QStringLiteral("t = 0.0000 s")));
    const QString text = plot.readoutAt(0.255);  // between two records: the earlier one
    QVERIFY2(text.contains(QStringLiteral("t = 0.2500 s")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("mechPos: 0.25")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("VBUS: -0.25")), qPrintable(text));

    const QString path = env.path(QStringLiteral("export.csv"));
    QString error;
    QVERIFY(plot.exportCsv(path, &error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.size(), 52);  // header, 50 rows, nothing after the last CR LF
    QCOMPARE(lines[0], QByteArray("time,mechPos,VBUS\r"));
    QCOMPARE(lines[26], QByteArray("0.250000,0.25,-0.25\r"));
    QVERIFY(!plot.exportCsv(env.path(QStringLiteral("no/such/dir/x.csv")), &error));
    QVERIFY(!error.isEmpty());
}

TRIVANE_GUI_TEST_MAIN(TstScopeViews)
#include "tst_scopeviews.moc"
