// The HTML report as a browser sees it: loaded by a real browser engine, without a console
// error, each capture drawn with one visible path per channel, nothing from the record turned
// into markup.

#include "commission/htmlreport.h"
#include "reportsample.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

using namespace commissiontest;

namespace {

class Page : public QWebEnginePage {
public:
    QStringList problems;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString&) override {
        if (level != InfoMessageLevel)
            problems << QStringLiteral("%1: %2").arg(line).arg(message);
    }
};

// The script's result; an invalid variant when the page never answered.
QVariant evaluate(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    QDeadlineTimer deadline(30000);
    while (!done && !deadline.hasExpired())
        QTest::qWait(10);
    return result;
}

}  // namespace

class TestHtmlReport : public QObject {
    Q_OBJECT

private slots:
    void loadsAndDrawsEachCapture();
    void unreadableRecordingIsExplained();
};

void TestHtmlReport::loadsAndDrawsEachCapture() {
    RunRecord record = sampleRecord();
    // A second capture with three channels on the same motor.
    StepRecord more = step(4, QStringLiteral("capture"), QStringLiteral("Three channels"), Outcome::Pass);
    more.attachments << Attachment{QStringLiteral("step04-capture.csv"), QStringLiteral("text/csv"),
                                   "time,a,b,c\r\n0,1,2,3\r\n0.1,2,3,1\r\n0.2,0,1,2\r\n"};
    record.motors[0].steps << more;

    QTemporaryDir dir;
    for (int motor = 0; motor < record.motors.size(); ++motor) {
        const QString path = dir.filePath(QStringLiteral("m%1.html").arg(motor));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(HtmlReport::render(record, motor));
        file.close();

        // Shown in a view of a desktop's size, so the layout has a width to fill.
        Page page;
        QWebEngineView view;
        view.setPage(&page);
        view.resize(1024, 768);
        view.show();
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.load(QUrl::fromLocalFile(path));
        QVERIFY(loaded.wait(60000));
        QCOMPARE(loaded.first().first().toBool(), true);

        const int captures = motor == 0 ? 2 : 0;
        QCOMPARE(evaluate(&page, "document.querySelectorAll('svg.capture').length").toInt(), captures);
        if (motor == 0) {
            // One path per channel, each parsed into a line the browser can measure.
            const QVariantList perCapture =
                evaluate(&page,
                         "Array.from(document.querySelectorAll('svg.capture')).map(s => "
                         "Array.from(s.querySelectorAll('path.trace')).filter(p => p.getTotalLength() > "
                         "0).length)")
                    .toList();
            QCOMPARE(perCapture, QVariantList({2, 3}));
            const QVariantList size =
                evaluate(&page,
                         "(() => { const r = document.querySelector('svg.capture').getBoundingClientRect();"
                         " return [r.width, r.height]; })()")
                    .toList();
            QVERIFY(size.value(0).toDouble() > 100 && size.value(1).toDouble() > 30);
        }
        // Text from the record stays text.
        QCOMPARE(evaluate(&page, "document.querySelectorAll('script').length").toInt(), 0);
        QVERIFY(evaluate(&page, "document.title").toString().startsWith(record.planName));
        QVERIFY(
            evaluate(&page, "document.body.innerText").toString().contains(QStringLiteral("Speed <ripple>")));
        QVERIFY2(page.problems.isEmpty(), qPrintable(page.problems.join('\n')));
    }
}

void TestHtmlReport::unreadableRecordingIsExplained() {
    const QString svg = HtmlReport::captureSvg("time,a\r\n0,<b>\r\n", QStringLiteral("x"));
    QVERIFY(!svg.contains(QStringLiteral("<svg")));
    QVERIFY(svg.contains(QStringLiteral("&lt;b&gt;")));
}

int main(int argc, char* argv[]) {
    // The browser engine wants shared OpenGL contexts before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestHtmlReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_htmlreport.moc"
