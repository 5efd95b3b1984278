// The exported entry point is the last line of defence: nothing thrown inside
// the plugin may unwind into the host.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "plugin_test.h"

extern "C" uint32_t VEMORA_STDCALL IMessageProc(const void* record);

namespace vemora::testing {
namespace {

using ExportTest = PluginTest;

uint32_t throughExport(uint32_t id, uint32_t p1 = 0) {
    MessageRecord record(id, 0, 0, p1, 0);
    return IMessageProc(&record);
}

TEST_F(ExportTest, AllocationFailureInsideAHandlerIsAnsweredZero) {
    ASSERT_EQ(throughExport(wire::MSG_INIT, toWord(host.control())), 1u);
    host.contactCount = 1;
    host.answer = [](const HostCall& call) -> std::optional<uint32_t> {
        if (call.isMessage(wire::REQ_CONTACT_COUNT)) throw std::bad_alloc();
        return std::nullopt;
    };
    EXPECT_EQ(throughExport(wire::MSG_START), 0u);
    EXPECT_EQ(throughExport(wire::MSG_SETCOLUMNS), 1u);  // the plugin goes on serving
}

TEST_F(ExportTest, AnyExceptionIsStoppedAtTheBoundary) {
    ASSERT_EQ(throughExport(wire::MSG_INIT, toWord(host.control())), 1u);
    host.answer = [](const HostCall&) -> std::optional<uint32_t> { throw std::runtime_error("host"); };
    EXPECT_EQ(throughExport(wire::MSG_START), 0u);
    EXPECT_EQ(throughExport(wire::MSG_INFO_NET), 139u);
}

}  // namespace
}  // namespace vemora::testing
