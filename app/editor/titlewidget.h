#pragma once

#include <QWidget>

class QPushButton;
class QToolButton;

// One title in the editor's title strip: a select button with the page title and a close
// button.
class TitleWidget : public QWidget {
    Q_OBJECT

public:
    explicit TitleWidget(const QString& text, QWidget* parent = nullptr);

    QToolButton* selectButton() const { return m_select; }
    QPushButton* closeButton() const { return m_close; }
    QString text() const;

private:
    void applyStyle(bool checked);

    QToolButton* m_select;
    QPushButton* m_close;
};
