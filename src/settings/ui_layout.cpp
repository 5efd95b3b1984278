#include "settings/ui_layout.h"

#include "settings/build_date.h"
#include "settings/columns.h"
#include "settings/ui_ids.h"

namespace vemora {

namespace {

// Kinds of element, as the host knows them by their status bits.
constexpr uint32_t LABEL = 0x90040;
constexpr uint32_t TEXT_LINE = 0x90000;
constexpr uint32_t SECTION_TITLE = 0xF0000;
constexpr uint32_t SEPARATOR = 0x100000;
constexpr uint32_t RADIO_LIST = 0x16D000;
constexpr uint32_t ICON_RADIO_LIST = 0x165000;
constexpr uint32_t TEXT_FIELD = 0xC0000;
constexpr uint32_t HELP_TEXT = 0x80000;
constexpr uint32_t ABOUT_BOX = 0x80100;

// The settings page's default-template field carries this in its id field;
// nothing refers to it.
constexpr uint32_t WISH_TEXT_FIELD_ID = 0x11000000;

// A leading 0x01 in a text field's text; 0x03 puts an icon ("#" and the icon
// id in hex) after a radio option. The numbers are icons of the notifier
// plugin (774000) and of the host (771003).
constexpr const char CONTACT_WISH_TEXT[] = "\x01";
constexpr const char DEFAULT_WISH_TEXT[] = "\x01" "Życzenia urodzinowe";
constexpr const char INFO_MODE_OPTIONS[] = "Zanthor\x03#BCF70\nOkienko\x03#BC3BB";

constexpr const char ABOUT_TEXT[] =
    "Vemora przypomina o urodzinach znajomych\n"
    "i pomaga szybko wysłać im życzenia.\n"
    "\n"
    "Autorzy: zespół Vemora, 2026.\n"
    "Więcej o wtyczce: plik README.md\n"
    "dołączony do jej źródeł.";

constexpr const char VARIABLES_HELP[] =
    "W życzeniach mozna używać zmiennych:\n"
    "-@nick-nick\n"
    "-@name-imię\n"
    "-@surname-nazwisko\n"
    "-@display-nazwa wyświetlana\n"
    "-@age-wiek";

using enum ElementForm;
constexpr uint32_t CONTACT = ACT_CONTACT_GROUP;
constexpr uint32_t PAGE = ACT_SETTINGS_GROUP;

const UiElement LAYOUT[] = {
    // form  parent  id  status  text  param  sizeA sizeB extraA extraB
    // The group on every contact's information page: which template the contact gets.
    {Group, UI_PARENT_CONTACT_INFO, ACT_CONTACT_GROUP, 0, "Vemora", ICON_PLUGIN, 0, 0, 0, 0},
    {Plain, CONTACT, 0, LABEL, "Treść życzeń:", 0, 80, 0, 0, 0},
    {Plain, CONTACT, ACT_CONTACT_WISH_MODE, RADIO_LIST, "Domyślna\nWłasna\nNie wysyłaj życzeń", CNT_WISH_MODE,
     0, 0, 0, 0},
    // Added disabled: enabled only while "Własna" is chosen.
    {Plain, CONTACT, ACT_CONTACT_WISH_TEXT, TEXT_FIELD | STATUS_DISABLED, CONTACT_WISH_TEXT, CNT_WISH_TEXT, 0, 0,
     50, 40},

    // The settings page.
    {Group, UI_PARENT_SETTINGS, ACT_SETTINGS_GROUP, 0, "Vemora", ICON_PLUGIN, 0, 0, 0, 0},
    {Extended, PAGE, 0, SECTION_TITLE, "Info", 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, TEXT_LINE, "Wtyka służy do wysyłania życzeń", 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, SEPARATOR, nullptr, 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, SECTION_TITLE, "Opcje", 0, 0, 0, 0, 0},
    {Plain, PAGE, 0, LABEL, "Informacja o jubilatach:", 0, 120, 0, 0, 0},
    {Plain, PAGE, 0, ICON_RADIO_LIST, INFO_MODE_OPTIONS, CFG_INFO_MODE, 0, 0, 0, 0},
    {Plain, PAGE, 0, LABEL, "Okno Zanthor chowa się:", 0, 120, 0, 0, 0},
    {Plain, PAGE, 0, RADIO_LIST, "po kilku sekundach.\npo naciśnięciu.", CFG_NOTIFY_HIDE, 120, 0, 0, 0},
    {Extended, PAGE, 0, TEXT_LINE, "Życzenia urodzinowe:", 0, 0, 0, 0, 0},
    {Extended, PAGE, WISH_TEXT_FIELD_ID, TEXT_FIELD, DEFAULT_WISH_TEXT, CFG_WISH_TEXT, 50, 40, 0, 0},
    {Plain, PAGE, 0, HELP_TEXT, VARIABLES_HELP, 0, 75, 0, 0, 0},
    {Extended, PAGE, 0, SEPARATOR, nullptr, 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, SECTION_TITLE, "Vemora", 0, 0, 0, 0, 0},
    {Plain, PAGE, 0, ABOUT_BOX, ABOUT_TEXT, 0, 70, 0, 0, 0},
    {Plain, PAGE, 0, LABEL, "Data kompilacji:", 0, 120, 0, 0, 0},
    {Plain, PAGE, 0, TEXT_LINE, BUILD_DATE, 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, SEPARATOR, nullptr, 0, 0, 0, 0, 0},

    // The two buttons. The birthdays button's extra 0x100000 goes with its first refresh.
    {Plain, PARENT_BUTTON_GROUP, ACT_BIRTHDAYS_BUTTON, STATUS_BUTTON | 0x100000, "Kto obchodzi urodziny?",
     ICON_BIRTHDAYS, 0, 0, 0, 0},
    {Plain, PARENT_BUTTON_GROUP, ACT_SEND_WISHES_BUTTON, STATUS_BUTTON, "Roześlij życzenia!", ICON_HOST_SEND, 0, 0,
     0, 0},
};

}  // namespace

std::span<const UiElement> uiLayout() { return LAYOUT; }

}  // namespace vemora
