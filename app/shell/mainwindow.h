#pragma once

#include "chrome/framelesswindow.h"

class Editor;
class LeftTitle;
class Panel;
class QLabel;
class QSplitter;
class RightTitle;
class StatusBar;
class ToolWidget;

namespace kx {
class DataObject;
}

// The one top-level window: title bar parts, tool strip, the three-column work area
// (device tree | editor over output panel | motion sidebar) and the status bar.
class MainWindow : public FramelessWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up step after the window is shown: last project or last port.
    void startupProject();
    // After the event loop, before config.xml is written.
    void saveProjectOnExit();

    LeftTitle* leftTitle() const { return m_leftTitle; }
    RightTitle* rightTitle() const { return m_rightTitle; }
    ToolWidget* toolWidget() const { return m_toolWidget; }
    StatusBar* statusBar() const { return m_statusBar; }
    Editor* editor() const { return m_editor; }
    Panel* panel() const { return m_panel; }
    QWidget* deviceTree() const { return m_deviceTree; }
    QWidget* sidebar() const { return m_sidebar; }
    QSplitter* hSplitter() const { return m_hSplitter; }
    QSplitter* vSplitter() const { return m_vSplitter; }
    QLabel* titleLabel() const { return m_titleLabel; }

    // Reads a list node as ints (0 for entries that are not numbers).
    static QList<int> listOfInts(kx::DataObject* node);

private:
    void bindSplitter(QSplitter* splitter, kx::DataObject* node);
    void bindVisibility(const QString& key, QWidget* widget);

    LeftTitle* m_leftTitle;
    RightTitle* m_rightTitle;
    QLabel* m_titleLabel;
    ToolWidget* m_toolWidget;
    QSplitter* m_hSplitter;
    QSplitter* m_vSplitter;
    QWidget* m_deviceTree;
    Editor* m_editor;
    Panel* m_panel;
    QWidget* m_sidebar;
    StatusBar* m_statusBar;
};
