#pragma once

// The size and depth of a subtree, for tests that bound what an import may build.

#include <QtGlobal>

#include "framework/data/dataobject.h"

namespace treeshape {

// Counts the nodes of a subtree, the top included.
inline int size(const kx::DataObject* node) {
    int count = 1;
    for (const kx::DataObject* child : node->cdobjs())
        count += size(child);
    return count;
}

inline int depth(const kx::DataObject* node) {
    int result = 0;
    for (const kx::DataObject* child : node->cdobjs())
        result = qMax(result, depth(child) + 1);
    return result;
}

}  // namespace treeshape
