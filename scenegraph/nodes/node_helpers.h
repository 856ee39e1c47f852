// Small pieces the node classes share: the factory's constructor for a
// class, and sending a boolean event-out.
#pragma once

#include <new>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"

// The node factory's constructor of T: a new node, or null without memory.
template <class T>
KsNode* KsMakeNode() {
  return new (std::nothrow) T();
}

// Sends value as the node's event-out name; the delivery status.
inline int KsSendBool(KsNode* node, const char* name, KSBOOL value) {
  KsSFBool event;
  event.Set(value);
  return node->SendEventOut(name, &event);
}
