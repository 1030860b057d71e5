#include "framework/log/logclock.h"
#include "framework/log/qflog.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <QtTest>

#include <mutex>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace kx;

namespace {

QDateTime g_now;
QDateTime fixedNow() {
    return g_now;
}

std::mutex g_messagesLock;
QStringList g_messages;

void captureMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    std::lock_guard<std::mutex> guard(g_messagesLock);
    g_messages.append(message);
}

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Points stderr at a terminal (a pseudo-terminal) or at a plain file for one scope: the
// console's colour codes depend on which it is.
class StderrTo {
public:
    enum Kind { Terminal, File };
    explicit StderrTo(Kind kind) : m_saved(dup(STDERR_FILENO)) {
        fflush(stderr);
        int fd = -1;
        if (kind == Terminal) {
            m_master = posix_openpt(O_RDWR | O_NOCTTY);
            if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
                fd = open(ptsname(m_master), O_RDWR | O_NOCTTY);
        } else {
            fd = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600);
        }
        if (fd >= 0) {
            dup2(fd, STDERR_FILENO);
            close(fd);
        }
    }
    ~StderrTo() {
        fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        if (m_master >= 0)
            close(m_master);
    }

private:
    int m_saved;
    int m_master = -1;
};

}  // namespace

class TestLog : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QDir::setCurrent(m_dir->path());
        g_now = QDateTime(QDate(2026, 1, 31), QTime(9, 15, 2, 347));
        LogClock::setSource(&fixedNow);
        g_messages.clear();
        m_previousHandler = qInstallMessageHandler(&captureMessage);
    }

    void cleanup() {
        qInstallMessageHandler(m_previousHandler);
        LogClock::setSource(nullptr);
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    void levelsWriteTaggedColouredLines_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QString>("tag");
        QTest::newRow("error") << 0 << "\33[31m"
                               << "[E|01/31 09:15:02.347]";
        QTest::newRow("warning") << 1 << "\33[33m"
                                 << "[W|01/31 09:15:02.347]";
        QTest::newRow("information") << 2 << "\33[36m"
                                     << "[I|01/31 09:15:02.347]";
        QTest::newRow("structure") << 3 << "\33[35m"
                                   << "[S|01/31 09:15:02.347]";
    }

    void levelsWriteTaggedColouredLines() {
        QFETCH(int, level);
        QFETCH(QString, colour);
        QFETCH(QString, tag);
        auto log = [level] {
            QFLog statement = level == 0 ? logE() : level == 1 ? logW() : level == 2 ? logI() : logS();
            statement << "cannot read json file: " << QStringLiteral("\"a.json\"") << 42 << QVariant(1.5);
        };
        const QString text = QStringLiteral("cannot read json file: \"a.json\"421.5");
        {
            const StderrTo terminal(StderrTo::Terminal);
            log();
        }
        QCOMPARE(g_messages, QStringList{colour + tag + text + QStringLiteral("\33[0m")});
        // Into a file or a pipe the line goes without colour codes; the log file never has them.
        g_messages.clear();
        {
            const StderrTo file(StderrTo::File);
            log();
        }
        QCOMPARE(g_messages, QStringList{tag + text});
        QCOMPARE(readLines(QStringLiteral("log/global_20260131.log")), (QStringList{tag + text, tag + text}));
    }

    void spacedStatementSeparatesPiecesOnly() {
        const StderrTo terminal(StderrTo::Terminal);
        logE().space() << "<mobj><" << static_cast<QObject*>(nullptr) << "> attempt" << 7;
        const QString text = QStringLiteral("<mobj>< QObject(0x0) > attempt 7");
        QCOMPARE(readLines(QStringLiteral("log/global_20260131.log")),
                 QStringList{QStringLiteral("[E|01/31 09:15:02.347]") + text});
        QCOMPARE(g_messages.value(0), QStringLiteral("\33[31m[E|01/31 09:15:02.347]") + text + "\33[0m");
    }

    void objectPointersPrintWithClassAndAddress() {
        QObject object;
        logI() << "changer " << &object;
        const QString line = readLines(QStringLiteral("log/global_20260131.log")).value(0);
        QVERIFY2(line.contains(QRegularExpression(QStringLiteral("changer QObject\\(0x[0-9a-f]+\\)$"))),
                 qPrintable(line));
        QVERIFY(g_messages.value(0).contains(QStringLiteral("changer QObject(0x")));
    }

    void statementsAppendToTheFileOfTheDay() {
        QVERIFY(!QDir(QStringLiteral("log")).exists());
        logI() << "first";
        logI() << "second";
        QCOMPARE(readLines(QStringLiteral("log/global_20260131.log")).size(), 2);

        g_now = QDateTime(QDate(2026, 1, 31), QTime(23, 59, 59, 999));
        logW() << "before midnight";
        g_now = QDateTime(QDate(2026, 2, 1), QTime(0, 0, 0, 1));
        logW() << "after midnight";
        QCOMPARE(readLines(QStringLiteral("log/global_20260131.log")).last(),
                 QStringLiteral("[W|01/31 23:59:59.999]before midnight"));
        QCOMPARE(readLines(QStringLiteral("log/global_20260201.log")),
                 QStringList{QStringLiteral("[W|02/01 00:00:00.001]after midnight")});
    }

    void unwritableLogCostsOnlyTheFileLine_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("log is a regular file") << "log";
        QTest::newRow("day file is a directory") << "log/global_20260131.log";
    }

    void unwritableLogCostsOnlyTheFileLine() {
        QFETCH(QString, obstacle);
        if (obstacle == QLatin1String("log")) {
            QFile file(obstacle);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(obstacle));
        }
        logE() << "still on the console";
        QCOMPARE(g_messages.size(), 1);
        QVERIFY(g_messages.first().contains(QStringLiteral("still on the console")));
    }

    void copiedConsoleLineIsFinishedOnce() {
        const StderrTo terminal(StderrTo::Terminal);
        {
            QLog first(QStringLiteral("\33[36m"), QStringLiteral("[I|x]"), QStringLiteral("note:"));
            QLog second(first);
            second << QStringLiteral("shared");
            first << QStringLiteral(" line");
        }
        QCOMPARE(g_messages, QStringList{QStringLiteral("\33[36m[I|x]note:shared line\33[0m")});
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
    QtMessageHandler m_previousHandler = nullptr;
};

QTEST_GUILESS_MAIN(TestLog)
#include "tst_log.moc"
