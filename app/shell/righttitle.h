#pragma once

#include <QWidget>

class QAction;
class QMenu;
class QPushButton;

// Right end of the title bar: the settings button and its menu of switches, each bound both
// ways to a node under "config.setting".
class RightTitle : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMenuWidth = 260;

    explicit RightTitle(QWidget* parent = nullptr);

    QMenu* settingsMenu() const { return m_menu; }
    // The action bound to "config.setting.<key>", or null.
    QAction* action(const QString& key) const;

private:
    void bind(const QString& text, const QString& key);
    void showMenu();

    QPushButton* m_btnSetting;
    QMenu* m_menu;
};
