#pragma once

#include "app/editor/baseeditorpage.h"

#include <QWidget>

class QProgressBar;
class QWebEngineView;

// The Instruction page: the user manual "./instruction.pdf" in the built-in PDF viewer.
class WebPage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    static constexpr char kKind[] = "web";

    explicit WebPage(QWidget* parent = nullptr);

    QProgressBar* progressBar() const { return m_progress; }
    QWebEngineView* view() const { return m_view; }

    static QUrl manualUrl();

signals:
    void loadFinished(bool ok);

private:
    QProgressBar* m_progress;
    QWebEngineView* m_view;
};
