#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <csignal>

namespace {

struct Crash {
    QString output;
    int status = -1;  // the shell's exit status: 128 + signal for a death by signal
    QString directory;
};

// Runs the helper in dir through a shell, which reports how the helper ended.
Crash crash(const QString& dir, const QString& mode) {
    QProcess process;
    process.setWorkingDirectory(dir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("\"$0\" \"$1\"; echo \"exit status: $?\""),
                   QStringLiteral(CRASH_HELPER), mode});
    Crash result;
    result.directory = dir;
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.output = QString::fromUtf8(process.readAll());
    const QRegularExpressionMatch status =
        QRegularExpression(QStringLiteral("exit status: (\\d+)")).match(result.output);
    if (status.hasMatch()) {
        result.status = status.captured(1).toInt();
    }
    return result;
}

int crashSite(const QString& output) {
    return QRegularExpression(QStringLiteral("crash site: (\\d+)")).match(output).captured(1).toInt();
}

// The position of the first line matching pattern at or after from, or -1.
int lineAt(const QStringList& lines, const QString& pattern, int from) {
    const QRegularExpression expression(pattern);
    for (int i = qMax(from, 0); i < lines.size(); ++i) {
        if (expression.match(lines.at(i)).hasMatch()) {
            return i;
        }
    }
    return -1;
}

bool validXml(const QString& path, QString* text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    *text = QString::fromUtf8(bytes);
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd()) {
        reader.readNext();
    }
    return !reader.hasError();
}

}  // namespace

class TestCrash : public QObject {
    Q_OBJECT

private slots:
    void reportAndDump_data();
    void reportAndDump();
    void faultInsideTheDumpEndsTheProcess();
    void stalledDumpIsCutByTheTimer();
};

void TestCrash::reportAndDump_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("codeLine");
    QTest::addColumn<QString>("function");
    QTest::addColumn<bool>("exactLine");

    QTest::newRow("division by zero")
        << "divide" << SIGFPE << QStringLiteral("Exception Code :c0000094 INT_DIVIDE_BY_ZERO(整数除0异常)")
        << "divideByZero" << true;
    QTest::newRow("null pointer") << "null" << SIGSEGV
                                  << QStringLiteral("Exception Code :c0000005 ACCESS_VIOLATION(读写内存非法)")
                                  << "dereferenceNull" << true;
    QTest::newRow("stack overflow") << "overflow" << SIGSEGV
                                    << QStringLiteral("Exception Code :c00000fd STACK_OVERFLOW(栈溢出)")
                                    << "overflowStack" << false;
    QTest::newRow("stack overflow on another thread")
        << "thread-overflow" << SIGSEGV << QStringLiteral("Exception Code :c00000fd STACK_OVERFLOW(栈溢出)")
        << "overflowStack" << false;
    QTest::newRow("abort") << "abort" << SIGABRT << QStringLiteral("Exception Code :00000006 Aborted")
                           << "abortNow" << true;
    // A signal raised rather than caused by the processor keeps its own number and description.
    QTest::newRow("raised signal") << "raise" << SIGSEGV
                                   << QStringLiteral("Exception Code :0000000b Segmentation fault")
                                   << "raiseSegmentationSignal" << true;
}

void TestCrash::reportAndDump() {
    QFETCH(QString, mode);
    QFETCH(int, signal);
    QFETCH(QString, codeLine);
    QFETCH(QString, function);
    QFETCH(bool, exactLine);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Crash result = crash(dir.path(), mode);
    // Dead by the original signal, so core dumps and desktop crash handlers still see it.
    QCOMPARE(result.status, 128 + signal);

    const QStringList lines = result.output.split(QLatin1Char('\n'));
    const int error =
        lineAt(lines,
               QStringLiteral("^\\S*\\[E\\|\\d\\d/\\d\\d [\\d:.]+\\]crash thread: \\d+ \\(crashhelper\\), "
                              "main thread: \\d+ \\(crashhelper\\)"),
               0);
    const int exceptions = lineAt(lines, QStringLiteral("^Exceptions:$"), 0);
    const int code =
        lineAt(lines, QStringLiteral("^") + QRegularExpression::escape(codeLine) + QStringLiteral("$"), 0);
    const bool inLibc = mode == QLatin1String("abort") || mode == QLatin1String("raise");
    const QString module = inLibc ? QStringLiteral("libc") : QStringLiteral("crashhelper");
    const int fault = lineAt(
        lines, QStringLiteral("^Fault address:  [0-9A-F]{8,} [0-9A-F]{2}:[0-9A-F]{8,} /\\S*") + module, 0);
    const int stack = lineAt(lines, QStringLiteral("^Show CallStack:$"), 0);
    QVERIFY2(error >= 0 && exceptions > error && code > exceptions, qPrintable(result.output));
    QVERIFY2(fault == code + 1 && lines.value(fault + 1).isEmpty() && stack == fault + 2,
             qPrintable(result.output));

    // The crashing function with its real source file and line.
    const QString frame =
        QStringLiteral("^[0-9a-f]{8,}:.*%1.* \\[\\S*crashhelper\\.cpp\\]\\[(\\d+)\\]$").arg(function);
    const int frameLine = lineAt(lines, frame, stack);
    QVERIFY2(frameLine > stack, qPrintable(result.output));
    const int line = QRegularExpression(frame).match(lines.at(frameLine)).captured(1).toInt();
    if (exactLine) {
        QCOMPARE(line, crashSite(result.output));
    } else {
        QVERIFY(line > 0);
    }

    // The same report in the log file, tagged.
    const QStringList logs =
        QDir(dir.filePath(QStringLiteral("log"))).entryList({QStringLiteral("global_*.log")});
    QCOMPARE(logs.size(), 1);
    QFile log(dir.filePath(QStringLiteral("log/") + logs.first()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString logText = QString::fromUtf8(log.readAll());
    QVERIFY(logText.contains(QStringLiteral("]Exceptions:\n")));
    QVERIFY(logText.contains(QStringLiteral("]") + codeLine + QStringLiteral("\n")));

    // One file per top-level node, in a directory the first dump created.
    QCOMPARE(QDir(dir.filePath(QStringLiteral("crash"))).entryList(QDir::Files, QDir::Name),
             QStringList({QStringLiteral("config.icex"), QStringLiteral("project.icex"),
                          QStringLiteral("wnd.icex")}));
    QString config;
    QVERIFY(validXml(dir.filePath(QStringLiteral("crash/config.icex")), &config));
    QVERIFY(config.contains(QStringLiteral("921600")));
    QString wnd;
    QVERIFY(validXml(dir.filePath(QStringLiteral("crash/wnd.icex")), &wnd));
    QVERIFY(wnd.contains(QStringLiteral("ready &amp; &lt;set&gt;")));
}

void TestCrash::faultInsideTheDumpEndsTheProcess() {
    // The abort's report is written; the fault while dumping "wnd" ends the process at once,
    // by the abort, without a second report.
    QTemporaryDir dir;
    const Crash result = crash(dir.path(), QStringLiteral("nested"));
    QCOMPARE(result.status, 128 + SIGABRT);
    QCOMPARE(result.output.count(QStringLiteral("Exceptions:")), 1);
    QVERIFY(result.output.contains(QStringLiteral("Show CallStack:")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("crash/config.icex"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("crash/wnd.icex"))));
}

void TestCrash::stalledDumpIsCutByTheTimer() {
    QTemporaryDir dir;
    const Crash result = crash(dir.path(), QStringLiteral("hang"));
    QCOMPARE(result.status, 128 + SIGSEGV);
    QVERIFY(result.output.contains(QStringLiteral("crash report time limit reached")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("crash/config.icex"))));
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
