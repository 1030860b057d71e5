#pragma once

#include <QString>

class QApplication;

// Static set-up and theming of the frameless-window layer: its resources, the high-DPI
// environment switch and the dark/light look built on the "fusion" style.
class ChromeStyle {
public:
    enum Theme { Dark, Light };

    // Before the application object exists: registers the layer's resources and sets
    // QT_ENABLE_HIGHDPI_SCALING to 1.
    static void setup();
    static void initResources();

    // Dark unless the platform tells us that the desktop uses a light colour scheme.
    static Theme systemTheme();

    // "fusion" plus the matching style sheet (":/qss/darkstyle.qss" or ":/qss/lightstyle.qss").
    static void apply(QApplication* app, Theme theme);
    static Theme currentTheme();

    // Window background of the theme: black for dark, white for light.
    static QString background(Theme theme);
    static QString styleSheet(Theme theme);
};
