#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The exported parameter table: a header row and data rows of text cells.
struct WorkbookTable {
    QStringList headers;
    QVector<int> widths;  // header cell widths in pixels; a spreadsheet column is width / 8
    QVector<QStringList> rows;
};

// Writing the parameter table to a file. The workbook is the platform's part: on Windows the
// spreadsheet application's automation interface (workbookexport_win.cpp), elsewhere a
// workbook written directly (workbookexport_xlsx.cpp). Both lay the cells out alike: header
// row 20 points high with centred cells and the seven column widths, data from row 2.
namespace WorkbookExport {

// A spreadsheet workbook. The file appears complete or not at all.
bool writeWorkbook(const QString& path, const WorkbookTable& table, QString* error);
// Comma-separated values with a header line, written atomically.
bool writeCsv(const QString& path, const WorkbookTable& table, QString* error);
// Opens the file with the desktop's default handler.
bool openFile(const QString& path);

}  // namespace WorkbookExport
