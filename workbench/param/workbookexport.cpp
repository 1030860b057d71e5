#include "workbench/param/workbookexport.h"

#include "framework/data/atomicfile.h"

#include <QDesktopServices>
#include <QLocale>
#include <QUrl>

#include <cmath>

namespace WorkbookExport {

namespace {

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray csvLine(const QStringList& cells) {
    QStringList fields;
    for (const QString& cell : cells)
        fields << csvField(cell);
    return fields.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

}  // namespace

bool writeCsv(const QString& path, const WorkbookTable& table, QString* error) {
    // A byte-order mark first: spreadsheet programs read the Chinese headers as UTF-8 then.
    QByteArray text = "\xEF\xBB\xBF" + csvLine(table.headers);
    for (const QStringList& row : table.rows)
        text += csvLine(row);
    return kx::AtomicFile::writeAll(path, text, error);
}

bool openFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::optional<double> numberOf(const QString& text) {
    bool ok = false;
    const QString t = text.trimmed();
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const bool whole = !t.contains(QLatin1Char('.')) && !t.contains(QLatin1Char('e'), Qt::CaseInsensitive);
    if (whole && std::fabs(value) > 9007199254740992.0)  // 2^53
        return std::nullopt;
    return value;
}

int decimalsOf(const QString& text) {
    const QString t = text.trimmed();
    if (t.contains(QLatin1Char('e'), Qt::CaseInsensitive))
        return -1;
    const int dot = t.indexOf(QLatin1Char('.'));
    return dot < 0 ? 0 : t.size() - dot - 1;
}

}  // namespace WorkbookExport
