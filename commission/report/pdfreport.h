#pragma once

#include <QCoreApplication>
#include <QByteArray>
#include <QString>

#include "commission/runrecord.h"

// One motor's report as PDF: the same content as the HTML report, laid out by QTextDocument on
// A4 pages with a footer, the captures drawn as vector plots. Needs a QGuiApplication (fonts);
// a command-line tool creates one on the offscreen platform.
class PdfReport {
    Q_DECLARE_TR_FUNCTIONS(PdfReport)

public:
    static QByteArray render(const RunRecord& record, int motorIndex);
};
