// The workbook written directly, where no spreadsheet automation exists.
#include "workbench/param/workbookexport.h"

#ifndef Q_OS_WIN

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

#include <xlsxwriter.h>

namespace WorkbookExport {

bool writeWorkbook(const QString& path, const WorkbookTable& table, QString* error) {
    // Written beside the target and renamed over it: a failed export never leaves half a file
    // where a good one was.
    const QFileInfo target(path);
    QTemporaryFile temp(target.absoluteDir().filePath(QStringLiteral(".export-XXXXXX.xlsx")));
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
    worksheet_set_row(sheet, 0, 20, nullptr);
    for (int c = 0; c < table.headers.size(); ++c) {
        const int width = c < table.widths.size() ? table.widths[c] / 8 : 12;
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr);
        worksheet_write_string(sheet, 0, lxw_col_t(c), table.headers[c].toUtf8().constData(), centred);
    }
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        for (int c = 0; c < row.size(); ++c)
            worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c), row[c].toUtf8().constData(),
                                   nullptr);
    }
    const lxw_error result = workbook_close(workbook);
    if (result != LXW_NO_ERROR) {
        QFile::remove(temp.fileName());
        if (error)
            *error = QString::fromLatin1(lxw_strerror(result));
        return false;
    }
    if (std::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temp.fileName());
        if (error)
            *error = QStringLiteral("cannot replace %1").arg(path);
        return false;
    }
    return true;
}

}  // namespace WorkbookExport

#endif
