#pragma once

#include <QWidget>

class QPushButton;
class QScrollArea;

// The strip of tools under the title bar: a fresh tools widget for the selected tab, built
// on every change of "wnd.left_title.index".
class ToolWidget : public QWidget {
    Q_OBJECT

public:
    explicit ToolWidget(QWidget* parent = nullptr);

    QWidget* toolsWidget() const;

private:
    void onIndexChanged(const QVariant& value);

    QScrollArea* m_scrollArea;
    QPushButton* m_btnEstop;
};
