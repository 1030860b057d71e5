// The workbook through the spreadsheet application's automation interface (Windows only).
#include "workbench/param/workbookexport.h"

#ifdef Q_OS_WIN

#include <QAxObject>
#include <QDir>

namespace WorkbookExport {

bool writeWorkbook(const QString& path, const WorkbookTable& table, QString* error) {
    QAxObject excel;
    if (!excel.setControl(QStringLiteral("Excel.Application"))) {
        if (error)
            *error = QStringLiteral("the spreadsheet application cannot be started");
        return false;
    }
    excel.dynamicCall("SetVisible (bool Visible)", false);
    excel.setProperty("DisplayAlerts", false);
    QAxObject* workbooks = excel.querySubObject("WorkBooks");
    workbooks->dynamicCall("Add");
    QAxObject* workbook = excel.querySubObject("ActiveWorkBook");
    QAxObject* sheet = workbook->querySubObject("Worksheets(int)", 1);
    constexpr int kCentred = -4108;
    for (int c = 0; c < table.headers.size(); ++c) {
        QAxObject* cell = sheet->querySubObject("Cells(int,int)", 1, c + 1);
        cell->setProperty("RowHeight", 20);
        cell->setProperty("ColumnWidth", c < table.widths.size() ? table.widths[c] / 8 : 12);
        cell->setProperty("HorizontalAlignment", kCentred);
        cell->setProperty("VerticalAlignment", kCentred);
        cell->dynamicCall("SetValue(const QString&)", table.headers[c]);
    }
    for (int r = 0; r < table.rows.size(); ++r) {
        for (int c = 0; c < table.rows[r].size(); ++c) {
            QAxObject* cell = sheet->querySubObject("Cells(int,int)", r + 2, c + 1);
            const auto number = table.isNumberCell(r, c) ? numberOf(table.rows[r][c]) : std::nullopt;
            if (number)
                cell->dynamicCall("SetValue(const QVariant&)", QVariant(*number));
            else
                cell->dynamicCall("SetValue(const QString&)", table.rows[r][c]);
        }
    }
    workbook->dynamicCall("SaveAs(const QString&)", QDir::toNativeSeparators(path));
    workbook->dynamicCall("Close()");
    excel.dynamicCall("Quit()");
    return true;
}

}  // namespace WorkbookExport

#endif
