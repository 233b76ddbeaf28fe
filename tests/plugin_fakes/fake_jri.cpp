/* fake_jri.cpp - the recording JRI function table of the plug-in's tests. */
#include "fake_jri.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

enum TokenKind { TOKEN_CLASS, TOKEN_OBJECT, TOKEN_STRING, TOKEN_GLOBAL };

struct FakeJri::Object {
    TokenKind   kind;
    int         classIndex;   /* TOKEN_CLASS, TOKEN_OBJECT */
    std::string text;         /* TOKEN_STRING */
    jref        referent;     /* TOKEN_GLOBAL */
    bool        disposed;     /* TOKEN_GLOBAL */
};

static const int kIdsPerClass = 1000;

FakeJavaClass FakeJri::SimpleClass()
{
    return { "Simple", {
        { FAKE_FIELD,         "count",         "I" },
        { FAKE_STATIC_METHOD, "fact",          "(I)I" },
        { FAKE_METHOD,        "printToStdout", "(Ljava/lang/String;)V" },
        { FAKE_METHOD,        "saveString",    "(Ljava/lang/String;I)V" },
        { FAKE_METHOD,        "getIt",         "()I" },
        { FAKE_METHOD,        "tricky",        "(Lnetscape/javascript/JSObject;I)V" },
        { FAKE_METHOD,        "getString",     "(Ljava/lang/String;)Z" },
        { FAKE_METHOD,        "doit",          "(Ljava/lang/String;)V" },
        { FAKE_METHOD,        "close",         "()V" },
        { FAKE_METHOD,        "<init>",        "()V" },
    } };
}

FakeJavaClass FakeJri::PluginClass()
{
    return { "netscape/plugin/Plugin", {
        { FAKE_FIELD,  "peer",      "I" },
        { FAKE_FIELD,  "window",    "Lnetscape/javascript/JSObject;" },
        { FAKE_METHOD, "getPeer",   "()I" },
        { FAKE_METHOD, "init",      "()V" },
        { FAKE_METHOD, "destroy",   "()V" },
        { FAKE_METHOD, "isActive",  "()Z" },
        { FAKE_METHOD, "getWindow", "()Lnetscape/javascript/JSObject;" },
        { FAKE_METHOD, "<init>",    "()V" },
    } };
}

std::vector<FakeJavaClass> FakeJri::StandardClasses()
{
    return { PluginClass(), SimpleClass() };
}

FakeJri &FakeJriOf(JRIEnv *env)
{
    struct Box { const JRIEnvInterface *table; FakeJri *owner; };
    if (env == nullptr) {
        fprintf(stderr, "fake JRI: called with a null environment\n");
        abort();
    }
    return *reinterpret_cast<Box *>(env)->owner;
}

/* Number of parameters in a method signature "(...)R"; 0 for a field signature. */
static int ParameterCount(const std::string &signature)
{
    if (signature.empty() || signature[0] != '(')
        return 0;
    int count = 0;
    for (size_t i = 1; i < signature.size() && signature[i] != ')'; i++) {
        while (signature[i] == '[')
            i++;
        if (signature[i] == 'L')
            i = signature.find(';', i);
        count++;
        if (i == std::string::npos)
            break;
    }
    return count;
}

static FakeJriCall CallAt(int slot, jint op, jref target)
{
    FakeJriCall call;
    call.slot = slot;
    call.op = op;
    call.target = target;
    return call;
}

/* Reads one argument per parameter of the member the id names. Every argument the
 * plug-in passes is pointer-sized (objects, and jint in this build). */
static void TakeArguments(FakeJri &fake, FakeJriCall &call, va_list ap)
{
    const FakeJavaMember *member = fake.MemberOf(call.id);
    int count = member != nullptr ? ParameterCount(member->signature) : 0;
    for (int i = 0; i < count; i++)
        call.args.push_back(va_arg(ap, intptr_t));
}

static jref FakeFindClass(JRIEnv *env, jint op, const char *name)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(4, op, nullptr);
    call.name = name != nullptr ? name : "";
    fake.calls.push_back(call);
    return fake.ClassOf(call.name);
}

static JRIGlobalRef FakeNewGlobalRef(JRIEnv *env, jint op, jref ref)
{
    FakeJri &fake = FakeJriOf(env);
    fake.calls.push_back(CallAt(10, op, ref));
    if (ref == nullptr)
        return nullptr;
    FakeJri::Object *global = fake.NewToken(TOKEN_GLOBAL, -1, "");
    global->referent = ref;
    fake.liveGlobals.insert(global);
    return global;
}

static void FakeDisposeGlobalRef(JRIEnv *env, jint op, JRIGlobalRef ref)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(11, op, nullptr);
    call.globalRef = ref;
    fake.calls.push_back(call);
    FakeJri::Object *global = fake.ObjectOf(ref);
    if (global == nullptr || global->kind != TOKEN_GLOBAL || global->disposed)
        fake.misuse.push_back("DisposeGlobalRef of an unknown or disposed reference");
    else {
        global->disposed = true;
        fake.liveGlobals.erase(ref);
    }
}

static jref FakeGetGlobalRef(JRIEnv *env, jint op, JRIGlobalRef ref)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(12, op, nullptr);
    call.globalRef = ref;
    fake.calls.push_back(call);
    FakeJri::Object *global = fake.ObjectOf(ref);
    if (global == nullptr || global->kind != TOKEN_GLOBAL || global->disposed) {
        fake.misuse.push_back("GetGlobalRef of an unknown or disposed reference");
        return nullptr;
    }
    return global->referent;
}

static jref FakeNewObject(JRIEnv *env, jint op, jref clazz, JRIMethodID ctor, ...)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(15, op, clazz);
    call.id = ctor;
    va_list ap;
    va_start(ap, ctor);
    TakeArguments(fake, call, ap);
    va_end(ap);
    fake.calls.push_back(call);
    FakeJri::Object *cls = fake.ObjectOf(clazz);
    if (cls == nullptr || cls->kind != TOKEN_CLASS || fake.MemberOf(ctor) == nullptr)
        return nullptr;
    return reinterpret_cast<jref>(fake.NewToken(TOKEN_OBJECT, cls->classIndex, ""));
}

/* A lookup: the id of the class's member of that name, signature and kind. */
static int32_t Lookup(JRIEnv *env, int slot, jint op, jref clazz, const char *name,
                      const char *sig, FakeMemberKind kind)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(slot, op, clazz);
    call.name = name != nullptr ? name : "";
    call.signature = sig != nullptr ? sig : "";
    fake.calls.push_back(call);
    FakeJri::Object *cls = fake.ObjectOf(clazz);
    if (cls == nullptr || cls->kind != TOKEN_CLASS)
        return fake.missingMemberId;
    const FakeJavaClass &described = fake.classes[cls->classIndex];
    for (const FakeJavaMember &member : described.members)
        if (member.kind == kind && member.name == call.name && member.signature == call.signature)
            return fake.IdOf(described.name, member.name);
    return fake.missingMemberId;
}

static JRIMethodID FakeGetMethodID(JRIEnv *env, jint op, jref clazz, const char *name, const char *sig)
{
    return Lookup(env, 20, op, clazz, name, sig, FAKE_METHOD);
}

static JRIFieldID FakeGetFieldID(JRIEnv *env, jint op, jref clazz, const char *name, const char *sig)
{
    return Lookup(env, 48, op, clazz, name, sig, FAKE_FIELD);
}

static JRIMethodID FakeGetStaticMethodID(JRIEnv *env, jint op, jref clazz, const char *name,
                                         const char *sig)
{
    return Lookup(env, 68, op, clazz, name, sig, FAKE_STATIC_METHOD);
}

/* Every call variant: record slot, number, target, id and arguments; answer the
 * member's set result. */
static intptr_t Call(JRIEnv *env, int slot, jint op, jref target, int32_t id, va_list ap)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(slot, op, target);
    call.id = id;
    TakeArguments(fake, call, ap);
    fake.calls.push_back(call);
    return fake.ResultOf(id);
}

static jref FakeCallMethod(JRIEnv *env, jint op, jref obj, JRIMethodID method, ...)
{
    va_list ap;
    va_start(ap, method);
    intptr_t result = Call(env, 21, op, obj, method, ap);
    va_end(ap);
    return reinterpret_cast<jref>(result);
}

static jbool FakeCallMethodBoolean(JRIEnv *env, jint op, jref obj, JRIMethodID method, ...)
{
    va_list ap;
    va_start(ap, method);
    intptr_t result = Call(env, 24, op, obj, method, ap);
    va_end(ap);
    return static_cast<jbool>(result);
}

static jint FakeCallMethodInt(JRIEnv *env, jint op, jref obj, JRIMethodID method, ...)
{
    va_list ap;
    va_start(ap, method);
    intptr_t result = Call(env, 36, op, obj, method, ap);
    va_end(ap);
    return static_cast<jint>(result);
}

static jint FakeCallStaticMethodInt(JRIEnv *env, jint op, jref clazz, JRIMethodID method, ...)
{
    va_list ap;
    va_start(ap, method);
    intptr_t result = Call(env, 84, op, clazz, method, ap);
    va_end(ap);
    return static_cast<jint>(result);
}

static intptr_t FieldRead(JRIEnv *env, int slot, jint op, jref obj, int32_t field)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(slot, op, obj);
    call.id = field;
    fake.calls.push_back(call);
    return fake.FieldValue(obj, field);
}

static void FieldWrite(JRIEnv *env, int slot, jint op, jref obj, int32_t field, intptr_t value)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(slot, op, obj);
    call.id = field;
    call.args.push_back(value);
    fake.calls.push_back(call);
    fake.fields[{ obj, field }] = value;
}

static jref FakeGetField(JRIEnv *env, jint op, jref obj, JRIFieldID field)
{
    return reinterpret_cast<jref>(FieldRead(env, 49, op, obj, field));
}

static jint FakeGetFieldInt(JRIEnv *env, jint op, jref obj, JRIFieldID field)
{
    return static_cast<jint>(FieldRead(env, 54, op, obj, field));
}

static void FakeSetField(JRIEnv *env, jint op, jref obj, JRIFieldID field, jref value)
{
    FieldWrite(env, 58, op, obj, field, reinterpret_cast<intptr_t>(value));
}

static void FakeSetFieldInt(JRIEnv *env, jint op, jref obj, JRIFieldID field, jint value)
{
    FieldWrite(env, 63, op, obj, field, value);
}

static jref FakeNewStringUTF(JRIEnv *env, jint op, const char *bytes, jint length)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(118, op, nullptr);
    if (bytes != nullptr && length > 0)
        call.name.assign(bytes, static_cast<size_t>(length));
    call.args.push_back(length);
    fake.calls.push_back(call);
    return reinterpret_cast<jref>(fake.NewToken(TOKEN_STRING, -1, call.name));
}

static const char *FakeGetStringUTFChars(JRIEnv *env, jint op, jref string)
{
    FakeJri &fake = FakeJriOf(env);
    fake.calls.push_back(CallAt(120, op, string));
    FakeJri::Object *object = fake.ObjectOf(string);
    if (object == nullptr || object->kind != TOKEN_STRING)
        return nullptr;
    return object->text.c_str();
}

static void FakeRegisterNatives(JRIEnv *env, jint op, jref clazz, char **names, void **procs)
{
    FakeJri &fake = FakeJriOf(env);
    FakeJriCall call = CallAt(128, op, clazz);
    for (int i = 0; names != nullptr && names[i] != nullptr; i++)
        call.nativeNames.push_back(names[i]);
    for (int i = 0; procs != nullptr && procs[i] != nullptr; i++)
        call.nativeProcs.push_back(procs[i]);
    fake.calls.push_back(call);
}

static void FakeUnregisterNatives(JRIEnv *env, jint op, jref clazz)
{
    FakeJriOf(env).calls.push_back(CallAt(129, op, clazz));
}

static JRIEnvInterface MakeTable()
{
    JRIEnvInterface table;
    std::memset(&table, 0, sizeof table);
    table.FindClass = FakeFindClass;
    table.NewGlobalRef = FakeNewGlobalRef;
    table.DisposeGlobalRef = FakeDisposeGlobalRef;
    table.GetGlobalRef = FakeGetGlobalRef;
    table.NewObject = FakeNewObject;
    table.GetMethodID = FakeGetMethodID;
    table.CallMethod = FakeCallMethod;
    table.CallMethodBoolean = FakeCallMethodBoolean;
    table.CallMethodInt = FakeCallMethodInt;
    table.GetFieldID = FakeGetFieldID;
    table.GetField = FakeGetField;
    table.GetFieldInt = FakeGetFieldInt;
    table.SetField = FakeSetField;
    table.SetFieldInt = FakeSetFieldInt;
    table.GetStaticMethodID = FakeGetStaticMethodID;
    table.CallStaticMethodInt = FakeCallStaticMethodInt;
    table.NewStringUTF = FakeNewStringUTF;
    table.GetStringUTFChars = FakeGetStringUTFChars;
    table.RegisterNatives = FakeRegisterNatives;
    table.UnregisterNatives = FakeUnregisterNatives;
    return table;
}

static const JRIEnvInterface kFakeTable = MakeTable();

FakeJri::FakeJri(std::vector<FakeJavaClass> described) : classes(std::move(described))
{
    box_.table = &kFakeTable;
    box_.owner = this;
    /* One class token per described class, made up front so FindClass answers the same
     * token each time, as a runtime answers the same class. */
    for (size_t i = 0; i < classes.size(); i++)
        NewToken(TOKEN_CLASS, static_cast<int>(i), "");
}

FakeJri::~FakeJri()
{
    for (Object *object : objects_)
        delete object;
}

FakeJri::Object *FakeJri::NewToken(int kind, int classIndex, const std::string &text)
{
    Object *object = new Object{ static_cast<TokenKind>(kind), classIndex, text, nullptr, false };
    objects_.push_back(object);
    known_.insert(object);
    return object;
}

FakeJri::Object *FakeJri::ObjectOf(const void *token) const
{
    if (token == nullptr || known_.count(token) == 0)
        return nullptr;
    return static_cast<Object *>(const_cast<void *>(token));
}

int FakeJri::ClassIndexOf(const std::string &name) const
{
    for (size_t i = 0; i < classes.size(); i++)
        if (classes[i].name == name)
            return static_cast<int>(i);
    return -1;
}

jref FakeJri::ClassOf(const std::string &className) const
{
    int index = ClassIndexOf(className);
    return index < 0 ? nullptr : reinterpret_cast<jref>(objects_[index]);
}

int32_t FakeJri::IdOf(const std::string &className, const std::string &memberName) const
{
    int index = ClassIndexOf(className);
    if (index < 0)
        return 0;
    const std::vector<FakeJavaMember> &members = classes[index].members;
    for (size_t i = 0; i < members.size(); i++)
        if (members[i].name == memberName)
            return (index + 1) * kIdsPerClass + static_cast<int32_t>(i) + 1;
    return 0;
}

const FakeJavaMember *FakeJri::MemberOf(int32_t id) const
{
    int index = id / kIdsPerClass - 1;
    int member = id % kIdsPerClass - 1;
    if (id <= 0 || index < 0 || index >= static_cast<int>(classes.size()) || member < 0 ||
        member >= static_cast<int>(classes[index].members.size()))
        return nullptr;
    return &classes[index].members[member];
}

intptr_t FakeJri::ResultOf(int32_t id) const
{
    auto found = results_.find(id);
    return found != results_.end() ? found->second : 0;
}

intptr_t FakeJri::FieldValue(jref object, int32_t id) const
{
    auto found = fields.find({ object, id });
    return found != fields.end() ? found->second : 0;
}

jref FakeJri::NewObjectOf(const std::string &className)
{
    return reinterpret_cast<jref>(NewToken(TOKEN_OBJECT, ClassIndexOf(className), ""));
}

jref FakeJri::NewString(const char *text)
{
    if (text == nullptr)
        return nullptr;
    return reinterpret_cast<jref>(NewToken(TOKEN_STRING, -1, text));
}

std::string FakeJri::TextOf(jref string) const
{
    Object *object = ObjectOf(string);
    return object != nullptr && object->kind == TOKEN_STRING ? object->text : std::string();
}

std::vector<FakeJriCall> FakeJri::CallsAt(int slot) const
{
    std::vector<FakeJriCall> found;
    for (const FakeJriCall &call : calls)
        if (call.slot == slot)
            found.push_back(call);
    return found;
}

int FakeJri::CountAt(int slot) const
{
    int n = 0;
    for (const FakeJriCall &call : calls)
        n += call.slot == slot;
    return n;
}
