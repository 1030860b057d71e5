#pragma once

#include <QString>

// The busy cover of a long flow: shows its text through "trigger.block" and removes itself
// when it goes out of scope, so no exit path leaves the window covered.
class BusyCover {
public:
    explicit BusyCover(const QString& text);
    ~BusyCover();
    BusyCover(const BusyCover&) = delete;
    BusyCover& operator=(const BusyCover&) = delete;

    void show(const QString& text);
    // Removes the cover now (before a message box, say); harmless when already removed.
    void remove();

private:
    bool m_shown = false;
};
