#include "commission/junitreport.h"

#include "commission/reporttext.h"

#include <QXmlStreamWriter>

namespace {

// XML 1.0 cannot carry most control characters; a motor's text entry may hold any byte.
QString clean(QString text) {
    for (QChar& c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\r') && c != QLatin1Char('\t'))
            c = QChar(0xFFFD);
        else if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            c = QChar(0xFFFD);
    }
    return text;
}

QString seconds(double s) {
    return QString::number(s, 'f', 3);
}

// What a reader of the CI server needs to see for a step: its measurements, then its log.
QString stepText(const StepRecord& step) {
    QStringList lines;
    for (const Measurement& m : step.measurements) {
        QString line = QStringLiteral("%1 = %2").arg(m.name, ReportText::value(m));
        const QString limits = ReportText::limits(m);
        if (!limits.isEmpty())
            line += QStringLiteral("  [%1]").arg(limits);
        line += QStringLiteral("  %1").arg(Outcomes::name(m.outcome));
        lines << line;
    }
    for (const QString& l : step.log)
        lines << l;
    return lines.join(QLatin1Char('\n'));
}

void writeCase(QXmlStreamWriter& xml, const QString& classname, const StepRecord& step) {
    xml.writeStartElement(QStringLiteral("testcase"));
    xml.writeAttribute(QStringLiteral("name"),
                       clean(QStringLiteral("%1. %2").arg(step.index).arg(step.title)));
    xml.writeAttribute(QStringLiteral("classname"), clean(classname));
    xml.writeAttribute(QStringLiteral("time"), seconds(step.seconds));
    const QString message = step.message.isEmpty() ? Outcomes::name(step.outcome) : step.message;
    switch (step.outcome) {
        case Outcome::Fail:
        case Outcome::Error:
            xml.writeStartElement(step.outcome == Outcome::Fail ? QStringLiteral("failure")
                                                                : QStringLiteral("error"));
            xml.writeAttribute(QStringLiteral("message"), clean(message));
            xml.writeAttribute(QStringLiteral("type"), Outcomes::name(step.outcome));
            xml.writeCharacters(clean(stepText(step)));
            xml.writeEndElement();
            break;
        case Outcome::Skipped:
            xml.writeStartElement(QStringLiteral("skipped"));
            xml.writeAttribute(QStringLiteral("message"), clean(message));
            xml.writeEndElement();
            break;
        case Outcome::Pass:
        case Outcome::Marginal:
            break;
    }
    QString out = stepText(step);
    if (step.outcome == Outcome::Marginal)
        out = QStringLiteral("MARGINAL\n") + out;
    if (!out.isEmpty())
        xml.writeTextElement(QStringLiteral("system-out"), clean(out));
    xml.writeEndElement();
}

void writeProperty(QXmlStreamWriter& xml, const QString& name, const QString& value) {
    xml.writeStartElement(QStringLiteral("property"));
    xml.writeAttribute(QStringLiteral("name"), name);
    xml.writeAttribute(QStringLiteral("value"), clean(value));
    xml.writeEndElement();
}

struct Counts {
    int tests = 0, failures = 0, errors = 0, skipped = 0;
    double seconds = 0;
    void add(const StepRecord& s) {
        ++tests;
        failures += s.outcome == Outcome::Fail;
        errors += s.outcome == Outcome::Error;
        skipped += s.outcome == Outcome::Skipped;
        seconds += s.seconds;
    }
    void writeTo(QXmlStreamWriter& xml) const {
        xml.writeAttribute(QStringLiteral("tests"), QString::number(tests));
        xml.writeAttribute(QStringLiteral("failures"), QString::number(failures));
        xml.writeAttribute(QStringLiteral("errors"), QString::number(errors));
        xml.writeAttribute(QStringLiteral("skipped"), QString::number(skipped));
        xml.writeAttribute(QStringLiteral("time"), QString::number(seconds, 'f', 3));
    }
};

}  // namespace

QByteArray JUnitReport::render(const RunRecord& record) {
    QVector<MotorRecord> motors = record.motors;
    QVector<QString> names;
    for (const MotorRecord& m : motors)
        names << ReportText::mcuId(m.mcuId);
    if (motors.isEmpty()) {
        MotorRecord bus;
        StepRecord step;
        step.index = 1;
        step.kind = QStringLiteral("detect");
        step.title = tr("Detect the motors");
        step.outcome = Outcome::Error;
        step.message = record.message.isEmpty() ? tr("No motor answered.") : record.message;
        step.log << step.message;
        bus.steps << step;
        motors << bus;
        names << QStringLiteral("bus");
    }

    Counts total;
    for (const MotorRecord& m : motors) {
        for (const StepRecord& s : m.steps)
            total.add(s);
    }
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("testsuites"));
    xml.writeAttribute(QStringLiteral("name"), clean(record.planName));
    total.writeTo(xml);
    for (int i = 0; i < motors.size(); ++i) {
        const MotorRecord& motor = motors[i];
        Counts counts;
        for (const StepRecord& s : motor.steps)
            counts.add(s);
        xml.writeStartElement(QStringLiteral("testsuite"));
        xml.writeAttribute(QStringLiteral("name"), names[i]);
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
        xml.writeAttribute(QStringLiteral("hostname"), clean(record.station));
        const QDateTime start = motor.startUtc.isValid() ? motor.startUtc : record.startUtc;
        xml.writeAttribute(QStringLiteral("timestamp"), start.toUTC().toString(Qt::ISODate));
        counts.writeTo(xml);
        xml.writeStartElement(QStringLiteral("properties"));
        writeProperty(xml, QStringLiteral("plan"), record.planName);
        writeProperty(xml, QStringLiteral("plan_sha256"), record.planSha256);
        writeProperty(xml, QStringLiteral("operator"), record.operatorName);
        writeProperty(xml, QStringLiteral("tool_version"), record.toolVersion);
        writeProperty(xml, QStringLiteral("run"), record.uuid);
        if (names[i] != QLatin1String("bus")) {
            writeProperty(xml, QStringLiteral("mcu_id"), names[i]);
            writeProperty(xml, QStringLiteral("can_id"), QString::number(motor.canId));
            writeProperty(xml, QStringLiteral("model"), ReportText::model(motor.modelCode));
            writeProperty(xml, QStringLiteral("firmware"), motor.firmware);
            writeProperty(xml, QStringLiteral("param_sha256"), motor.paramSha256);
            writeProperty(xml, QStringLiteral("outcome"), Outcomes::name(motor.outcome));
        }
        xml.writeEndElement();
        const QString classname = record.planName + QLatin1Char('.') + names[i];
        for (const StepRecord& s : motor.steps)
            writeCase(xml, classname, s);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}
