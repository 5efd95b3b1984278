// What the host receives on MSG_UI_PREPARE: two icon registrations, then the
// contact group, the settings page and the two buttons, element by element.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "plugin_test.h"
#include "record_bytes.h"

namespace vemora::testing {
namespace {

// Stand-ins for the two texts whose wording is not fixed; compared by address.
const char ABOUT[] = "about";
const char BUILD_DAY[] = "build day";

// The button groups the host hands out, one per REQ_BUTTON_GROUP, in order.
constexpr uint32_t FIRST_BUTTON_GROUP = 7001;
constexpr uint32_t SECOND_BUTTON_GROUP = 7002;

struct ExpectedElement {
    uint16_t size;
    uint32_t parent;
    uint32_t id;
    uint32_t status;
    const char* text;  // nullptr: a null text pointer
    uint32_t param;
    uint16_t half70 = 0;
    uint16_t half72 = 0;
    uint32_t word66 = 0;
    uint32_t word58 = 0;
};

const std::array<ExpectedElement, 24> EXPECTED = {{
    {74, 71, 139020, 0x10, "Vemora", 139030},
    {74, 139020, 0, 0x90040, "Tre\x9c\xe6 \xbfycze\xf1:", 0, 80},
    {74, 139020, 139032, 0x16D000, "Domy\x9clna\nW\xb3" "asna\nNie wysy\xb3" "aj \xbfycze\xf1", 139015},
    {74, 139020, 139031, 0xC0002, "\x01", 139013, 0, 0, 50, 40},
    {74, 46, 139017, 0x10, "Vemora", 139030},
    {78, 139017, 0, 0xF0000, "Info", 0},
    {78, 139017, 0, 0x90000, "Wtyka s\xb3u\xbfy do wysy\xb3" "ania \xbfycze\xf1", 0},
    {78, 139017, 0, 0x100000, nullptr, 0},
    {78, 139017, 0, 0xF0000, "Opcje", 0},
    {74, 139017, 0, 0x90040, "Informacja o jubilatach:", 0, 120},
    {74, 139017, 0, 0x165000, "Zanthor\x03#BCF70\nOkienko\x03#BC3BB", 139014},
    {74, 139017, 0, 0x90040, "Okno Zanthor chowa si\xea:", 0, 120},
    {74, 139017, 0, 0x16D000, "po kilku sekundach.\npo naci\x9cni\xea" "ciu.", 139034, 120},
    {78, 139017, 0, 0x90000, "\xafyczenia urodzinowe:", 0},
    {78, 139017, 0x11000000, 0xC0000, "\x01\xafyczenia urodzinowe", 139019, 50, 40},
    {74, 139017, 0, 0x80000,
     "W \xbfyczeniach mozna u\xbfywa\xe6 zmiennych:\n-@nick-nick\n-@name-imi\xea\n-@surname-nazwisko\n"
     "-@display-nazwa wy\x9cwietlana\n-@age-wiek",
     0, 75},
    {78, 139017, 0, 0x100000, nullptr, 0},
    {78, 139017, 0, 0xF0000, "Vemora", 0},
    {74, 139017, 0, 0x80100, ABOUT, 0, 70},
    {74, 139017, 0, 0x90040, "Data kompilacji:", 0, 120},
    {74, 139017, 0, 0x90000, BUILD_DAY, 0},
    {78, 139017, 0, 0x100000, nullptr, 0},
    {74, FIRST_BUTTON_GROUP, 139034, 0x1100000, "Kto obchodzi urodziny?", 139009},
    {74, SECOND_BUTTON_GROUP, 139027, 0x1000000, "Roze\x9clij \xbfyczenia!", 500},
}};

constexpr size_t TEXT_OFFSET = 50;

// The whole record an add must carry, with the text pointer left 0 (checked apart).
std::vector<uint8_t> recordFor(const ExpectedElement& e) {
    std::vector<uint8_t> bytes(e.size, 0);
    put(bytes, 0, e.size, 2);
    put(bytes, 2, e.id);
    put(bytes, 6, e.parent);
    put(bytes, 10, 0xFFFFFFFEu);  // no contact
    put(bytes, 14, 0xFFFFFFFFu);
    put(bytes, 30, 0x35F);
    put(bytes, 34, e.status);
    put(bytes, 38, 0xFFFFFFFFu);
    put(bytes, 58, e.word58);
    put(bytes, 62, e.param);
    put(bytes, 66, e.word66);
    put(bytes, 70, e.half70, 2);
    put(bytes, 72, e.half72, 2);
    return bytes;
}

std::vector<std::string> options(const std::string& text) {
    std::vector<std::string> found;
    size_t start = 0;
    for (size_t newline; (newline = text.find('\n', start)) != std::string::npos; start = newline + 1)
        found.push_back(text.substr(start, newline - start));
    found.push_back(text.substr(start));
    return found;
}

class UiSetupTest : public PluginTest {
protected:
    void SetUp() override {
        connect();
        host.answer = [this](const HostCall& call) -> std::optional<uint32_t> {
            if (!call.isMessage(wire::REQ_BUTTON_GROUP)) return std::nullopt;
            return buttonGroupsAsked++ == 0 ? FIRST_BUTTON_GROUP : SECOND_BUTTON_GROUP;
        };
        ASSERT_EQ(deliver(wire::MSG_UI_PREPARE), 1u);
        adds = host.messages(wire::REQ_ACTION_ADD);
        ASSERT_EQ(adds.size(), EXPECTED.size());
    }

    int buttonGroupsAsked = 0;
    std::vector<HostCall> adds;
};

TEST_F(UiSetupTest, IconsComeFirstAndEachButtonAsksForItsGroup) {
    std::vector<std::string> seen;
    for (const HostCall& call : host.calls()) {
        if (call.kind == HostCall::Kind::GetPluginModule) seen.push_back("module");
        else if (call.isMessage(wire::REQ_ICON_REGISTER)) seen.push_back("icon");
        else if (call.isMessage(wire::REQ_BUTTON_GROUP)) seen.push_back("group");
        else if (call.isMessage(wire::REQ_ACTION_ADD)) seen.push_back("add");
        else seen.push_back("other");
    }
    std::vector<std::string> expected = {"module", "icon", "module", "icon"};
    expected.insert(expected.end(), 22, "add");
    expected.insert(expected.end(), {"group", "add", "group", "add"});
    EXPECT_EQ(seen, expected);

    const HostCall group = host.messages(wire::REQ_BUTTON_GROUP)[0];
    EXPECT_EQ(group.recordSize(), 30);
    EXPECT_EQ(group.recordWord(10), 0u);            // net
    EXPECT_EQ(group.recordWord(14), 0xFFFFFFFFu);  // type
}

TEST_F(UiSetupTest, IconRecordsNameTheModuleAndTheirResource) {
    const auto icons = host.messages(wire::REQ_ICON_REGISTER);
    ASSERT_EQ(icons.size(), 2u);
    const std::array<std::pair<uint32_t, uint32_t>, 2> idAndResource = {{{139030, 100}, {139009, 2}}};
    for (size_t i = 0; i < icons.size(); ++i) {
        std::vector<uint8_t> expected(36, 0);
        put(expected, 0, 36, 2);
        put(expected, 4, idAndResource[i].first);
        put(expected, 8, 1);  // type
        put(expected, 16, 1);  // options
        put(expected, 20, host.pluginModule);
        put(expected, 24, idAndResource[i].second);
        EXPECT_EQ(icons[i].payload, expected) << "icon " << i;
        EXPECT_EQ(icons[i].recordWord(10), 0u);
        EXPECT_EQ(icons[i].recordWord(14), 0u);
    }
}

TEST_F(UiSetupTest, EveryElementIsAddedAsLaidOut) {
    for (size_t row = 0; row < EXPECTED.size(); ++row) {
        SCOPED_TRACE("row " + std::to_string(row + 1));
        const ExpectedElement& e = EXPECTED[row];
        const HostCall& add = adds[row];
        EXPECT_EQ(add.recordSize(), 30);
        EXPECT_EQ(add.recordWord(14), 0u);

        std::vector<uint8_t> sent = add.payload;
        ASSERT_EQ(sent.size(), e.size);
        const bool nullText = add.payloadWord(TEXT_OFFSET) == 0;
        std::memset(sent.data() + TEXT_OFFSET, 0, 4);
        EXPECT_EQ(sent, recordFor(e));

        if (e.text == nullptr) {
            EXPECT_TRUE(nullText);
        } else if (e.text != ABOUT && e.text != BUILD_DAY) {
            EXPECT_EQ(add.payloadText(TEXT_OFFSET), std::string(e.text));
        }
    }
}

TEST_F(UiSetupTest, GroupsCarryOnlyTheGroupBitAndThePluginIcon) {
    int groups = 0;
    for (const HostCall& add : adds) {
        const uint32_t parent = add.payloadWord(6);
        if (parent != 71 && parent != 46) continue;
        ++groups;
        EXPECT_EQ(add.payloadWord(34), 0x10u);
        EXPECT_EQ(add.payloadWord(62), 139030u);
    }
    EXPECT_EQ(groups, 2);
}

TEST_F(UiSetupTest, ExtendedFormOnlyOnItsRows) {
    std::vector<size_t> extended;
    for (size_t row = 0; row < adds.size(); ++row) {
        if (adds[row].payload.size() != 78) continue;
        extended.push_back(row + 1);
        EXPECT_EQ(adds[row].payloadHalf(74), 0u);
        EXPECT_EQ(adds[row].payloadHalf(76), 0u);
    }
    EXPECT_EQ(extended, (std::vector<size_t>{6, 7, 8, 9, 14, 15, 17, 18, 22}));
}

TEST_F(UiSetupTest, RadioListsOfferTheirOptionsInOrder) {
    EXPECT_EQ(options(*adds[2].payloadText(TEXT_OFFSET)),
              (std::vector<std::string>{"Domy\x9clna", "W\xb3" "asna", "Nie wysy\xb3" "aj \xbfycze\xf1"}));
    EXPECT_EQ(options(*adds[10].payloadText(TEXT_OFFSET)),
              (std::vector<std::string>{"Zanthor\x03#BCF70", "Okienko\x03#BC3BB"}));
    EXPECT_EQ(options(*adds[12].payloadText(TEXT_OFFSET)),
              (std::vector<std::string>{"po kilku sekundach.", "po naci\x9cni\xea" "ciu."}));
}

TEST_F(UiSetupTest, BuildDateReadsMonthDayYear) {
    const std::regex dayOfBuild("(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) ( [1-9]|[12][0-9]|3[01]) [0-9]{4}");
    const std::string date = *adds[20].payloadText(TEXT_OFFSET);
    EXPECT_TRUE(std::regex_match(date, dayOfBuild)) << date;
}

TEST_F(UiSetupTest, AboutTextIsSeveralPolishLinesInCodePage1250) {
    const std::string about = *adds[18].payloadText(TEXT_OFFSET);
    EXPECT_GE(options(about).size(), 3u) << about;
    EXPECT_NE(about.find("Vemora"), std::string::npos);
    // It sends the user to the guide that comes with the DLL, not to the sources.
    EXPECT_NE(about.find("CZYTAJ.txt"), std::string::npos) << about;
    EXPECT_EQ(about.find("README"), std::string::npos) << about;
    // Polish letters in UTF-8 lead with 0xC4 or 0xC5; in code page 1250 those are other letters.
    EXPECT_EQ(about.find_first_of("\xc4\xc5"), std::string::npos) << "UTF-8 left in: " << about;
}

}  // namespace
}  // namespace vemora::testing
