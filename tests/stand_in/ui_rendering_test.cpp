// How the host lays out a plugin's page, and how it reads radio options.
#include <gtest/gtest.h>

#include "wire/ids.h"

#include "control_values.h"
#include "ui_rendering.h"

namespace vemora::standin {

namespace {

TEST(RadioOptions, SplitsAtNewlinesAndReadsIconReferences) {
    const auto options = radioOptions("Zanthor\x03#BCF70\nOkienko\x03#BC3BB\nBez ikony\nZ\x03zepsute");
    ASSERT_EQ(options.size(), 4u);
    EXPECT_EQ(options[0].caption, "Zanthor");
    EXPECT_EQ(options[0].icon, 774000u);
    EXPECT_EQ(options[1].icon, 771003u);
    EXPECT_FALSE(options[2].icon);
    EXPECT_EQ(options[3].caption, "Z\x03zepsute") << "what is no icon reference is kept";
    EXPECT_EQ(radioOptions("").size(), 1u);
}

TEST(Layout, LabelsCaptionTheNextControlAndValuesComeFromTheContactsRow) {
    HostModel model;
    model.tables.addContact();
    model.columns.registerColumn({wire::CONTACT_TABLE, 139015, ValueKind::Int, 0, "", false});
    model.columns.registerColumn({wire::CONTACT_TABLE, 139013, ValueKind::Text, 0, "", false});
    model.tables.set(wire::CONTACT_TABLE, 1, 139015, CellValue::ofInt(2));
    model.tables.set(wire::CONTACT_TABLE, 1, 139013, CellValue::ofText("Sto lat"));
    auto add = [&](int32_t id, int32_t parent, uint32_t status, const char* text, uint32_t param) {
        UiElement element;
        element.id = id;
        element.parent = parent;
        element.status = status;
        if (text != nullptr) element.text = text;
        element.param = param;
        model.ui.add(element);
    };
    add(139020, wire::UI_PARENT_CONTACT_INFO, 0x10, "Vemora", 139030);
    add(0, 139020, 0x90040, "Tre\x9C\xE6:", 0);
    add(139032, 139020, 0x16D000, "A\nB\nC", 139015);
    add(139031, 139020, 0xC0002, "\x01", 139013);
    add(0, 139020, 0x100000, nullptr, 0);

    EXPECT_EQ(layoutContactGroup(model, 1),
              "[contact group \"Vemora\", id 139020, icon 139030]\n"
              "  Treść:  ( ) A   ( ) B   (•) C\n"
              "  [Sto lat] (disabled)\n"
              "  ----------------------------------------\n");
    EXPECT_EQ(layoutSettingsPage(model), "(the plugin has added no settings page)\n");
}

}  // namespace
}  // namespace vemora::standin
