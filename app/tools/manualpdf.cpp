// Renders the user manual (GitHub-flavoured Markdown) to an A4 PDF at build time.
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: trivane-manual MANUAL.md OUT.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(in.readAll());

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setTitle(QStringLiteral("Trivane user manual"));
    writer.setCreator(QStringLiteral("Trivane"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));

    QTextDocument document;
    // Fixed faces: the offscreen and X11 platforms would otherwise pick different defaults.
    QFont body(QStringLiteral("DejaVu Sans"), 10);
    document.setDefaultFont(body);
    document.setDefaultStyleSheet(QStringLiteral("code, pre { font-family: 'DejaVu Sans Mono'; }"));
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    document.documentLayout()->setPaintDevice(&writer);
    document.setDocumentMargin(0);
    document.setPageSize(writer.pageLayout().paintRectPixels(writer.resolution()).size());
    document.print(&writer);
    return 0;
}
