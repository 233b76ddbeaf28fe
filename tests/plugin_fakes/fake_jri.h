/* fake_jri.h - an in-memory Java runtime for the plug-in's tests: a JRI function table
 * whose slots record (slot, operation number, arguments) and answer lookups from a small
 * description of classes. Objects, strings and global references are tokens owned by the
 * fake. Several fakes may live at once: each has its own environment. */
#ifndef FAKE_JRI_H
#define FAKE_JRI_H

#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "jri_interface.h"

enum FakeMemberKind { FAKE_FIELD, FAKE_METHOD, FAKE_STATIC_METHOD };

struct FakeJavaMember {
    FakeMemberKind kind;
    std::string    name;
    std::string    signature;
};

struct FakeJavaClass {
    std::string                 name;
    std::vector<FakeJavaMember> members;
};

/* One recorded call; only the fields of its slot are filled. */
struct FakeJriCall {
    int           slot = 0;            /* table slot called */
    intptr_t      op = 0;              /* operation number passed */
    jref          target = nullptr;    /* class, object or string the call works on */
    JRIGlobalRef  globalRef = nullptr; /* DisposeGlobalRef, GetGlobalRef */
    std::string   name;                /* FindClass, lookups: name; NewStringUTF: the bytes */
    std::string   signature;           /* lookups */
    int32_t       id = 0;              /* member id passed (calls, fields, NewObject) */
    std::vector<intptr_t> args;        /* further arguments: one per parameter of the
                                          member's signature; SetField*: the value;
                                          NewStringUTF: the length */
    std::vector<std::string> nativeNames;   /* RegisterNatives, up to the null entry */
    std::vector<void *>      nativeProcs;
};

class FakeJri {
public:
    /* Simple and netscape/plugin/Plugin as the plug-in expects them. */
    static FakeJavaClass SimpleClass();
    static FakeJavaClass PluginClass();
    static std::vector<FakeJavaClass> StandardClasses();

    explicit FakeJri(std::vector<FakeJavaClass> classes = StandardClasses());
    ~FakeJri();
    FakeJri(const FakeJri &) = delete;
    FakeJri &operator=(const FakeJri &) = delete;

    JRIEnv *env() { return &box_.table; }

    std::vector<FakeJriCall> calls;        /* every call, in order */
    std::vector<FakeJriCall> CallsAt(int slot) const;
    int CountAt(int slot) const;

    /* The answer to a lookup of a member the class does not have (name, signature or
     * kind differ). */
    int32_t missingMemberId = JRI_UNRESOLVED_ID;

    /* The id a lookup of that member answers; 0 when unknown. Ids of different members
     * differ, and none is 0 or -1. */
    int32_t IdOf(const std::string &className, const std::string &memberName) const;
    /* The class token FindClass answers for a name, or null. */
    jref ClassOf(const std::string &className) const;

    /* What calls through a member answer (CallMethod*, CallStaticMethod*); 0 by default. */
    void SetResult(int32_t id, intptr_t value) { results_[id] = value; }

    /* Objects for tests: a new object of a class, a Java string (null text: the null
     * string), and the text of a string token. None of these is recorded. */
    jref NewObjectOf(const std::string &className);
    jref NewString(const char *text);
    std::string TextOf(jref string) const;

    /* Field values, as SetField* left them (0 / null by default). */
    intptr_t FieldValue(jref object, int32_t id) const;

    /* Global references made and not disposed, and misuse seen (unknown global refs,
     * disposal twice), each with a note. */
    size_t LiveGlobalRefs() const { return liveGlobals.size(); }
    std::vector<std::string> misuse;

    /* Used by the table's functions. */
    struct Object;
    Object *ObjectOf(const void *token) const;       /* null when not one of ours */
    const FakeJavaMember *MemberOf(int32_t id) const;
    Object *NewToken(int kind, int classIndex, const std::string &text);
    int  ClassIndexOf(const std::string &name) const;
    intptr_t ResultOf(int32_t id) const;
    std::vector<FakeJavaClass> classes;
    std::map<std::pair<jref, int32_t>, intptr_t> fields;
    std::set<JRIGlobalRef> liveGlobals;

private:
    struct EnvBox {                        /* env() points at table, the first member */
        const JRIEnvInterface *table;
        FakeJri               *owner;
    } box_;
    std::deque<Object *> objects_;
    std::set<const void *> known_;
    std::map<int32_t, intptr_t> results_;
};

/* The fake that owns an environment made by FakeJri::env(). */
FakeJri &FakeJriOf(JRIEnv *env);

#endif /* FAKE_JRI_H */
