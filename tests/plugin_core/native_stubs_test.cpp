/* native_stubs_test.cpp - the native stubs against natives of this test that record their
 * arguments: slots unpacked in order, environment passed on, results in slot 0, and the
 * slot pointer advanced by the number of result slots. */
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "java_bindings.h"
#include "page_natives.h"

/* What the last native call received, and what the next one answers. */
static std::string sCalled;
static std::vector<intptr_t> sReceived;
static intptr_t sAnswer;

static void Received(const char *name, std::vector<intptr_t> args)
{
    sCalled = name;
    sReceived = args;
}

extern "C" {
void native_Simple_saveString(JRIEnv *env, jref self, jref url, jint index)
{
    Received("saveString", { (intptr_t)env, (intptr_t)self, (intptr_t)url, index });
}
jint native_Simple_getIt(JRIEnv *env, jref self)
{
    Received("getIt", { (intptr_t)env, (intptr_t)self });
    return (jint)sAnswer;
}
jbool native_Simple_getString(JRIEnv *env, jref self, jref s)
{
    Received("getString", { (intptr_t)env, (intptr_t)self, (intptr_t)s });
    return (jbool)sAnswer;
}
void native_Simple_printToStdout(JRIEnv *env, jref self, jref text)
{
    Received("printToStdout", { (intptr_t)env, (intptr_t)self, (intptr_t)text });
}
void native_Simple_tricky(JRIEnv *env, jref self, jref jsobj, jint i)
{
    Received("tricky", { (intptr_t)env, (intptr_t)self, (intptr_t)jsobj, i });
}
}

typedef JRISlot *(*Stub)(JRISlot *, JRIEnv *);

struct StubCase {
    const char *stub;
    Stub        call;
    const char *native;
    int         argSlots;       /* slots passed on after the environment */
    intptr_t    answer;         /* what the native answers */
    int         advance;        /* result slots */
    intptr_t    slot0After;     /* slot 0 afterwards */
};

static JRIEnv *const kEnv = reinterpret_cast<JRIEnv *>(0xE0E0);
static const JRISlot kSlot0 = 0x1000;

static const StubCase kCases[] = {
    { "printToStdout", Java_Simple_printToStdout_stub, "printToStdout", 2, 0,   0, kSlot0 },
    { "saveString",    Java_Simple_saveString_stub,    "saveString",    3, 0,   0, kSlot0 },
    { "tricky",        Java_Simple_tricky_stub,        "tricky",        3, 0,   0, kSlot0 },
    { "getIt 1",       Java_Simple_getIt_stub,         "getIt",         1, 1,   1, 1 },
    { "getIt 42",      Java_Simple_getIt_stub,         "getIt",         1, 42,  1, 42 },
    { "getString 0",   Java_Simple_getString_stub,     "getString",     2, 0,   1, 0 },
    { "getString 1",   Java_Simple_getString_stub,     "getString",     2, 1,   1, 1 },
    { "getString 2",   Java_Simple_getString_stub,     "getString",     2, 2,   1, 1 },
    { "getString 255", Java_Simple_getString_stub,     "getString",     2, 255, 1, 1 },
};

TEST(NativeStubs, UnpackSlotsStoreResultsAndAdvance)
{
    for (const StubCase &c : kCases) {
        JRISlot slots[4] = { kSlot0, 0x2000, 7, 0x4000 };
        sCalled.clear();
        sAnswer = c.answer;

        JRISlot *returned = c.call(slots, kEnv);

        EXPECT_EQ(c.native, sCalled) << c.stub;
        std::vector<intptr_t> expected = { (intptr_t)kEnv };
        for (int i = 0; i < c.argSlots; i++)
            expected.push_back(i == 0 ? kSlot0 : (intptr_t)(i == 1 ? 0x2000 : 7));
        EXPECT_EQ(expected, sReceived) << c.stub;
        EXPECT_EQ(slots + c.advance, returned) << c.stub;
        EXPECT_EQ(c.slot0After, slots[0]) << c.stub;
        EXPECT_EQ(0x4000, slots[3]) << c.stub << ": no slot beyond the arguments is touched";
    }
}

TEST(NativeStubs, NullSlotsAreNotCalled)
{
    const Stub stubs[] = { Java_Simple_printToStdout_stub, Java_Simple_saveString_stub,
                           Java_Simple_getIt_stub, Java_Simple_tricky_stub,
                           Java_Simple_getString_stub };
    sCalled.clear();
    for (Stub stub : stubs)
        EXPECT_EQ(nullptr, stub(nullptr, kEnv));
    EXPECT_TRUE(sCalled.empty());
}
