// Reports are read back the way their readers read them: the JSON by the record's own parser,
// the JUnit XML by an XML reader, the PDF by poppler's tools, the folder by listing it.

#include "commission/captureplot.h"
#include "commission/capturetable.h"
#include "commission/junitreport.h"
#include "commission/report/reportfolder.h"
#include "commission/reporttext.h"
#include "reportsample.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace commissiontest;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestReports : public QObject {
    Q_OBJECT

private slots:
    void captureTableReadsWhatItWrites();
    void captureTableRefusesDamage_data();
    void captureTableRefusesDamage();
    void captureStatistics();
    void plotKeepsPeaks();
    void junitParses();
    void junitForAnEmptyBus();
    void folderHoldsEveryReport();
    void jsonRoundTrip();
    void pdfPagesShowTheRun();
    void unwritableFolderReportsAndLeavesNothing();
};

void TestReports::captureTableReadsWhatItWrites() {
    QString error;
    const auto table = CaptureTable::fromCsv(sineCsv(50), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->channels, QStringList({"mechVel", "mechPos"}));
    QCOMPARE(table->rows(), 50);
    const auto again = CaptureTable::fromCsv(table->toCsv(), &error);
    QVERIFY(again);
    QCOMPARE(again->values, table->values);
    QCOMPARE(again->time, table->time);
}

void TestReports::captureTableRefusesDamage_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("empty") << QByteArray("") << "empty";
    QTest::newRow("no header") << QByteArray("0,1\r\n") << "line 1";
    QTest::newRow("ragged") << QByteArray("time,a,b\r\n0,1,2\r\n0.1,1\r\n") << "line 3";
    QTest::newRow("text") << QByteArray("time,a\r\n0,nope\r\n") << "\"nope\"";
}

void TestReports::captureTableRefusesDamage() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, fragment);
    QString error;
    QVERIFY(!CaptureTable::fromCsv(csv, &error));
    QVERIFY2(error.contains(fragment), qPrintable(error));
}

void TestReports::captureStatistics() {
    CaptureTable t;
    t.channels = QStringList{"a", "b"};
    t.time = {0, 1, 2, 3};
    t.values = {{1, -3, 2, 0}, {1, -1, 2, 2}};
    QCOMPARE(t.statistic("peak", 0), 3.0);
    QCOMPARE(t.statistic("min", 0), -3.0);
    QCOMPARE(t.statistic("max", 0), 2.0);
    QCOMPARE(t.statistic("peak_to_peak", 0), 5.0);
    QCOMPARE(t.statistic("mean", 0), 0.0);
    QCOMPARE(t.statistic("rms", 0), std::sqrt(14.0 / 4));
    // Differences 0, -2, 0, -2: RMS sqrt(8/4).
    QCOMPARE(t.statistic("rms_diff", 0, 1), std::sqrt(2.0));
    QVERIFY(std::isnan(t.statistic("rms_diff", 0)));
    QVERIFY(std::isnan(t.statistic("rms", 5)));
    CaptureTable empty;
    empty.channels = QStringList{"a"};
    empty.values.resize(1);
    QVERIFY(std::isnan(empty.statistic("rms", 0)));
}

void TestReports::plotKeepsPeaks() {
    QString error;
    auto table = CaptureTable::fromCsv(sineCsv(20000, 12345), &error);
    QVERIFY(table);
    CaptureTable velocity = *table;
    velocity.channels.removeLast();
    velocity.values.removeLast();
    const CapturePlot plot = CapturePlot::layout(velocity, QSizeF(720, 260));
    QCOMPARE(plot.traces.size(), 1);
    // Thinned to at most two points per pixel column...
    QVERIFY(plot.traces[0].points.size() <= 2 * int(plot.area.width()) + 4);
    // ...yet the single spike is still the highest point drawn (smallest y).
    double top = plot.area.bottom();
    for (const QPointF& p : plot.traces[0].points)
        top = std::min(top, p.y());
    QVERIFY(top < plot.area.top() + plot.area.height() * 0.1);
    const CapturePlot both = CapturePlot::layout(*table, QSizeF(720, 260));
    for (const QPointF& p : both.traces[1].points)
        QVERIFY(plot.area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(p));
    QVERIFY(!plot.xTicks.isEmpty() && !plot.yTicks.isEmpty());
}

void TestReports::junitParses() {
    const RunRecord record = sampleRecord();
    const QByteArray xml = JUnitReport::render(record);
    QXmlStreamReader reader(xml);
    struct Suite {
        QString name;
        int tests = 0, failures = 0, errors = 0, skipped = 0, cases = 0;
        QStringList failed, errored, skippedCases;
    };
    QVector<Suite> suites;
    QString currentCase;
    QString rootName;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = reader.attributes();
        if (reader.name() == QLatin1String("testsuites")) {
            rootName = a.value("name").toString();
        } else if (reader.name() == QLatin1String("testsuite")) {
            Suite suite;
            suite.name = a.value("name").toString();
            suite.tests = a.value("tests").toInt();
            suite.failures = a.value("failures").toInt();
            suite.errors = a.value("errors").toInt();
            suite.skipped = a.value("skipped").toInt();
            suites.append(suite);
        } else if (reader.name() == QLatin1String("testcase")) {
            currentCase = a.value("name").toString();
            ++suites.last().cases;
        } else if (reader.name() == QLatin1String("failure")) {
            suites.last().failed << currentCase;
        } else if (reader.name() == QLatin1String("error")) {
            suites.last().errored << currentCase;
        } else if (reader.name() == QLatin1String("skipped")) {
            suites.last().skippedCases << currentCase;
        }
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(rootName, record.planName);
    QCOMPARE(suites.size(), 2);
    QCOMPARE(suites[0].name, QStringLiteral("3a10c5e700001001"));
    QCOMPARE(suites[0].cases, 3);
    QCOMPARE(suites[0].tests, 3);
    QCOMPARE(suites[0].failures + suites[0].errors + suites[0].skipped, 0);  // MARGINAL passes
    QCOMPARE(suites[1].cases, 4);
    QCOMPARE(suites[1].failures, 1);
    QCOMPARE(suites[1].errors, 1);
    QCOMPARE(suites[1].skipped, 1);
    QCOMPARE(suites[1].failed, QStringList{"2. Firmware"});
    QCOMPARE(suites[1].errored, QStringList{"3. Speed <ripple>"});
    QCOMPARE(suites[1].skippedCases, QStringList{"4. Emergency stop"});
}

void TestReports::junitForAnEmptyBus() {
    RunRecord record = sampleRecord();
    record.motors.clear();
    record.message = QStringLiteral("No motor answered.");
    record.settleOutcomes();
    QXmlStreamReader reader(JUnitReport::render(record));
    int suites = 0, errors = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        suites += reader.name() == QLatin1String("testsuite");
        errors += reader.name() == QLatin1String("error");
    }
    QVERIFY(!reader.hasError());
    QCOMPARE(suites, 1);
    QCOMPARE(errors, 1);
}

void TestReports::folderHoldsEveryReport() {
    QTemporaryDir dir;
    const RunRecord record = sampleRecord();
    QString error;
    const auto written = ReportFolder::write(record, dir.filePath("reports"), &error);
    QVERIFY2(written, qPrintable(error));
    QCOMPARE(QFileInfo(written->folder).fileName(), QStringLiteral("20261209T110614Z-2-motors"));
    QStringList expected{"report.json",
                         "junit.xml",
                         "3a10c5e700001001-20261209T110614Z.html",
                         "3a10c5e700001001-20261209T110614Z.pdf",
                         "3a10c5e700001001-step03-capture.csv",
                         "fedcba9876543210-20261209T110634Z.html",
                         "fedcba9876543210-20261209T110634Z.pdf"};
    QStringList listed = QDir(written->folder).entryList(QDir::Files);
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    QCOMPARE(listed, expected);
    QCOMPARE(readAll(written->folder + "/3a10c5e700001001-step03-capture.csv"),
             record.motors[0].steps[2].attachments[0].data);
    // Nothing but the finished folder is left in the base folder.
    QCOMPARE(QDir(dir.filePath("reports")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"20261209T110614Z-2-motors"});
    // A second run in the same second gets its own folder.
    const auto again = ReportFolder::write(record, dir.filePath("reports"), &error);
    QVERIFY(again);
    QCOMPARE(QFileInfo(again->folder).fileName(), QStringLiteral("20261209T110614Z-2-motors-2"));
}

void TestReports::jsonRoundTrip() {
    QTemporaryDir dir;
    const RunRecord record = sampleRecord();
    QString error;
    const auto written = ReportFolder::write(record, dir.path(), &error);
    QVERIFY(written);
    const QJsonDocument doc = QJsonDocument::fromJson(readAll(written->folder + "/report.json"));
    QCOMPARE(doc.object().value("version").toInt(), RunRecord::kFormatVersion);
    RunRecord back;
    QVERIFY2(RunRecord::fromJson(doc.object(), &back, &error), qPrintable(error));
    QCOMPARE(back.planName, record.planName);
    QCOMPARE(back.outcome, Outcome::Error);
    QCOMPARE(back.motors.size(), 2);
    QCOMPARE(back.motors[0].mcuId, record.motors[0].mcuId);
    QCOMPARE(back.motors[0].outcome, Outcome::Marginal);
    QCOMPARE(back.motors[0].steps[1].measurements[0].marginal, 0.02);
    QCOMPARE(back.motors[0].steps[2].attachments[0].data, record.motors[0].steps[2].attachments[0].data);
    QCOMPARE(back.motors[1].steps[1].measurements[0].text, record.motors[1].steps[1].measurements[0].text);
    QCOMPARE(back.motors[1].steps[3].outcome, Outcome::Skipped);
}

void TestReports::pdfPagesShowTheRun() {
    QTemporaryDir dir;
    RunRecord record = sampleRecord();
    // Enough steps to need more than one page.
    for (int i = 5; i < 40; ++i)
        record.motors[1].steps << step(i, "wait", QStringLiteral("Pause %1").arg(i), Outcome::Skipped,
                                       "not run");
    QString error;
    const auto written = ReportFolder::write(record, dir.path(), &error);
    QVERIFY(written);
    const QString good = written->folder + "/3a10c5e700001001-20261209T110614Z.pdf";
    const QString bad = written->folder + "/fedcba9876543210-20261209T110634Z.pdf";
    const QString info = run("pdfinfo", {good});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+[1-9]")), qPrintable(info));
    QVERIFY(info.contains("Page size:") && info.contains("A4"));
    const QString text = run("pdftotext", {"-layout", good, "-"});
    QVERIFY(text.contains("3a10c5e700001001"));
    QVERIFY(text.contains("Quarter turn"));
    QVERIFY(text.contains("MARGINAL"));
    QVERIFY(text.contains("Speed <ripple>"));  // escaped into the layout, shown as written
    QVERIFY(text.contains("bench-7"));
    const QString badInfo = run("pdfinfo", {bad});
    const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(badInfo).captured(1).toInt();
    QVERIFY2(pages >= 2, qPrintable(badInfo));
    const QString badText = run("pdftotext", {"-layout", bad, "-"});
    QVERIFY(badText.contains("Pause 39"));
    QVERIFY(badText.contains(QStringLiteral("page %1 of %1").arg(pages)));
}

void TestReports::unwritableFolderReportsAndLeavesNothing() {
    QTemporaryDir dir;
    // A file where the base folder should be: nothing can be created under it.
    const QString blocker = dir.filePath("reports");
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QString error;
    QVERIFY(!ReportFolder::write(sampleRecord(), blocker, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!ReportFolder::writeFile(blocker + "/junit.xml", "x", &error));
    QVERIFY(error.contains("junit.xml"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"reports"});
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
