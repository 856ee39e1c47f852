#ifndef KS_TYPES_H
#define KS_TYPES_H

// The scene graph's boolean stores TRUE as 0 and FALSE as 1 (in field values,
// defaults and results alike), so it must never be tested as a C++ truth value.
typedef int KSBOOL;

constexpr KSBOOL KS_TRUE = 0;
constexpr KSBOOL KS_FALSE = 1;

// Failure status of every operation; 0 is success.
constexpr int KS_ERR = 1;

static_assert(KS_TRUE == 0 && KS_FALSE == 1 && KS_ERR == 1,
              "the scene graph's boolean and status values are fixed");

#endif
