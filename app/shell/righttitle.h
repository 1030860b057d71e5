#pragma once

#include <QWidget>

class QAction;
class QMenu;
class QPushButton;

// Right end of the title bar: the settings button and its menu of switches, each bound both
// ways to a node under "config.setting", and the choice of the interface language.
class RightTitle : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMenuWidth = 260;

    explicit RightTitle(QWidget* parent = nullptr);

    QMenu* settingsMenu() const { return m_menu; }
    // The action bound to "config.setting.<key>", or null.
    QAction* action(const QString& key) const;
    QMenu* languageMenu() const { return m_languageMenu; }
    // The action that chooses a language code, or null.
    QAction* languageAction(const QString& code) const;

    // Stores the language for the next start and says so in both languages when it differs
    // from the one shown now.
    void chooseLanguage(const QString& code);
    // "Applies at the next start" in the running language and, below, in the chosen one.
    static QString restartNote(const QString& code);

private:
    void bind(const QString& text, const QString& key);
    void buildLanguageMenu();
    void showMenu();

    QPushButton* m_btnSetting;
    QMenu* m_menu;
    QMenu* m_languageMenu = nullptr;
};
