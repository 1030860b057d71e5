// Each language shows one language: every text has its translation in both files, and a walk
// through every screen of the real program, without hardware and then with the simulated
// bench, finds no text of the other script.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#define TRIVANE_SIM_PATH TRIVANE_BIN_DIR "/trivane-sim"
#include "tests/link/simbench.h"

namespace {

const QRegularExpression kCjk(QStringLiteral("[\\x{3000}-\\x{303f}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

// Latin words a Chinese screen may show as they are. Keep it short: every entry is a word no
// Chinese engineer reads translated.
const QStringList kLatinAllowed = {
    // units
    "rad", "s", "ms", "Hz", "A", "V", "N", "m", "nm", "rpm", "kg", "KiB",
    // bus, protocol and control terms written in Latin letters in Chinese too
    "CAN", "ID", "MCU", "MIT", "PP", "CSP", "JOG", "COM", "USB", "AT", "Kp", "Kd",
    // file kinds
    "CSV", "TXT", "JSON", "PDF",
    // product, platform and the English language's own name in the language menu
    "Trivane", "Quellon", "Linux", "English"};

// Chinese a English screen may show: only the Chinese language's own name in the language
// menu, so that a reader of Chinese finds it.
const QStringList kCjkAllowed = {QStringLiteral("中文")};

// Words of Latin letters that are not on the allowed list. Tokens with digits (hex values,
// versions, model and port names), paths and file patterns are data, not words.
QStringList foreignWords(const QString& text) {
    static const QRegularExpression edges(QStringLiteral("^[\\s\\p{P}\\p{S}]+|[\\s\\p{P}\\p{S}]+$"));
    static const QRegularExpression letters(QStringLiteral("[A-Za-z]+"));
    QStringList words;
    for (QString token : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        if (token.startsWith(QLatin1Char('/')) || token.startsWith(QLatin1String("./")) ||
            token.contains(QLatin1Char('*')))
            continue;
        // Protocol identifiers (ANNOUNCE_DEVID) and decoded fields (mode=reset) are data too.
        if (token.contains(QLatin1Char('_')) || token.contains(QLatin1Char('=')))
            continue;
        token.remove(edges);
        static const QRegularExpression number(QStringLiteral("[0-9]|^[0-9a-fA-F]{2}$"));
        if (token.contains(number))
            continue;
        auto it = letters.globalMatch(token);
        while (it.hasNext()) {
            const QString word = it.next().captured();
            if (!kLatinAllowed.contains(word)) {
                words << token;
                break;
            }
        }
    }
    return words;
}

struct Shown {
    QString screen;
    QString kind;
    QString widget;
    QString text;
};

QList<Shown> readTexts(const QString& path) {
    QList<Shown> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return texts;
    while (!file.atEnd()) {
        const QStringList parts = QString::fromUtf8(file.readLine()).chopped(1).split(QLatin1Char('\t'));
        if (parts.size() == 4)
            texts.append({parts[0], parts[1], parts[2], parts[3]});
    }
    return texts;
}

// Why a text does not belong on a screen of the language, or nothing.
QString fault(const QString& language, const Shown& s) {
    QString text = s.text;
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    if (language == QLatin1String("en")) {
        for (const QString& allowed : kCjkAllowed)
            text.remove(allowed);
        return text.contains(kCjk) ? QStringLiteral("Chinese") : QString();
    }
    // Mixed texts carry their Latin parts on purpose (names, identifiers).
    if (text.contains(kCjk))
        return QString();
    const QStringList words = foreignWords(text);
    // Widget texts are the program's own words. Item texts and log lines also carry what the
    // motors report (parameter names, values): there, only a sentence counts.
    const bool ownWords = s.kind == QLatin1String("text");
    if (words.isEmpty() || (!ownWords && words.size() < 2))
        return QString();
    return QStringLiteral("Latin: ") + words.join(QLatin1Char(' '));
}

int unfinished(const QString& tsPath, QStringList* sources) {
    QFile file(tsPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QXmlStreamReader xml(&file);
    int count = 0;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") &&
                   xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished")) {
            ++count;
            sources->append(source.left(60));
        }
    }
    return xml.hasError() ? -1 : count;
}

}  // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void rulesTellTheScripts() {
        QCOMPARE(fault("en", {"", "text", "", QString::fromUtf8("位置模式(PP)")}), QStringLiteral("Chinese"));
        QVERIFY(fault("en", {"", "text", "", QString::fromUtf8("中文")}).isEmpty());
        QVERIFY(!fault("zh_CN", {"", "text", "", "Quick Move"}).isEmpty());
        QVERIFY(!fault("zh_CN", {"", "text", "", "Stop"}).isEmpty());
        QVERIFY(
            !fault("zh_CN", {"", "line", "", "3 [2026/12/09 11:07:12] Send Z48 Command LOAD_PARAM to CAN(1)"})
                 .isEmpty());
        QVERIFY(!fault("zh_CN", {"", "text", "", "Binary File(*.bin *.hex)"}).isEmpty());
        for (const char* data : {"CAN ID", "0x3a10c5e700001001", "rad/s", "Trivane v0.0.8", "Kp",
                                 "/tmp/trivane-port", "(*.bin *.hex)", "1.2.0", "41 54 00 07 ea cc 0d 0a"})
            QVERIFY2(fault("zh_CN", {"", "text", "", data}).isEmpty(), data);
        // A motor's parameter names and values are its own.
        QVERIFY(fault("zh_CN", {"", "item", "", "temperature"}).isEmpty());
        QVERIFY(fault("zh_CN", {"", "item", "", "trivane-joint"}).isEmpty());
        QVERIFY(fault("zh_CN", {"", "item", "", "ANNOUNCE_DEVID 4, MOTOR_FEEDBACK 2"}).isEmpty());
        QVERIFY(fault("zh_CN", {"", "item", "", "model-reply a=0 b=2 mode=reset faults=-"}).isEmpty());
        QVERIFY(!fault("zh_CN", {"", "item", "", "motor_mode is not set"}).isEmpty());
        QVERIFY(fault("zh_CN", {"", "text", "", QString::fromUtf8("语言 (Language)")}).isEmpty());
    }

    // lupdate over the sources leaves nothing to translate in either file.
    void everyTextIsTranslated_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("zh_CN") << QStringLiteral("zh_CN");
        QTest::newRow("en") << QStringLiteral("en");
    }

    void everyTextIsTranslated() {
        QFETCH(QString, language);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString source = QStringLiteral(TRIVANE_SOURCE_DIR);
        const QString ts = dir.filePath(language + QStringLiteral(".ts"));
        QVERIFY(QFile::copy(source + QStringLiteral("/app/i18n/") + language + QStringLiteral(".ts"), ts));
        QStringList arguments = {QStringLiteral("-silent"), QStringLiteral("-locations"),
                                 QStringLiteral("none"),    QStringLiteral("-no-obsolete"),
                                 QStringLiteral("-I"),      source};
        for (const char* d :
             {"app", "chrome", "workbench", "scope", "link", "cli", "commission", "records", "framework"}) {
            if (QDir(source + QLatin1Char('/') + QLatin1String(d)).exists())
                arguments << source + QLatin1Char('/') + QLatin1String(d);
        }
        arguments << QStringLiteral("-ts") << ts;
        QProcess lupdate;
        lupdate.start(QStringLiteral(TRIVANE_LUPDATE), arguments);
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        QStringList sources;
        const int left = unfinished(ts, &sources);
        QVERIFY2(left == 0, qPrintable(QStringLiteral("%1 unfinished in %2.ts (scripts/translations.sh "
                                                      "updates both files): %3")
                                           .arg(left)
                                           .arg(language, sources.join(QStringLiteral(" | ")))));
    }

    // The real program walks its own screens and lists what they showed.
    void screensShowOneLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("zh_CN") << QStringLiteral("zh_CN");
        QTest::newRow("en") << QStringLiteral("en");
    }

    void screensShowOneLanguage() {
        QFETCH(QString, language);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        linktest::SimBench bench;
        const QString port = bench.start({QStringLiteral("--motors"), QStringLiteral("2")});
        QVERIFY(!port.isEmpty());

        QFile config(dir.filePath(QStringLiteral("config.xml")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(
            "<?xml version=\"1.0\"?>\n<m><c name=\"setting\">"
            "<c name=\"show_left_sidebar\" type=\"1\" value=\"true\"/>"
            "<c name=\"enable_multiple_devices\" type=\"1\" value=\"true\"/></c></m>\n");
        config.close();
        QVERIFY(QFile::link(QStringLiteral(TRIVANE_BIN_DIR "/i18n"), dir.filePath(QStringLiteral("i18n"))));

        const QString out = dir.filePath(QStringLiteral("walk"));
        QProcess trivane;
        trivane.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TRIVANE_SCREENWALK"), out);
        env.insert(QStringLiteral("TRIVANE_SCREENWALK_PORT"), port);
        env.insert(QStringLiteral("TRIVANE_SCREENWALK_DEVICES"), QStringLiteral("2"));
        trivane.setProcessEnvironment(env);
        trivane.setProcessChannelMode(QProcess::MergedChannels);
        trivane.start(QStringLiteral(TRIVANE_BIN_DIR "/trivane"), {QStringLiteral("--language"), language});
        QVERIFY(trivane.waitForFinished(480000));
        QVERIFY2(trivane.exitCode() == 0, trivane.readAll().right(3000).constData());

        const QList<Shown> texts = readTexts(out + QStringLiteral("/texts.tsv"));
        // The walk went everywhere: without hardware and with both motors.
        QVERIFY(texts.size() > 100);
        QVERIFY(std::any_of(texts.begin(), texts.end(), [](const Shown& s) { return s.screen == "start"; }));
        QVERIFY(std::any_of(texts.begin(), texts.end(),
                            [](const Shown& s) { return s.screen.startsWith(QLatin1String("bench-")); }));
        QStringList faults;
        for (const Shown& s : texts) {
            const QString why = fault(language, s);
            if (!why.isEmpty())
                faults
                    << QStringLiteral("%1 [%2] %3: \"%4\" (%5)").arg(s.screen, s.kind, s.widget, s.text, why);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
