#pragma once

#include <QObject>

namespace kx {

class StateObject;

// Announces every change of one owner's current state.
class StateWatcher : public QObject {
    Q_OBJECT

public:
    explicit StateWatcher(QObject* parent = nullptr);

signals:
    void changed(kx::StateObject* from, kx::StateObject* to);
};

}  // namespace kx
