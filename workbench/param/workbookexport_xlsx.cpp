// The workbook written directly, where no spreadsheet automation exists.
#include "workbench/param/workbookexport.h"

#ifndef Q_OS_WIN

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

namespace WorkbookExport {

namespace {

// Moves the finished workbook to path through a save file: the target is replaced whole or
// not at all, and gets the mode a new file of the user gets (the temporary file is 0600).
bool install(QFile& temp, const QString& path, QString* error) {
    if (!temp.open(QIODevice::ReadOnly)) {
        if (error)
            *error = temp.errorString();
        return false;
    }
    const QByteArray bytes = temp.readAll();
    temp.close();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() ||
        out.error() != QFileDevice::NoError) {
        if (error)
            *error = out.errorString();
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

}  // namespace

bool writeWorkbook(const QString& path, const WorkbookTable& table, QString* error) {
    QTemporaryFile temp(QDir(QDir::tempPath()).filePath(QStringLiteral("trivane-export-XXXXXX.xlsx")));
    if (!temp.open()) {
        if (error)
            *error = temp.errorString();
        return false;
    }
    const QByteArray tempName = QFile::encodeName(temp.fileName());
    temp.close();

    lxw_workbook* workbook = workbook_new(tempName.constData());
    if (!workbook) {
        if (error)
            *error = QStringLiteral("cannot create the workbook");
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* centred = workbook_add_format(workbook);
    format_set_align(centred, LXW_ALIGN_CENTER);
    format_set_align(centred, LXW_ALIGN_VERTICAL_CENTER);
    // Numbers keep the decimals the table showed them with: one format per count.
    QHash<int, lxw_format*> numberFormats;
    auto numberFormat = [&](int decimals) {
        if (decimals < 0)
            return static_cast<lxw_format*>(nullptr);
        lxw_format*& format = numberFormats[decimals];
        if (!format) {
            format = workbook_add_format(workbook);
            const QByteArray pattern =
                decimals == 0 ? QByteArray("0") : "0." + QByteArray(qMin(decimals, 30), '0');
            format_set_num_format(format, pattern.constData());
        }
        return format;
    };
    worksheet_set_row(sheet, 0, 20, nullptr);
    for (int c = 0; c < table.headers.size(); ++c) {
        const int width = c < table.widths.size() ? table.widths[c] / 8 : 12;
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr);
        worksheet_write_string(sheet, 0, lxw_col_t(c), table.headers[c].toUtf8().constData(), centred);
    }
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        for (int c = 0; c < row.size(); ++c) {
            const auto number = table.isNumberCell(r, c) ? numberOf(row[c]) : std::nullopt;
            if (number) {
                worksheet_write_number(sheet, lxw_row_t(r + 1), lxw_col_t(c), *number,
                                       numberFormat(decimalsOf(row[c])));
            } else {
                worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c), row[c].toUtf8().constData(),
                                       nullptr);
            }
        }
    }
    const lxw_error result = workbook_close(workbook);
    if (result != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromLatin1(lxw_strerror(result));
        return false;
    }
    return install(temp, path, error);
}

}  // namespace WorkbookExport

#endif
