#pragma once

#include <QWidget>

// Stands in for the tools of a tab whose screens are not part of this build.
class PlaceholderTools : public QWidget {
    Q_OBJECT

public:
    PlaceholderTools(int tab, QWidget* parent = nullptr);

    static QString tabName(int tab);
};
