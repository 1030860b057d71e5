#pragma once

#include "app/shell/shellregistry.h"

#include <QPointer>
#include <QWidget>

class QPushButton;
class QScrollArea;

// The strip of tools under the title bar: the selected tab's tools widget and the buttons
// other screens add to that tab, built afresh on every change of "wnd.left_title.index".
class ToolWidget : public QWidget {
    Q_OBJECT

public:
    explicit ToolWidget(QWidget* parent = nullptr);

    // The selected tab's own tools widget (without the added buttons).
    QWidget* toolsWidget() const;

private:
    void onIndexChanged(const QVariant& value);
    QWidget* buildStrip(const ShellRegistry::TabEntry& tab);

    QScrollArea* m_scrollArea;
    QPointer<QWidget> m_tools;
    QPushButton* m_btnEstop;
};
