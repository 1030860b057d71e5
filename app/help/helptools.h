#pragma once

#include <QWidget>

// The Help tab's tools: the user manual and the About box.
class HelpTools : public QWidget {
    Q_OBJECT

public:
    explicit HelpTools(QWidget* parent = nullptr);

    static QString aboutTitle();
    static QString aboutText();
    static void showAbout();
};
