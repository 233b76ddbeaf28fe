/* java_runtime.cpp - a small Java runtime for the plug-in: two classes of our own with the
 * members the plug-in binds, objects and strings in an arena, JRI entry points that check
 * the operation number of every call, and native dispatch */
#include "java_runtime.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <set>
#include <vector>

enum JavaClassIndex { CLASS_PLUGIN, CLASS_SIMPLE, CLASS_STRING, CLASS_JSOBJECT, CLASS_COUNT };

static const char *const kClassNames[CLASS_COUNT] = {
    "netscape/plugin/Plugin", "Simple", "java/lang/String", "netscape/javascript/JSObject"};
static const int kSuperClass[CLASS_COUNT] = {-1, CLASS_PLUGIN, -1, -1};

enum MemberKind { MEMBER_FIELD, MEMBER_METHOD, MEMBER_NATIVE, MEMBER_STATIC, MEMBER_CTOR };

struct JavaMember {
    int owner;
    const char *name;
    const char *signature;
    MemberKind kind;
};

/* A member's id is its index here. */
static const JavaMember kMembers[] = {
    {CLASS_PLUGIN, "peer", "I", MEMBER_FIELD},
    {CLASS_PLUGIN, "window", "Lnetscape/javascript/JSObject;", MEMBER_FIELD},
    {CLASS_PLUGIN, "getPeer", "()I", MEMBER_METHOD},
    {CLASS_PLUGIN, "init", "()V", MEMBER_METHOD},
    {CLASS_PLUGIN, "destroy", "()V", MEMBER_METHOD},
    {CLASS_PLUGIN, "isActive", "()Z", MEMBER_METHOD},
    {CLASS_PLUGIN, "getWindow", "()Lnetscape/javascript/JSObject;", MEMBER_METHOD},
    {CLASS_PLUGIN, "<init>", "()V", MEMBER_CTOR},
    {CLASS_SIMPLE, "count", "I", MEMBER_FIELD},
    {CLASS_SIMPLE, "fact", "(I)I", MEMBER_STATIC},
    {CLASS_SIMPLE, "printToStdout", "(Ljava/lang/String;)V", MEMBER_NATIVE},
    {CLASS_SIMPLE, "saveString", "(Ljava/lang/String;I)V", MEMBER_NATIVE},
    {CLASS_SIMPLE, "getIt", "()I", MEMBER_NATIVE},
    {CLASS_SIMPLE, "tricky", "(Lnetscape/javascript/JSObject;I)V", MEMBER_NATIVE},
    {CLASS_SIMPLE, "getString", "(Ljava/lang/String;)Z", MEMBER_NATIVE},
    {CLASS_SIMPLE, "doit", "(Ljava/lang/String;)V", MEMBER_METHOD},
    {CLASS_SIMPLE, "close", "()V", MEMBER_METHOD},
    {CLASS_SIMPLE, "<init>", "()V", MEMBER_CTOR},
};
#define MEMBER_COUNT ((int)(sizeof kMembers / sizeof kMembers[0]))
#define MEMBER_PEER   0
#define MEMBER_WINDOW 1

enum ObjectKind { OBJ_CLASS, OBJ_INSTANCE, OBJ_STRING };

struct JavaObject {
    ObjectKind kind;
    int classIndex;
    std::string text;              /* OBJ_STRING */
    jint ints[MEMBER_COUNT];       /* int fields by member id */
    jref refs[MEMBER_COUNT];       /* object fields by member id */
    bool instanceGone;             /* peer whose instance was destroyed */
};

struct GlobalRefCell {
    jref object;
};

/* The runtime: every object ever made (freed at shutdown), the class objects, the global
 * reference cells, and the natives given to RegisterNatives ("name(sig)" -> function). */
struct JavaRuntime {
    std::vector<JavaObject *> arena;
    std::set<const void *> known;
    jref classes[CLASS_COUNT];
    std::set<GlobalRefCell *> globals;
    std::map<std::string, void *> natives;
    HMODULE nativeLibrary;
    int faults;
};

static JavaRuntime gJava;

static void Fault(const char *format, ...)
{
    char text[512];
    va_list ap;
    va_start(ap, format);
    vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    fprintf(stderr, "[jri] %s\n", text);
    fflush(stderr);
    gJava.faults++;
}

static JavaObject *NewObjectRecord(ObjectKind kind, int classIndex)
{
    JavaObject *o = new JavaObject();
    o->kind = kind;
    o->classIndex = classIndex;
    for (int i = 0; i < MEMBER_COUNT; i++) {
        o->ints[i] = 0;
        o->refs[i] = nullptr;
    }
    o->instanceGone = false;
    gJava.arena.push_back(o);
    gJava.known.insert(o);
    return o;
}

static jref ClassRef(int index)
{
    if (gJava.classes[index] == nullptr)
        gJava.classes[index] = (jref)NewObjectRecord(OBJ_CLASS, index);
    return gJava.classes[index];
}

/* The object behind ref, or null (with a fault) when ref is not one of ours. */
static JavaObject *Deref(jref ref, const char *what)
{
    if (ref == nullptr) {
        Fault("%s: null reference (NullPointerException)", what);
        return nullptr;
    }
    if (gJava.known.count(ref) == 0) {
        Fault("%s: %p is not a Java reference of this runtime", what, (void *)ref);
        return nullptr;
    }
    return (JavaObject *)ref;
}

static bool CheckOp(jint op, jint expected, const char *what)
{
    if (op == expected)
        return true;
    Fault("%s called with operation number %ld, expected %ld", what, (long)op, (long)expected);
    return false;
}

static bool IsSubclass(int cls, int ancestor)
{
    for (int c = cls; c >= 0; c = kSuperClass[c])
        if (c == ancestor)
            return true;
    return false;
}

/* Member id of name+sig among kinds, looked up in cls and (unless a constructor) its
 * superclasses; -1 when there is none. */
static int FindMember(int cls, const char *name, const char *sig, MemberKind kind1, MemberKind kind2)
{
    for (int c = cls; c >= 0; c = kSuperClass[c]) {
        for (int i = 0; i < MEMBER_COUNT; i++) {
            const JavaMember &m = kMembers[i];
            if (m.owner != c || (m.kind != kind1 && m.kind != kind2))
                continue;
            if (strcmp(m.name, name) == 0 && strcmp(m.signature, sig) == 0)
                return i;
        }
        if (strcmp(name, "<init>") == 0)
            break;
    }
    return -1;
}

static char ReturnType(const char *sig)
{
    const char *close = strchr(sig, ')');
    return close ? close[1] : '?';
}

static int ClassOfRef(jref clazz, const char *what)
{
    JavaObject *o = Deref(clazz, what);
    if (o == nullptr)
        return -1;
    if (o->kind != OBJ_CLASS) {
        Fault("%s: the reference is not a class", what);
        return -1;
    }
    return o->classIndex;
}

/* ---- JRI entry points ---- */

static jref JRI_FindClass(JRIEnv *, jint op, const char *name)
{
    CheckOp(op, JRI_OP_FindClass, "FindClass");
    for (int i = 0; i < CLASS_COUNT; i++)
        if (name != nullptr && strcmp(kClassNames[i], name) == 0)
            return ClassRef(i);
    return nullptr;
}

static JRIGlobalRef JRI_NewGlobalRef(JRIEnv *, jint op, jref ref)
{
    CheckOp(op, JRI_OP_NewGlobalRef, "NewGlobalRef");
    if (ref != nullptr && Deref(ref, "NewGlobalRef") == nullptr)
        return nullptr;
    GlobalRefCell *cell = new GlobalRefCell{ref};
    gJava.globals.insert(cell);
    return cell;
}

static void JRI_DisposeGlobalRef(JRIEnv *, jint op, JRIGlobalRef ref)
{
    CheckOp(op, JRI_OP_DisposeGlobalRef, "DisposeGlobalRef");
    GlobalRefCell *cell = (GlobalRefCell *)ref;
    if (gJava.globals.erase(cell) == 0) {
        Fault("DisposeGlobalRef: %p is not a live global reference", ref);
        return;
    }
    delete cell;
}

static jref JRI_GetGlobalRef(JRIEnv *, jint op, JRIGlobalRef ref)
{
    CheckOp(op, JRI_OP_GetGlobalRef, "GetGlobalRef");
    GlobalRefCell *cell = (GlobalRefCell *)ref;
    if (gJava.globals.count(cell) == 0) {
        Fault("GetGlobalRef: %p is not a live global reference", ref);
        return nullptr;
    }
    return cell->object;
}

static jref JRI_NewObject(JRIEnv *, jint op, jref clazz, JRIMethodID ctor, ...)
{
    CheckOp(op, JRI_OP_NewObject, "NewObject");
    int cls = ClassOfRef(clazz, "NewObject");
    if (cls < 0)
        return nullptr;
    if (ctor < 0 || ctor >= MEMBER_COUNT || kMembers[ctor].kind != MEMBER_CTOR || kMembers[ctor].owner != cls) {
        Fault("NewObject: method id %ld is no constructor of %s", (long)ctor, kClassNames[cls]);
        return nullptr;
    }
    return (jref)NewObjectRecord(OBJ_INSTANCE, cls);
}

/* The id of member name+sig among kinds in clazz (and its superclasses), for the lookup
 * function what; -1 with a fault when there is none. */
static int32_t LookUpMember(jint op, jint expectedOp, const char *what, jref clazz, const char *name,
                            const char *sig, MemberKind kind1, MemberKind kind2, const char *kindWord)
{
    CheckOp(op, expectedOp, what);
    int cls = ClassOfRef(clazz, what);
    if (cls < 0 || name == nullptr || sig == nullptr)
        return -1;
    int id = FindMember(cls, name, sig, kind1, kind2);
    if (id < 0)
        Fault("%s: %s has no %s %s %s", what, kClassNames[cls], kindWord, name, sig);
    return id;
}

static JRIMethodID JRI_GetMethodID(JRIEnv *, jint op, jref clazz, const char *name, const char *sig)
{
    bool ctor = name != nullptr && strcmp(name, "<init>") == 0;
    return LookUpMember(op, JRI_OP_GetMethodID, "GetMethodID", clazz, name, sig, ctor ? MEMBER_CTOR : MEMBER_METHOD,
                        ctor ? MEMBER_CTOR : MEMBER_NATIVE, "method");
}

static JRIFieldID JRI_GetFieldID(JRIEnv *, jint op, jref clazz, const char *name, const char *sig)
{
    return LookUpMember(op, JRI_OP_GetFieldID, "GetFieldID", clazz, name, sig, MEMBER_FIELD, MEMBER_FIELD, "field");
}

static JRIMethodID JRI_GetStaticMethodID(JRIEnv *, jint op, jref clazz, const char *name, const char *sig)
{
    return LookUpMember(op, JRI_OP_GetStaticMethodID, "GetStaticMethodID", clazz, name, sig, MEMBER_STATIC,
                        MEMBER_STATIC, "static method");
}

/* The instance object obj that has member id, or null with a fault. */
static JavaObject *Receiver(jref obj, JRIMethodID id, MemberKind kind1, MemberKind kind2, const char *what)
{
    if (id < 0 || id >= MEMBER_COUNT || (kMembers[id].kind != kind1 && kMembers[id].kind != kind2)) {
        Fault("%s: %ld is no id of that kind", what, (long)id);
        return nullptr;
    }
    JavaObject *o = Deref(obj, what);
    if (o == nullptr)
        return nullptr;
    if (o->kind != OBJ_INSTANCE || !IsSubclass(o->classIndex, kMembers[id].owner)) {
        Fault("%s: the object has no member %s", what, kMembers[id].name);
        return nullptr;
    }
    return o;
}

static jint Factorial(jint n)
{
    jint r = 1;
    for (jint i = 2; i <= n && i <= 12; i++)
        r *= i;
    return r;
}

/* Runs method id on o with the arguments in ap; the result as a slot. */
static JRISlot Invoke(JavaObject *o, int id, va_list ap)
{
    const JavaMember &m = kMembers[id];
    if (m.kind == MEMBER_NATIVE) {
        JRISlot args[2] = {0, 0};
        int n = 0;
        for (const char *p = m.signature + 1; *p && *p != ')' && n < 2; p++) {
            if (*p == 'L') {
                args[n++] = (JRISlot)va_arg(ap, jref);
                p = strchr(p, ';');
                if (p == nullptr)
                    break;
            } else if (*p == 'Z') {
                args[n++] = (JRISlot)va_arg(ap, int);
            } else {
                args[n++] = (JRISlot)va_arg(ap, jint);
            }
        }
        JRISlot result = 0;
        std::string error;
        if (!JavaCallNative((jref)o, m.name, m.signature, args, n, NATIVES_AUTO, &result, &error))
            Fault("%s (UnsatisfiedLinkError)", error.c_str());
        return result;
    }
    if (strcmp(m.name, "getPeer") == 0)
        return o->ints[MEMBER_PEER];
    if (strcmp(m.name, "isActive") == 0)
        return o->instanceGone ? 0 : 1;
    if (strcmp(m.name, "getWindow") == 0)
        return (JRISlot)o->refs[MEMBER_WINDOW];
    if (strcmp(m.name, "doit") == 0) {
        jref s = va_arg(ap, jref);
        JavaObject *str = Deref(s, "doit");
        if (str == nullptr || str->kind != OBJ_STRING) {
            if (str != nullptr)
                Fault("doit: the argument is not a string");
            return 0;
        }
        fputs(JAVA_CONSOLE_PREFIX, stdout);
        fwrite(str->text.data(), 1, str->text.size(), stdout);
        fputc('\n', stdout);
        fflush(stdout);
        return 0;
    }
    return 0; /* init, destroy, close: nothing to do */
}

/* The common part of the CallMethod family: checks, then Invoke. */
static JRISlot CallCommon(jref obj, JRIMethodID method, const char *returnTypes, const char *what, va_list ap)
{
    JavaObject *o = Receiver(obj, method, MEMBER_METHOD, MEMBER_NATIVE, what);
    if (o == nullptr)
        return 0;
    if (strchr(returnTypes, ReturnType(kMembers[method].signature)) == nullptr) {
        Fault("%s used for %s%s", what, kMembers[method].name, kMembers[method].signature);
        return 0;
    }
    return Invoke(o, method, ap);
}

static jref JRI_CallMethod(JRIEnv *, jint op, jref obj, JRIMethodID method, ...)
{
    CheckOp(op, JRI_OP_CallMethod, "CallMethod");
    va_list ap;
    va_start(ap, method);
    JRISlot r = CallCommon(obj, method, "VL", "CallMethod", ap);
    va_end(ap);
    return (jref)r;
}

static jbool JRI_CallMethodBoolean(JRIEnv *, jint op, jref obj, JRIMethodID method, ...)
{
    CheckOp(op, JRI_OP_CallMethod, "CallMethodBoolean");
    va_list ap;
    va_start(ap, method);
    JRISlot r = CallCommon(obj, method, "Z", "CallMethodBoolean", ap);
    va_end(ap);
    return r != 0;
}

static jint JRI_CallMethodInt(JRIEnv *, jint op, jref obj, JRIMethodID method, ...)
{
    CheckOp(op, JRI_OP_CallMethod, "CallMethodInt");
    va_list ap;
    va_start(ap, method);
    JRISlot r = CallCommon(obj, method, "I", "CallMethodInt", ap);
    va_end(ap);
    return (jint)r;
}

static jint JRI_CallStaticMethodInt(JRIEnv *, jint op, jref clazz, JRIMethodID method, ...)
{
    CheckOp(op, JRI_OP_CallStaticMethod, "CallStaticMethodInt");
    int cls = ClassOfRef(clazz, "CallStaticMethodInt");
    if (cls < 0)
        return 0;
    if (method < 0 || method >= MEMBER_COUNT || kMembers[method].kind != MEMBER_STATIC ||
        !IsSubclass(cls, kMembers[method].owner)) {
        Fault("CallStaticMethodInt: %ld is no static method of %s", (long)method, kClassNames[cls]);
        return 0;
    }
    va_list ap;
    va_start(ap, method);
    jint n = va_arg(ap, jint);
    va_end(ap);
    return Factorial(n);
}

static JavaObject *FieldHolder(jref obj, JRIFieldID field, char type, const char *what)
{
    JavaObject *o = Receiver(obj, field, MEMBER_FIELD, MEMBER_FIELD, what);
    if (o == nullptr)
        return nullptr;
    if (kMembers[field].signature[0] != type) {
        Fault("%s used for field %s of type %s", what, kMembers[field].name, kMembers[field].signature);
        return nullptr;
    }
    return o;
}

static jref JRI_GetField(JRIEnv *, jint op, jref obj, JRIFieldID field)
{
    CheckOp(op, JRI_OP_GetField, "GetField");
    JavaObject *o = FieldHolder(obj, field, 'L', "GetField");
    return o ? o->refs[field] : nullptr;
}

static jint JRI_GetFieldInt(JRIEnv *, jint op, jref obj, JRIFieldID field)
{
    CheckOp(op, JRI_OP_GetFieldInt, "GetFieldInt");
    JavaObject *o = FieldHolder(obj, field, 'I', "GetFieldInt");
    return o ? o->ints[field] : 0;
}

static void JRI_SetField(JRIEnv *, jint op, jref obj, JRIFieldID field, jref value)
{
    CheckOp(op, JRI_OP_SetField, "SetField");
    JavaObject *o = FieldHolder(obj, field, 'L', "SetField");
    if (o != nullptr)
        o->refs[field] = value;
}

static void JRI_SetFieldInt(JRIEnv *, jint op, jref obj, JRIFieldID field, jint value)
{
    CheckOp(op, JRI_OP_SetFieldInt, "SetFieldInt");
    JavaObject *o = FieldHolder(obj, field, 'I', "SetFieldInt");
    if (o != nullptr)
        o->ints[field] = value;
}

static jref JRI_NewStringUTF(JRIEnv *, jint op, const char *bytes, jint length)
{
    CheckOp(op, JRI_OP_NewStringUTF, "NewStringUTF");
    if (bytes == nullptr || length < 0) {
        Fault("NewStringUTF: %s", bytes == nullptr ? "null characters" : "negative length");
        return nullptr;
    }
    JavaObject *o = NewObjectRecord(OBJ_STRING, CLASS_STRING);
    o->text.assign(bytes, (size_t)length);
    return (jref)o;
}

static const char *JRI_GetStringUTFChars(JRIEnv *, jint op, jref string)
{
    CheckOp(op, JRI_OP_GetStringUTFChars, "GetStringUTFChars");
    JavaObject *o = Deref(string, "GetStringUTFChars");
    if (o == nullptr || o->kind != OBJ_STRING) {
        if (o != nullptr)
            Fault("GetStringUTFChars: not a string");
        return nullptr;
    }
    return o->text.c_str();
}

static void JRI_RegisterNatives(JRIEnv *, jint op, jref clazz, char **nameAndSig, void **procs)
{
    CheckOp(op, JRI_OP_RegisterNatives, "RegisterNatives");
    int cls = ClassOfRef(clazz, "RegisterNatives");
    if (cls < 0 || nameAndSig == nullptr || procs == nullptr)
        return;
    for (int i = 0; nameAndSig[i] != nullptr; i++) {
        const char *entry = nameAndSig[i];
        const char *paren = strchr(entry, '(');
        std::string name = paren ? std::string(entry, paren - entry) : entry;
        std::string sig = paren ? paren : "";
        if (FindMember(cls, name.c_str(), sig.c_str(), MEMBER_NATIVE, MEMBER_NATIVE) < 0) {
            Fault("RegisterNatives: %s declares no native %s", kClassNames[cls], entry);
            continue;
        }
        if (procs[i] == nullptr) {
            Fault("RegisterNatives: no function for %s", entry);
            continue;
        }
        gJava.natives[name + sig] = procs[i];
    }
}

static void JRI_UnregisterNatives(JRIEnv *, jint op, jref clazz)
{
    CheckOp(op, JRI_OP_UnregisterNatives, "UnregisterNatives");
    if (ClassOfRef(clazz, "UnregisterNatives") >= 0)
        gJava.natives.clear();
}

static JRIEnvInterface MakeTable(void)
{
    JRIEnvInterface t = {};
    t.FindClass = JRI_FindClass;
    t.NewGlobalRef = JRI_NewGlobalRef;
    t.DisposeGlobalRef = JRI_DisposeGlobalRef;
    t.GetGlobalRef = JRI_GetGlobalRef;
    t.NewObject = JRI_NewObject;
    t.GetMethodID = JRI_GetMethodID;
    t.CallMethod = JRI_CallMethod;
    t.CallMethodBoolean = JRI_CallMethodBoolean;
    t.CallMethodInt = JRI_CallMethodInt;
    t.GetFieldID = JRI_GetFieldID;
    t.GetField = JRI_GetField;
    t.GetFieldInt = JRI_GetFieldInt;
    t.SetField = JRI_SetField;
    t.SetFieldInt = JRI_SetFieldInt;
    t.GetStaticMethodID = JRI_GetStaticMethodID;
    t.CallStaticMethodInt = JRI_CallStaticMethodInt;
    t.NewStringUTF = JRI_NewStringUTF;
    t.GetStringUTFChars = JRI_GetStringUTFChars;
    t.RegisterNatives = JRI_RegisterNatives;
    t.UnregisterNatives = JRI_UnregisterNatives;
    return t;
}

static const JRIEnvInterface kTable = MakeTable();
static JRIEnv gEnvPointer = &kTable;

JRIEnv *JavaEnvironment(void)
{
    return &gEnvPointer;
}

jref JavaClassOfGlobalRef(JRIGlobalRef ref)
{
    GlobalRefCell *cell = (GlobalRefCell *)ref;
    if (cell == nullptr || gJava.globals.count(cell) == 0)
        return nullptr;
    JavaObject *o = (JavaObject *)cell->object;
    if (o == nullptr || gJava.known.count(o) == 0 || o->kind != OBJ_CLASS)
        return nullptr;
    return cell->object;
}

jref JavaNewPeer(jref clazz, NPP instance)
{
    JavaObject *c = (JavaObject *)clazz;
    if (c == nullptr || gJava.known.count(c) == 0 || c->kind != OBJ_CLASS || !IsSubclass(c->classIndex, CLASS_PLUGIN))
        return nullptr;
    JavaObject *o = NewObjectRecord(OBJ_INSTANCE, c->classIndex);
    o->ints[MEMBER_PEER] = (jint)(intptr_t)instance;
    return (jref)o;
}

void JavaPeerInstanceGone(jref peer)
{
    JavaObject *o = (JavaObject *)peer;
    if (o != nullptr && gJava.known.count(o) != 0)
        o->instanceGone = true;
}

jref JavaNewString(const char *text)
{
    JavaObject *o = NewObjectRecord(OBJ_STRING, CLASS_STRING);
    o->text = text;
    return (jref)o;
}

void JavaSetNativeLibrary(HMODULE library)
{
    gJava.nativeLibrary = library;
}

bool JavaNativeRegistered(const char *name, const char *signature)
{
    return gJava.natives.count(std::string(name) + signature) != 0;
}

typedef void (*NativeVoid0)(JRIEnv *, jref);
typedef void (*NativeVoid1)(JRIEnv *, jref, JRISlot);
typedef void (*NativeVoid2)(JRIEnv *, jref, JRISlot, JRISlot);
typedef jint (*NativeInt0)(JRIEnv *, jref);
typedef jbool (*NativeBool1)(JRIEnv *, jref, JRISlot);
typedef JRISlot *(*NativeStub)(JRISlot *args, JRIEnv *env);

#define STUB_SLOTS 8   /* receiver, arguments and room for the result */

/* Calls a registered native function with the environment, the receiver and the slots. */
static bool CallRegistered(void *proc, char ret, jref self, const JRISlot *args, int argCount, JRISlot *result)
{
    *result = 0;
    if (ret == 'V' && argCount == 0) {
        ((NativeVoid0)proc)(JavaEnvironment(), self);
    } else if (ret == 'V' && argCount == 1) {
        ((NativeVoid1)proc)(JavaEnvironment(), self, args[0]);
    } else if (ret == 'V' && argCount == 2) {
        ((NativeVoid2)proc)(JavaEnvironment(), self, args[0], args[1]);
    } else if (ret == 'I' && argCount == 0) {
        *result = ((NativeInt0)proc)(JavaEnvironment(), self);
    } else if (ret == 'Z' && argCount == 1) {
        *result = ((NativeBool1)proc)(JavaEnvironment(), self, args[0]) != 0;
    } else {
        return false;
    }
    return true;
}

bool JavaCallNative(jref self, const char *name, const char *signature, const JRISlot *args, int argCount,
                    NativesPath path, JRISlot *result, std::string *error)
{
    *result = 0;
    char ret = ReturnType(signature);
    auto it = gJava.natives.find(std::string(name) + signature);
    if (path != NATIVES_STUBS && it != gJava.natives.end()) {
        if (!CallRegistered(it->second, ret, self, args, argCount, result)) {
            *error = std::string("no calling shape for native ") + name + signature;
            return false;
        }
        return true;
    }
    if (path == NATIVES_REGISTERED) {
        *error = std::string("native ") + name + signature + " was not registered";
        return false;
    }
    char stubName[128];
    snprintf(stubName, sizeof stubName, "Java_Simple_%s_stub", name);
    NativeStub stub = gJava.nativeLibrary ? (NativeStub)(void *)GetProcAddress(gJava.nativeLibrary, stubName) : nullptr;
    if (stub == nullptr || argCount + 1 > STUB_SLOTS) {
        *error = std::string("no exported ") + stubName;
        return false;
    }
    JRISlot slots[STUB_SLOTS] = {};
    slots[0] = (JRISlot)self;
    for (int i = 0; i < argCount; i++)
        slots[i + 1] = args[i];
    JRISlot *end = stub(slots, JavaEnvironment());
    int resultSlots = ret == 'V' ? 0 : 1;
    if (end != slots + resultSlots)
        Fault("%s returned the slot array advanced by %ld, expected %d", stubName, (long)(end - slots), resultSlots);
    *result = resultSlots ? slots[0] : 0;
    return true;
}

int JavaFaultCount(void)
{
    return gJava.faults;
}

int JavaLiveGlobalRefs(void)
{
    return (int)gJava.globals.size();
}

void JavaShutdown(void)
{
    for (GlobalRefCell *cell : gJava.globals)
        delete cell;
    gJava.globals.clear();
    for (JavaObject *o : gJava.arena)
        delete o;
    gJava.arena.clear();
    gJava.known.clear();
    for (int i = 0; i < CLASS_COUNT; i++)
        gJava.classes[i] = nullptr;
    gJava.natives.clear();
    gJava.nativeLibrary = nullptr;
}
