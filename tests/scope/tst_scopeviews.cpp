// The oscilloscope's widgets on their own: the plot's frame timing, bounded curves, pause,
// readout and CSV export, and the channel dialog.
#include <QComboBox>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

#include "app/apptest.h"
#include "scope/channeldialog.h"
#include "scope/scopecontrol.h"
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

// n records of one channel standing at `level` with float noise in its last digits.
ScopeBatchPtr still(int from, int n, double level) {
    auto b = std::make_shared<ScopeBatch>();
    b->channels = 1;
    b->generation = 1;
    for (int i = from; i < from + n; ++i) {
        b->times << i * 0.01;
        b->values << level + ((i % 3) - 1) * 2e-7;
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
    void stillCurveKeepsAReadableAxis();
    void pauseFreezesWhatIsShownAndExported();
    void cursorLineFollowsTheMouse();
    void channelChoicesAreKeptInTheConfiguration();
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

void TstScopeViews::stillCurveKeepsAReadableAxis() {
    CaseEnvironment env;
    waveDisplay plot;
    plot.resize(600, 400);
    plot.setActiveGraphs({0}, {"mechPos"}, 1000);
    plot.showData({still(0, 200, 2.0)});
    plot.replot();
    // Not the noise blown up to the whole height: a span a motor's position can mean.
    const QCPRange y = plot.yAxis->range();
    QVERIFY2(y.size() >= waveDisplay::minimumSpan(2.0) * 0.999, qPrintable(QString::number(y.size())));
    QVERIFY(y.contains(2.0));
    // And labels that tell the ticks apart.
    const QVector<QString> labels = plot.yAxis->tickVectorLabels();
    QVERIFY(labels.size() >= 3);
    QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());

    // A moving curve keeps its own range.
    plot.setActiveGraphs({0}, {"mechPos"}, 1000);
    plot.showData({batch(0, 200)});
    QVERIFY(plot.yAxis->range().size() > 1.9);
}

void TstScopeViews::pauseFreezesWhatIsShownAndExported() {
    CaseEnvironment env;
    waveDisplay plot;
    plot.resize(600, 400);
    plot.setActiveGraphs({0, 2}, {"a", "b"}, 100);  // ten seconds at 10 Hz, say
    plot.showData({batch(0, 80)});
    plot.setPaused(true);
    const QString frozen = plot.readoutAt(0.79);
    plot.showData({batch(80, 170)});
    // The view and its readout stand still, though the history moved past them.
    QCOMPARE(plot.readoutAt(0.79), frozen);
    QVERIFY2(frozen.contains(QStringLiteral("a: 0.79")), qPrintable(frozen));
    QCOMPARE(plot.history().time(0), 1.5);
    QCOMPARE(plot.exportCount(waveDisplay::Export::Shown), qint64(80));
    // The recording holds everything since the start, beyond the history's window.
    QCOMPARE(plot.exportCount(waveDisplay::Export::Recording), qint64(250));

    auto lines = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QList<QByteArray>();
    };
    QString error;
    QVERIFY(plot.exportCsv(env.path("shown.csv"), &error, waveDisplay::Export::Shown));
    const QList<QByteArray> shown = lines(env.path("shown.csv"));
    QCOMPARE(shown.size(), 82);
    QCOMPARE(shown[80], QByteArray("0.790000,0.79000000000000004,-0.79000000000000004\r"));
    QVERIFY(plot.exportCsv(env.path("all.csv"), &error, waveDisplay::Export::Recording));
    const QList<QByteArray> all = lines(env.path("all.csv"));
    QCOMPARE(all.size(), 252);
    QVERIFY(all[1].startsWith("0.000000,"));
    QVERIFY(all[250].startsWith("2.490000,"));

    // A zoom on the paused view narrows what is shown, and what "shown" exports.
    plot.xAxis->setRange(0.2, 0.3);
    QCOMPARE(plot.exportCount(waveDisplay::Export::Shown), qint64(11));
}

void TstScopeViews::cursorLineFollowsTheMouse() {
    CaseEnvironment env;
    waveDisplay plot;
    plot.resize(600, 400);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    QVERIFY(!plot.cursorLine()->visible());
    plot.setActiveGraphs({0, 2}, {"a", "b"}, 1000);
    plot.showData({batch(0, 100)});
    plot.replot();
    QSignalSpy readouts(&plot, &waveDisplay::readout);
    const QPoint at(int(plot.xAxis->coordToPixel(0.5)), plot.height() / 2);
    QTest::mouseMove(&plot, at);
    QTRY_VERIFY(plot.cursorLine()->visible());
    QVERIFY(qAbs(plot.cursorLine()->point1->key() - 0.5) < 0.02);
    QCOMPARE(plot.cursorLine()->point1->key(), plot.cursorLine()->point2->key());
    QVERIFY(!readouts.isEmpty());
    QVERIFY2(readouts.last().at(0).toString().contains(QStringLiteral("a: 0.")),
             qPrintable(readouts.last().at(0).toString()));
    // A new recording starts without the old cursor.
    plot.clearGraphs();
    QVERIFY(!plot.cursorLine()->visible());
}

void TstScopeViews::channelChoicesAreKeptInTheConfiguration() {
    CaseEnvironment env;
    kx::d("config")->remove(nullptr, QStringLiteral("oscilloscope"));
    auto makeDevice = [](const QString& mcu, int canId) {
        kx::DataObject* device = addDevice(mcu, canId);
        device->copyFrom(nullptr, kx::d(QStringLiteral("template.Ostrel_motor")));
        device->set(nullptr, QStringLiteral("param.mechPos"), QStringLiteral("0"), true);
        device->set(nullptr, QStringLiteral("param.VBUS"), QStringLiteral("24"), true);
        return device;
    };
    kx::DataObject* device = makeDevice(QStringLiteral("3a10c5e700001001"), 1);
    QWidget parent;
    ChannelDialog* dialog = ChannelDialog::open(device, &parent);
    dialog->findChild<QComboBox*>(QStringLiteral("cmbChannel3"))->setCurrentIndex(2);
    dialog->close();
    QTRY_VERIFY(parent.findChildren<ChannelDialog*>().isEmpty());
    // The choice is kept by name in the configuration, which the program saves at exit.
    QCOMPARE(kx::d("config.oscilloscope.channel3.name")->getString(), QStringLiteral("VBUS"));

    // Another run: a fresh record takes the kept choice, found by name in a table whose
    // order differs (the index it had last time names another parameter now).
    kx::d(QStringLiteral("project.device"))->clear(nullptr);
    kx::DataObject* again = makeDevice(QStringLiteral("3a10c5e700001001"), 1);
    kx::DataObject* settings = ScopeControl::channelSettings(again);
    const QVector<ScopeChannelChoice> list = {{0x3004, "VBUS", 6}, {0x3000, "mechPos", 6}};
    QCOMPARE(ScopeControl::resolveChannel(settings, 2, list), 1);
    QCOMPARE(ScopeControl::resolveChannel(settings, 0, list), 0);
    // A kept name the motor does not have names nothing.
    QCOMPARE(ScopeControl::resolveChannel(settings, 2, {{0x3000, "mechPos", 6}}), 0);
    ChannelDialog* shown = ChannelDialog::open(again, &parent);
    QCOMPARE(shown->findChild<QComboBox*>(QStringLiteral("cmbChannel3"))->currentText(),
             QStringLiteral("VBUS"));
    shown->close();
}

TRIVANE_GUI_TEST_MAIN(TstScopeViews)
#include "tst_scopeviews.moc"
