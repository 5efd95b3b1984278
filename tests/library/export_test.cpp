// The built plugin, loaded as the host loads it: one visible entry point that
// speaks the standard calling convention and never lets an exception out.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "entry_call.h"

namespace vemora::testing {
namespace {

class LoadedPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(VEMORA_SO_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        entry = reinterpret_cast<wire::MessageProc>(dlsym(handle, wire::EXPORT_NAME_SO));
        ASSERT_NE(entry, nullptr);
    }
    void TearDown() override {
        if (handle != nullptr) dlclose(handle);
    }

    uint32_t send(uint32_t id, uint32_t p1 = 0, uint16_t size = 30) { return callEntry(entry, id, p1, size); }

    void* handle = nullptr;
    wire::MessageProc entry = nullptr;
};

TEST_F(LoadedPlugin, AnswersIdentityThroughTheExport) {
    EXPECT_EQ(send(wire::MSG_INFO_NET), 139u);
    EXPECT_EQ(send(wire::MSG_INFO_TYPE, 0, 22), 145u);
    EXPECT_EQ(textAt(send(wire::MSG_INFO_NAME)), "Vemora");
}

TEST_F(LoadedPlugin, OnlyTheEntryPointIsVisible) {
    for (const char* hidden : {"_ZN6vemora15dispatchMessageEPKv", "_ZN6vemora22collectTodaysBirthdaysEv",
                               "_ZN6vemora11sendRequestEjjjjj"}) {
        EXPECT_EQ(dlsym(handle, hidden), nullptr) << hidden;
    }
}

}  // namespace
}  // namespace vemora::testing
