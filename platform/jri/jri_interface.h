/* jri_interface.h - the browser's Java runtime interface as the plug-in uses it: an
 * environment is a pointer to a pointer to a table of functions; every function takes the
 * environment and an operation number first. Only the slots the plug-in calls are named;
 * the others are kept as reserved so every named slot stands at its number. */
#ifndef JRI_INTERFACE_H
#define JRI_INTERFACE_H

#include <stddef.h>
#include <stdint.h>

/* Java int as it crosses the bridge: 32 bits in the shipped i686 build. In the 64-bit test
 * build it is pointer-wide, so that a peer's instance handle (returned as an int by
 * getPeer) survives the round trip. */
typedef intptr_t jint;
typedef unsigned char jbool;
typedef struct _jobject *jref;         /* a local reference to a Java object or class */
typedef void *JRIGlobalRef;            /* a global reference, valid across calls */
typedef int32_t JRIFieldID;            /* member ids: 32-bit signed, -1 = unresolved */
typedef int32_t JRIMethodID;
#define JRI_UNRESOLVED_ID (-1)

/* One argument slot of a native stub's argument array. */
typedef intptr_t JRISlot;

struct JRIEnvInterface;
typedef const struct JRIEnvInterface *JRIEnv;

/* Operation numbers passed as the second argument: the slot number, except for the typed
 * call variants, which pass their family's plain number. */
#define JRI_OP_FindClass            4
#define JRI_OP_NewGlobalRef         10
#define JRI_OP_DisposeGlobalRef     11
#define JRI_OP_GetGlobalRef         12
#define JRI_OP_NewObject            15
#define JRI_OP_GetMethodID          20
#define JRI_OP_CallMethod           21   /* also CallMethodBoolean and CallMethodInt */
#define JRI_OP_GetFieldID           48
#define JRI_OP_GetField             49
#define JRI_OP_GetFieldInt          54
#define JRI_OP_SetField             58
#define JRI_OP_SetFieldInt          63
#define JRI_OP_GetStaticMethodID    68
#define JRI_OP_CallStaticMethod     69   /* also CallStaticMethodInt */
#define JRI_OP_NewStringUTF         118
#define JRI_OP_GetStringUTFChars    120
#define JRI_OP_RegisterNatives      128
#define JRI_OP_UnregisterNatives    129

#define JRI_SLOT_COUNT 130

struct JRIEnvInterface {
    void *reserved0[4];                                                              /* 0-3 */
    jref (*FindClass)(JRIEnv *env, jint op, const char *name);                       /* 4 */
    void *reserved5[5];                                                              /* 5-9 */
    JRIGlobalRef (*NewGlobalRef)(JRIEnv *env, jint op, jref ref);                    /* 10 */
    void (*DisposeGlobalRef)(JRIEnv *env, jint op, JRIGlobalRef ref);                /* 11 */
    jref (*GetGlobalRef)(JRIEnv *env, jint op, JRIGlobalRef ref);                    /* 12 */
    void *reserved13[2];                                                             /* 13-14 */
    jref (*NewObject)(JRIEnv *env, jint op, jref clazz, JRIMethodID ctor, ...);      /* 15 */
    void *reserved16[4];                                                             /* 16-19 */
    JRIMethodID (*GetMethodID)(JRIEnv *env, jint op, jref clazz, const char *name,
                               const char *sig);                                     /* 20 */
    jref (*CallMethod)(JRIEnv *env, jint op, jref obj, JRIMethodID method, ...);     /* 21 */
    void *reserved22[2];                                                             /* 22-23 */
    jbool (*CallMethodBoolean)(JRIEnv *env, jint op, jref obj, JRIMethodID method, ...); /* 24 */
    void *reserved25[11];                                                            /* 25-35 */
    jint (*CallMethodInt)(JRIEnv *env, jint op, jref obj, JRIMethodID method, ...);  /* 36 */
    void *reserved37[11];                                                            /* 37-47 */
    JRIFieldID (*GetFieldID)(JRIEnv *env, jint op, jref clazz, const char *name,
                             const char *sig);                                       /* 48 */
    jref (*GetField)(JRIEnv *env, jint op, jref obj, JRIFieldID field);              /* 49 */
    void *reserved50[4];                                                             /* 50-53 */
    jint (*GetFieldInt)(JRIEnv *env, jint op, jref obj, JRIFieldID field);           /* 54 */
    void *reserved55[3];                                                             /* 55-57 */
    void (*SetField)(JRIEnv *env, jint op, jref obj, JRIFieldID field, jref value);  /* 58 */
    void *reserved59[4];                                                             /* 59-62 */
    void (*SetFieldInt)(JRIEnv *env, jint op, jref obj, JRIFieldID field, jint value); /* 63 */
    void *reserved64[4];                                                             /* 64-67 */
    JRIMethodID (*GetStaticMethodID)(JRIEnv *env, jint op, jref clazz, const char *name,
                                     const char *sig);                               /* 68 */
    void *reserved69[15];                                                            /* 69-83 */
    jint (*CallStaticMethodInt)(JRIEnv *env, jint op, jref clazz, JRIMethodID method, ...); /* 84 */
    void *reserved85[33];                                                            /* 85-117 */
    jref (*NewStringUTF)(JRIEnv *env, jint op, const char *bytes, jint length);      /* 118 */
    void *reserved119[1];                                                            /* 119 */
    const char *(*GetStringUTFChars)(JRIEnv *env, jint op, jref string);             /* 120 */
    void *reserved121[7];                                                            /* 121-127 */
    void (*RegisterNatives)(JRIEnv *env, jint op, jref clazz, char **nameAndSigArray,
                            void **nativeProcArray);                                 /* 128 */
    void (*UnregisterNatives)(JRIEnv *env, jint op, jref clazz);                     /* 129 */
};

#ifdef __cplusplus
#define JRI_SLOT_AT(member, slot) \
    static_assert(offsetof(JRIEnvInterface, member) == (slot) * sizeof(void *), #member " slot")
JRI_SLOT_AT(FindClass, 4);
JRI_SLOT_AT(NewGlobalRef, 10);
JRI_SLOT_AT(DisposeGlobalRef, 11);
JRI_SLOT_AT(GetGlobalRef, 12);
JRI_SLOT_AT(NewObject, 15);
JRI_SLOT_AT(GetMethodID, 20);
JRI_SLOT_AT(CallMethod, 21);
JRI_SLOT_AT(CallMethodBoolean, 24);
JRI_SLOT_AT(CallMethodInt, 36);
JRI_SLOT_AT(GetFieldID, 48);
JRI_SLOT_AT(GetField, 49);
JRI_SLOT_AT(GetFieldInt, 54);
JRI_SLOT_AT(SetField, 58);
JRI_SLOT_AT(SetFieldInt, 63);
JRI_SLOT_AT(GetStaticMethodID, 68);
JRI_SLOT_AT(CallStaticMethodInt, 84);
JRI_SLOT_AT(NewStringUTF, 118);
JRI_SLOT_AT(GetStringUTFChars, 120);
JRI_SLOT_AT(RegisterNatives, 128);
JRI_SLOT_AT(UnregisterNatives, 129);
static_assert(sizeof(JRIEnvInterface) == JRI_SLOT_COUNT * sizeof(void *), "table size");
#undef JRI_SLOT_AT
#endif

#if defined(__cplusplus) && defined(__i386__)
static_assert(sizeof(jint) == 4 && sizeof(JRISlot) == 4, "Java int and stub slots are 32-bit");
#endif

#endif /* JRI_INTERFACE_H */
