// The VRML 2.0 interface of each node keyword: the fields and events other
// readers know a node type by. Our node classes register members under
// these names and more (aliases, grouping fields on every group), and send
// some events without a member; the table says what the text may name.
#pragma once

#include <string>
#include <vector>

// Whether the keyword's node type has a field or exposedField of that name.
// An unknown keyword has none.
bool KsHasVrmlField(const char* keyword, const char* name);
// Whether the keyword is one of the node types the table describes.
bool KsHasVrmlInterface(const char* keyword);

// The full VRML 2.0 name of the event that a node of the keyword sends
// (sends 1) or receives (sends 0) under the name `event`, given normalised
// ("translation", "fraction", "bind") or in full: an eventOut or eventIn as
// declared ("translation_changed", "set_fraction", "isActive"), an
// exposedField as "x_changed" / "set_x". Empty when the type has no such
// event.
std::string KsVrmlEventName(const char* keyword, const char* event, int sends);

// One declaration of an interface: kind 'i' eventIn, 'o' eventOut,
// 'e' exposedField, 'f' field, and the name as declared.
struct KsVrmlDeclaration {
  char kind;
  std::string name;
};
// The keyword's declarations in their order; none for an unknown keyword.
std::vector<KsVrmlDeclaration> KsVrmlInterface(const char* keyword);
