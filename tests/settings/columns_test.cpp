// Declaring the plugin's six settings columns to the host.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plugin_test.h"

namespace vemora::testing {
namespace {

struct ExpectedColumn {
    uint8_t table;
    uint32_t column;
    uint32_t valueType;
    std::optional<std::string> defaultText;  // nullopt: the default word is 0
};

// In the order the host must see them.
const std::vector<ExpectedColumn> SIX_COLUMNS = {
    {0, 139014, 0, std::nullopt},
    {0, 139019, 1, std::string("Najlepszego, itd.")},
    {1, 139013, 1, std::string("")},
    {1, 139015, 0, std::nullopt},
    {1, 139033, 0, std::nullopt},
    {0, 139034, 0, std::nullopt},
};

std::vector<uint8_t> littleEndian(uint32_t word) {
    return {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word >> 16),
            static_cast<uint8_t>(word >> 24)};
}

class ColumnsTest : public PluginTest {
protected:
    void SetUp() override { connect(); }

    void expectSixRegistrations(const std::vector<HostCall>& calls) {
        ASSERT_EQ(calls.size(), SIX_COLUMNS.size());
        for (size_t i = 0; i < calls.size(); ++i) {
            SCOPED_TRACE("registration " + std::to_string(i + 1));
            const HostCall& call = calls[i];
            const ExpectedColumn& want = SIX_COLUMNS[i];
            ASSERT_EQ(call.record.size(), 39u);

            // Header: size 39, id 1102, every other word 0.
            std::vector<uint8_t> header = {39, 0};
            for (uint32_t word : {1102u, 0u, 0u, 0u, 0u}) {
                const auto bytes = littleEndian(word);
                header.insert(header.end(), bytes.begin(), bytes.end());
            }
            EXPECT_EQ(std::vector<uint8_t>(call.record.begin(), call.record.begin() + 22), header);

            EXPECT_EQ(call.recordByte(22), want.table);  // a single byte
            EXPECT_EQ(call.recordWord(23), want.column);
            EXPECT_EQ(call.recordWord(27), want.valueType);
            if (want.defaultText) {
                EXPECT_NE(call.recordWord(31), 0u);
                EXPECT_EQ(call.recordText(31), want.defaultText);
            } else {
                EXPECT_EQ(call.recordWord(31), 0u);
            }
            EXPECT_EQ(call.recordWord(35), 0u);  // name word
        }
    }
};

TEST_F(ColumnsTest, SetColumnsRegistersTheSixColumnsInOrderAndNothingElse) {
    EXPECT_EQ(deliver(wire::MSG_SETCOLUMNS), 1u);
    EXPECT_EQ(host.calls().size(), 6u);
    expectSixRegistrations(host.messages(wire::REQ_COLUMN_REGISTER));
}

TEST_F(ColumnsTest, EveryMessageRegistersTheSameRecordsAgain) {
    ASSERT_EQ(deliver(wire::MSG_SETCOLUMNS), 1u);
    const std::vector<HostCall> first = host.messages(wire::REQ_COLUMN_REGISTER);
    host.clearCalls();
    EXPECT_EQ(deliver(wire::MSG_SETCOLUMNS), 1u);
    const std::vector<HostCall> second = host.messages(wire::REQ_COLUMN_REGISTER);
    expectSixRegistrations(second);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i].record, second[i].record) << "registration " << i + 1;
}

}  // namespace
}  // namespace vemora::testing
