#include "workbench/param/workbookexport.h"

#include "framework/data/atomicfile.h"

#include <QDesktopServices>
#include <QUrl>

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
    QByteArray text = csvLine(table.headers);
    for (const QStringList& row : table.rows)
        text += csvLine(row);
    return kx::AtomicFile::writeAll(path, text, error);
}

bool openFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace WorkbookExport
