#include "framework/state/statewatcher.h"

namespace kx {

StateWatcher::StateWatcher(QObject* parent) : QObject(parent) {}

}  // namespace kx
