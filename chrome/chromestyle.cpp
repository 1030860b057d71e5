#include "chrome/chromestyle.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <cstdlib>

static void initChromeResources() {
    Q_INIT_RESOURCE(chrome);
}

namespace {
ChromeStyle::Theme g_theme = ChromeStyle::Dark;
}

void ChromeStyle::initResources() {
    initChromeResources();
}

void ChromeStyle::setup() {
    initChromeResources();
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "1");
}

ChromeStyle::Theme ChromeStyle::systemTheme() {
    // Qt 5 exposes no colour-scheme query; GTK desktops name a light or dark theme in
    // GTK_THEME ("Adwaita:dark"). Anything we cannot read keeps the dark default.
    const QString gtk = qEnvironmentVariable("GTK_THEME").toLower();
    if (!gtk.isEmpty() && !gtk.contains(QLatin1String("dark")) && gtk.contains(QLatin1String("light")))
        return Light;
    return Dark;
}

QString ChromeStyle::background(Theme theme) {
    return theme == Dark ? QStringLiteral("#000000") : QStringLiteral("#ffffff");
}

QString ChromeStyle::styleSheet(Theme theme) {
    QFile file(theme == Dark ? QStringLiteral(":/qss/darkstyle.qss")
                             : QStringLiteral(":/qss/lightstyle.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void ChromeStyle::apply(QApplication* app, Theme theme) {
    g_theme = theme;
    app->setStyle(QStyleFactory::create(QStringLiteral("fusion")));
    QPalette palette;
    if (theme == Dark) {
        palette.setColor(QPalette::Window, QColor(0x25, 0x25, 0x26));
        palette.setColor(QPalette::WindowText, QColor(0xd4, 0xd4, 0xd4));
        palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
        palette.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a));
        palette.setColor(QPalette::Text, QColor(0xd4, 0xd4, 0xd4));
        palette.setColor(QPalette::Button, QColor(0x33, 0x33, 0x33));
        palette.setColor(QPalette::ButtonText, QColor(0xd4, 0xd4, 0xd4));
        palette.setColor(QPalette::Highlight, QColor(0xff, 0x69, 0x00));
        palette.setColor(QPalette::HighlightedText, Qt::white);
        palette.setColor(QPalette::ToolTipBase, QColor(0x25, 0x25, 0x26));
        palette.setColor(QPalette::ToolTipText, QColor(0xd4, 0xd4, 0xd4));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6e, 0x6e, 0x6e));
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x6e, 0x6e, 0x6e));
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6e, 0x6e, 0x6e));
    } else {
        palette = app->style()->standardPalette();
        palette.setColor(QPalette::Highlight, QColor(0xff, 0x69, 0x00));
    }
    app->setPalette(palette);
    app->setStyleSheet(styleSheet(theme));
}

ChromeStyle::Theme ChromeStyle::currentTheme() {
    return g_theme;
}
