#pragma once

#include <QString>

// How the link and the shell put a question or a message in front of the user. The GUI
// installs message boxes; the CLI and the tests install a prompt that writes to stderr or
// scripts the answers. Called on the GUI (main) thread only: the Helper marshals calls made
// from other threads.
class UserPrompt {
public:
    virtual ~UserPrompt() = default;

    // title is the complete box title, e.g. "Trivane Error".
    virtual void showError(const QString& title, const QString& text) = 0;
    virtual void showInformation(const QString& title, const QString& text) = 0;
    virtual bool askNotice(const QString& title, const QString& text) = 0;
    virtual void showWarning(const QString& title, const QString& text) = 0;
};
