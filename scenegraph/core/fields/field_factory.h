// Field-type keywords of PROTO interfaces and the factory that turns one
// into an empty field.
#ifndef KS_FIELD_FACTORY_H
#define KS_FIELD_FACTORY_H

class KsField;

constexpr int KS_FIELD_TYPE_COUNT = 24;

// The keywords in factory order, closed by a null entry. Both "SFInt" and
// "SFInt32" (and the MF pair) are accepted; matching is case-sensitive.
const char* const* KsFieldTypeKeywords();

// A new default field of the keyword's class (no owner, no name), or null:
// an unknown keyword is reported, a failed allocation is not. The caller
// owns the field.
KsField* KsCreateField(const char* keyword);

#endif
