#pragma once

#include <QObject>

namespace kx {

// A base for objects that act on state changes; it carries nothing of its own.
class StateAction : public QObject {
    Q_OBJECT

public:
    explicit StateAction(QObject* parent = nullptr);
};

}  // namespace kx
