#include "commission/reporttext.h"

namespace {

QString number(double v) {
    return QString::number(v, 'g', 6);
}

}  // namespace

QString ReportText::mcuId(quint64 id) {
    return QString::number(id, 16);
}

QString ReportText::time(const QDateTime& utc) {
    return utc.isValid()
               ? utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" UTC")
               : QString();
}

QString ReportText::fileTime(const QDateTime& utc) {
    return utc.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

QString ReportText::duration(double seconds) {
    if (seconds < 1)
        return tr("%1 ms").arg(qRound(seconds * 1000));
    return tr("%1 s").arg(QString::number(seconds, 'f', seconds < 100 ? 2 : 0));
}

QString ReportText::value(const Measurement& m) {
    if (!m.numeric)
        return m.text;
    const QString v = number(m.value);
    return m.unit.isEmpty() ? v : v + QLatin1Char(' ') + m.unit;
}

QString ReportText::limits(const Measurement& m) {
    if (!m.numeric)
        return m.expected;
    QString text;
    if (m.hasLow && m.hasHigh)
        text = m.low == m.high ? QStringLiteral("= %1").arg(number(m.low))
                               : QStringLiteral("%1 .. %2").arg(number(m.low), number(m.high));
    else if (m.hasHigh)
        text = QStringLiteral("<= %1").arg(number(m.high));
    else if (m.hasLow)
        text = QStringLiteral(">= %1").arg(number(m.low));
    if (!text.isEmpty() && !m.unit.isEmpty())
        text += QLatin1Char(' ') + m.unit;
    if (m.marginal > 0)
        text += tr(" (marginal within %1 of a limit)").arg(number(m.marginal));
    return text;
}

QString ReportText::model(int code) {
    return code < 0 ? tr("unknown") : QString::number(code);
}

QString ReportText::motorTitle(const MotorRecord& motor) {
    return tr("Motor %1 (CAN ID %2)").arg(mcuId(motor.mcuId)).arg(motor.canId);
}

QString ReportText::motorFileStem(const MotorRecord& motor, const QDateTime& runStart) {
    return mcuId(motor.mcuId) + QLatin1Char('-') +
           fileTime(motor.startUtc.isValid() ? motor.startUtc : runStart);
}

QString ReportText::attachmentFile(const MotorRecord& motor, const Attachment& attachment) {
    // Only the name's last part: a record read from a file must not write outside its folder.
    QString name = attachment.name.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name = QStringLiteral("attachment") + name;
    return mcuId(motor.mcuId) + QLatin1Char('-') + name;
}
