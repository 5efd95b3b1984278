// The product itself, loaded the way the host loads it: LoadLibrary, then
// GetProcAddress of "_IMessageProc@4", called through a standard-convention
// pointer. A wrong calling convention would unbalance the stack on return.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "entry_call.h"
#include "vemora_version.h"

namespace vemora::testing {
namespace {

class LoadedDll : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(VEMORA_DLL_PATH);
        ASSERT_NE(module, nullptr) << VEMORA_DLL_PATH << ": error " << GetLastError();
        entry = reinterpret_cast<wire::MessageProc>(
            reinterpret_cast<void*>(GetProcAddress(module, wire::EXPORT_NAME_DLL)));
        ASSERT_NE(entry, nullptr);
    }
    void TearDown() override {
        if (module != nullptr) FreeLibrary(module);
    }

    uint32_t send(uint32_t id, uint32_t p1 = 0, uint16_t size = 30) { return callEntry(entry, id, p1, size); }

    HMODULE module = nullptr;
    wire::MessageProc entry = nullptr;
};

TEST_F(LoadedDll, AnswersIdentityThroughTheDecoratedExport) {
    EXPECT_EQ(send(wire::MSG_INFO_NET), 139u);
    EXPECT_EQ(send(wire::MSG_INFO_TYPE, 0, 22), 145u);
    EXPECT_EQ(textAt(send(wire::MSG_INFO_VERSION)), VEMORA_VERSION_TEXT);
    EXPECT_EQ(textAt(send(wire::MSG_INFO_SIGNATURE)), "Vem");
    EXPECT_EQ(textAt(send(wire::MSG_INFO_NAME)), "Vemora");
    EXPECT_EQ(send(wire::MSG_QUERY_20020), 2u);
}

TEST_F(LoadedDll, TheExportRemovesItsOwnArgument) {
    // The standard convention: the callee pops its one 4-byte argument, so
    // the stack pointer after the call equals the one before the push.
    const wire::MessageRecord record{{sizeof(wire::MessageRecord), wire::MSG_INFO_NET, 0, wire::HOST_NET, 0, 0}, 0, 0};
    uint32_t result = 0;
    int32_t drift = 0;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[record]\n\t"
        "call *%[function]\n\t"
        "movl %%esp, %[drift]\n\t"
        "subl %%esi, %[drift]\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(result), [drift] "=&r"(drift)
        : [function] "r"(entry), [record] "r"(&record)
        : "ecx", "edx", "esi", "memory", "cc");
    EXPECT_EQ(result, 139u);
    EXPECT_EQ(drift, 0);
}

TEST_F(LoadedDll, OnlyTheDecoratedNameIsExported) {
    EXPECT_EQ(GetProcAddress(module, "IMessageProc"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "IMessageProc@4"), nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(1))), reinterpret_cast<void*>(entry));
}

TEST_F(LoadedDll, UnhandledIdBeforeInitIsAnsweredZero) {
    EXPECT_EQ(send(30014), 0u);
    EXPECT_EQ(send(30015, 0, 22), 0u);
}

}  // namespace
}  // namespace vemora::testing
