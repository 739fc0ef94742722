/*
 * The binary interface between Vexa and its parser components.
 *
 * A parser component is a shared library named after its ProgID ("VexaParser.so",
 * "VexaDectParser.so", "VexaIpParser.so") that exports one C function,
 * VexaCreateObject. The object it returns answers method calls by dispatch id with
 * typed in and out arguments, the way an automation object answers InvokeHelper.
 * Texts cross the boundary as UTF-8 with an explicit length; numbers with their
 * stated widths.
 */
#ifndef VEXA_COMPONENT_ABI_H
#define VEXA_COMPONENT_ABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VEXA_ABI_VERSION 1

/* Argument and result types. */
enum VexaArgType {
    VEXA_T_EMPTY = 0, /* no value (a result of a member that returns nothing) */
    VEXA_T_I2 = 2,    /* short: 16-bit signed */
    VEXA_T_I4 = 3,    /* long: 32-bit signed */
    VEXA_T_BOOL = 4,  /* BOOL: 32-bit, non-zero true */
    VEXA_T_VBOOL = 5, /* VARIANT_BOOL: 16-bit, -1 true, 0 false */
    VEXA_T_STR = 8    /* text */
};

/* Results of invoke. */
enum VexaInvokeResult {
    VEXA_OK = 0,
    VEXA_E_MEMBER = 1, /* no member with this dispatch id */
    VEXA_E_ARGS = 2,   /* wrong number or types of arguments */
    VEXA_E_FAIL = 3    /* the member failed */
};

/*
 * One argument. In arguments carry their value in num (numbers) or str/len (texts).
 * Out arguments (out != 0) are set by the component: numbers in num, texts through
 * VexaHost.setText(sink, ...). A text out argument may also carry a value in
 * (str/len), as the raw call reference of DecodeCallReference does.
 */
typedef struct VexaArg {
    int32_t type;
    int32_t out;
    int32_t num;
    const char *str;
    size_t len;
    void *sink;
} VexaArg;

/* Services the program offers a component. */
typedef struct VexaHost {
    uint32_t abiVersion;
    /* Replaces the text of an out argument. */
    void (*setText)(void *sink, const char *text, size_t len);
} VexaHost;

typedef struct VexaObject VexaObject;

typedef struct VexaObjectVtbl {
    /* Calls member dispid with argc arguments; the member's result goes to *result
       (its type set by the component). Returns a VexaInvokeResult. */
    int32_t (*invoke)(VexaObject *self, int32_t dispid, VexaArg *args, int32_t argc,
                      VexaArg *result);
    /* Destroys the object. */
    void (*release)(VexaObject *self);
} VexaObjectVtbl;

struct VexaObject {
    const VexaObjectVtbl *vtbl;
};

/* The one exported function: creates the object of progId, or returns NULL. */
typedef VexaObject *(*VexaCreateObjectFn)(const char *progId, const VexaHost *host);
#define VEXA_CREATE_OBJECT_SYMBOL "VexaCreateObject"

#ifdef __cplusplus
}
#endif

#endif
