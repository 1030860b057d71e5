#include "framework/state/stateaction.h"

namespace kx {

StateAction::StateAction(QObject* parent) : QObject(parent) {}

}  // namespace kx
