#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The exported parameter table: a header row and data rows of text cells.
struct WorkbookTable {
    QStringList headers;
    QVector<int> widths;  // header cell widths in pixels; a spreadsheet column is width / 8
    QVector<QStringList> rows;
    // Per data row, the columns that hold numbers, stored as numbers in a workbook (so that
    // they sort and sum); every other cell stays text, even one that looks like a number.
    QVector<QVector<int>> numberColumns;

    bool isNumberCell(int row, int column) const {
        return row < numberColumns.size() && numberColumns[row].contains(column);
    }
};

// Writing the parameter table to a file. The workbook is the platform's part: on Windows the
// spreadsheet application's automation interface (workbookexport_win.cpp), elsewhere a
// workbook written directly (workbookexport_xlsx.cpp). Both lay the cells out alike: header
// row 20 points high with centred cells and the seven column widths, data from row 2.
// Files are created like any other file of the user (mode 0666 less the umask), or keep the
// mode of the file they replace.
namespace WorkbookExport {

// A spreadsheet workbook. The file appears complete or not at all.
bool writeWorkbook(const QString& path, const WorkbookTable& table, QString* error);
// Comma-separated values in UTF-8 with a byte-order mark (spreadsheet programs read the
// Chinese headers right only with it), a header line, written atomically.
bool writeCsv(const QString& path, const WorkbookTable& table, QString* error);
// Opens the file with the desktop's default handler.
bool openFile(const QString& path);

// The value of a number cell's text; none where the text is no finite number or a whole
// number a double cannot hold exactly (a 64-bit serial number stays text).
std::optional<double> numberOf(const QString& text);
// Digits after the decimal point of a number's text ("14.0000" has 4), so that the workbook
// shows the number as the table did; -1 for a text in exponent form.
int decimalsOf(const QString& text);

}  // namespace WorkbookExport
