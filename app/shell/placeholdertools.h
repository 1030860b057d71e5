#pragma once

#include <QWidget>

// Stands in for the tools of a tab whose screen registered no tool strip.
class PlaceholderTools : public QWidget {
    Q_OBJECT

public:
    explicit PlaceholderTools(const QString& tabTitle, QWidget* parent = nullptr);
};
