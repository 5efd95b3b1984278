// The built plugin, loaded as the host loads it: one visible entry point that
// speaks the standard calling convention and never lets an exception out.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "fake_host.h"

namespace vemora::testing {
namespace {

class LoadedPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(VEMORA_SO_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        entry = reinterpret_cast<MessageProc>(dlsym(handle, "IMessageProc"));
        ASSERT_NE(entry, nullptr);
    }
    void TearDown() override {
        if (handle != nullptr) dlclose(handle);
    }

    uint32_t send(uint32_t id, uint32_t p1 = 0, uint16_t size = 30) {
        MessageRecord record(id, 0, 0, p1, 0);
        record.header.size = size;
        return entry(&record);
    }

    void* handle = nullptr;
    MessageProc entry = nullptr;
};

TEST_F(LoadedPlugin, AnswersIdentityThroughTheExport) {
    EXPECT_EQ(send(30010), 139u);
    EXPECT_EQ(send(30011, 0, 22), 145u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(static_cast<uintptr_t>(send(30016)))), "Vemora");
}

TEST_F(LoadedPlugin, OnlyTheEntryPointIsVisible) {
    for (const char* hidden : {"_ZN6vemora15dispatchMessageEPKv", "_ZN6vemora22collectTodaysBirthdaysEv",
                               "_ZN6vemora11sendRequestEjjjjj"}) {
        EXPECT_EQ(dlsym(handle, hidden), nullptr) << hidden;
    }
}

}  // namespace
}  // namespace vemora::testing
