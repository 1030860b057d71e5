#pragma once

#include "link/userprompt.h"

class QWidget;

// The GUI's answer to the link's questions: modal standard message boxes over the main window.
class MessageBoxPrompt : public UserPrompt {
public:
    void showError(const QString& title, const QString& text) override;
    void showInformation(const QString& title, const QString& text) override;
    bool askNotice(const QString& title, const QString& text) override;
    void showWarning(const QString& title, const QString& text) override;

private:
    static QWidget* parentWidget();
};
