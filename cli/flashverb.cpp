#include "cli/flashverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "link/flows/firmwareflow.h"
#include "link/firmware/firmwareupdate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

const CliVerbRegistrar<FlashVerb> registrar;

QString tr(const char* text) {
    return QCoreApplication::translate("FlashVerb", text);
}

QString clock(double seconds) {
    const int s = int(seconds + 0.5);
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

// Progress on stderr: on a terminal one line rewritten in place at most four times a second;
// into a file or a pipe plain lines, one per tenth of the image, without control codes.
class ProgressLine {
    Q_DECLARE_TR_FUNCTIONS(ProgressLine)

public:
    ProgressLine() : m_terminal(isatty(fileno(stderr)) != 0) {}
    void erasing() { print(tr("Erasing flash...")); }
    void start() { m_clock.start(); }
    void update(quint32 index, quint32 count) {
        if (!m_clock.isValid())
            return;
        const int percent = int(quint64(index) * 100 / qMax<quint32>(1, count));
        if (m_terminal) {
            if (m_shown.isValid() && m_shown.elapsed() < 250 && index < count)
                return;
        } else if (percent / 10 == m_lastTenth / 10 && index < count) {
            return;
        }
        m_shown.start();
        m_lastTenth = percent;
        const double seconds = qMax(0.001, m_clock.elapsed() / 1000.0);
        const double rate = index / seconds;
        const QString left = rate > 0 ? clock((count - index) / rate) : QStringLiteral("--:--");
        print(tr("%1% %2 packets/s %3 left").arg(percent, 3).arg(rate, 0, 'f', 0).arg(left));
    }
    void end() {
        if (m_open)
            std::fputs("\n", stderr);
        m_open = false;
    }

private:
    void print(const QString& text) {
        if (!m_terminal) {
            const QByteArray line = text.toUtf8() + '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
            return;
        }
        const QByteArray line = "\r" + text.toUtf8() + "\033[K";
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
        m_open = true;
    }
    const bool m_terminal;
    QElapsedTimer m_clock;
    QElapsedTimer m_shown;
    int m_lastTenth = -10;
    bool m_open = false;
};

}  // namespace

QString FlashVerb::synopsis() const {
    return QStringLiteral(
        "flash <file> --port <device> [--baud <rate>]|--bus <plugin:interface> [--can-id <id>] [--multi] "
        "[--json]");
}

QString FlashVerb::description() const {
    return tr(
        "Send a firmware image (.bin/.hex, at most 512 KiB) to the target motor; succeeds only\n"
        "when the motor's end check accepts it. Progress (percent, packets/s, time left) on stderr.");
}

int FlashVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    LinkSession session;
    session.addOptions(&parser);
    parser.addPositionalArgument(QStringLiteral("file"), tr("The firmware image."));
    if (const int code = session.parseCommandLine(&parser, arguments); code >= 0)
        return code;
    QString error;
    if (parser.positionalArguments().size() != 1)
        return session.usageError(tr("flash expects one file."));
    // A file no motor may take is refused before the port is opened, let alone the flash erased.
    QByteArray image;
    if (!FirmwareUpdate::readImage(parser.positionalArguments().first(), &image, &error))
        return session.fail(error);
    if (!session.open())
        return session.finish(false);

    FirmwareFlow flow(session.targetId(), image);
    ProgressLine line;
    QObject::connect(&flow, &FirmwareFlow::erasing, [&line] { line.erasing(); });
    QObject::connect(&flow, &FirmwareFlow::sending, [&line] { line.start(); });
    QObject::connect(&flow, &FirmwareFlow::packets,
                     [&line](quint32 index, quint32 count) { line.update(index, count); });
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    line.end();
    const bool ok = report.result == FirmwareFlow::Result::Succeeded;
    if (ok && !session.json())
        LinkSession::printOut(report.message);
    else if (!ok)
        LinkSession::printErr(report.message);
    session.addResult(QStringLiteral("result"), report.message);
    // What the motor acknowledged, not what the image holds.
    session.addResult(QStringLiteral("packets"), qint64(report.packets));
    session.addResult(QStringLiteral("image_packets"), qint64(report.imagePackets));
    session.addResult(QStringLiteral("resends"), qint64(report.resends));
    session.addResult(QStringLiteral("seconds"), report.seconds);
    return session.finish(ok);
}
