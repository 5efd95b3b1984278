// The build keeps this object in step with the calendar (cmake/build_date.cmake):
// it is recompiled whenever the build day changes, not only when sources do,
// because the settings page shows that day.
#include "settings/ui_layout.h"

#include "host/tables.h"
#include "host/ui_records.h"

namespace vemora {

namespace {

// The day this library was built, "Mmm dd yyyy": English month, day padded
// with a space, year ("Mar  9 2004"). From SOURCE_DATE_EPOCH when the build
// sets it, so that a rebuild of the same sources gives the same library.
constexpr const char BUILD_DATE[] = __DATE__;

// A leading 0x01 in a text field's text; 0x03 puts an icon ("#" and the icon
// id in hex) after a radio option. The numbers are icons of the notifier
// plugin (774000) and of the host (771003).
constexpr const char CONTACT_WISH_FIELD_TEXT[] = "\x01";
constexpr const char DEFAULT_WISH_FIELD_TEXT[] = "\x01" "Życzenia urodzinowe";
constexpr const char INFO_MODE_OPTIONS[] = "Zanthor\x03#BCF70\nOkienko\x03#BC3BB";

constexpr const char ABOUT_TEXT[] =
    "Vemora przypomina o urodzinach znajomych\n"
    "i pomaga szybko wysłać im życzenia.\n"
    "\n"
    "Autorzy: zespół Vemora, 2026; licencja MIT.\n"
    "Instrukcja obsługi: plik CZYTAJ.txt\n"
    "w archiwum ZIP z wtyczką.";

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

constexpr UiElement LAYOUT[] = {
    // form  parent  id  status  text  param  half70 half72 word66 word58
    // The group on every contact's information page: which template the contact gets.
    {Group, UI_PARENT_CONTACT_INFO, ACT_CONTACT_GROUP, 0, "Vemora", ICON_PLUGIN, 0, 0, 0, 0},
    {Plain, CONTACT, 0, ELEMENT_LABEL, "Treść życzeń:", 0, 80, 0, 0, 0},
    {Plain, CONTACT, ACT_CONTACT_WISH_MODE, ELEMENT_RADIO_LIST, "Domyślna\nWłasna\nNie wysyłaj życzeń", CNT_WISH_MODE,
     0, 0, 0, 0},
    // Added disabled: enabled only while "Własna" is chosen.
    {Plain, CONTACT, ACT_CONTACT_WISH_TEXT, ELEMENT_TEXT_FIELD | STATUS_DISABLED, CONTACT_WISH_FIELD_TEXT, CNT_WISH_TEXT, 0, 0,
     50, 40},

    // The settings page.
    {Group, UI_PARENT_SETTINGS, ACT_SETTINGS_GROUP, 0, "Vemora", ICON_PLUGIN, 0, 0, 0, 0},
    {Extended, PAGE, 0, ELEMENT_SECTION_TITLE, "Info", 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, ELEMENT_TEXT_LINE, "Wtyka służy do wysyłania życzeń", 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, ELEMENT_SEPARATOR, nullptr, 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, ELEMENT_SECTION_TITLE, "Opcje", 0, 0, 0, 0, 0},
    {Plain, PAGE, 0, ELEMENT_LABEL, "Informacja o jubilatach:", 0, 120, 0, 0, 0},
    {Plain, PAGE, 0, ELEMENT_ICON_RADIO_LIST, INFO_MODE_OPTIONS, CFG_INFO_MODE, 0, 0, 0, 0},
    {Plain, PAGE, 0, ELEMENT_LABEL, "Okno Zanthor chowa się:", 0, 120, 0, 0, 0},
    {Plain, PAGE, 0, ELEMENT_RADIO_LIST, "po kilku sekundach.\npo naciśnięciu.", CFG_NOTIFY_HIDE, 120, 0, 0, 0},
    {Extended, PAGE, 0, ELEMENT_TEXT_LINE, "Życzenia urodzinowe:", 0, 0, 0, 0, 0},
    {Extended, PAGE, ACT_DEFAULT_WISH_TEXT_FIELD, ELEMENT_TEXT_FIELD, DEFAULT_WISH_FIELD_TEXT, CFG_WISH_TEXT, 50, 40, 0, 0},
    {Plain, PAGE, 0, ELEMENT_HELP_TEXT, VARIABLES_HELP, 0, 75, 0, 0, 0},
    {Extended, PAGE, 0, ELEMENT_SEPARATOR, nullptr, 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, ELEMENT_SECTION_TITLE, "Vemora", 0, 0, 0, 0, 0},
    {Plain, PAGE, 0, ELEMENT_ABOUT_TEXT, ABOUT_TEXT, 0, 70, 0, 0, 0},
    {Plain, PAGE, 0, ELEMENT_LABEL, "Data kompilacji:", 0, 120, 0, 0, 0},
    {Plain, PAGE, 0, ELEMENT_TEXT_LINE, BUILD_DATE, 0, 0, 0, 0, 0},
    {Extended, PAGE, 0, ELEMENT_SEPARATOR, nullptr, 0, 0, 0, 0, 0},

    // The two buttons.
    {Plain, PARENT_BUTTON_GROUP, ACT_BIRTHDAYS_BUTTON, ELEMENT_BIRTHDAYS_BUTTON, "Kto obchodzi urodziny?",
     ICON_BIRTHDAYS, 0, 0, 0, 0},
    {Plain, PARENT_BUTTON_GROUP, ACT_SEND_WISHES_BUTTON, STATUS_BUTTON, "Roześlij życzenia!", ICON_HOST_SEND, 0, 0,
     0, 0},
};

}  // namespace

std::span<const UiElement> uiLayout() { return LAYOUT; }

}  // namespace vemora
