// The built-in address book of "sample" and the demo: its birthdays are set
// around the day it is made, so that the plugin always has something to say.
#include "contacts_csv.h"
#include "host_error.h"
#include "text.h"

namespace vemora::standin {

namespace {

struct SampleContact {
    const char* uid;
    int32_t net;
    const char* display;  // UTF-8
    const char* nick;
    const char* firstName;
    const char* surname;
    int dayOffset;  // of the birthday, from today
    int age;        // reached on that day; -1 for no birth date
    int32_t gender;
};

constexpr SampleContact SAMPLE[] = {
    {"4112001", 1, "Anna Kowalska", "Ania", "Anna", "Kowalska", 0, 28, 1},
    {"4112002", 1, "Piotr Nowak", "Piotrek", "Piotr", "Nowak", 0, 44, 2},
    {"zosia@jabber.example", 5, "Zofia Wiśniewska", "Zosia", "Zofia", "Wiśniewska", 0, 60, 1},
    {"4112004", 1, "Jan Kamiński", "Janek", "Jan", "Kamiński", 0, 24, 0},
    {"4112005", 1, "Maja Lewandowska", "Majeczka", "Maja", "Lewandowska", 0, 0, 0},
    {"4112006", 1, "Katarzyna Zielińska", "Kasia", "Katarzyna", "Zielińska", 1, 32, 1},
    {"4112007", 1, "Tomasz Wójcik", "Tomek", "Tomasz", "Wójcik", -1, 40, 2},
    {"4112008", 1, "Michał Szymański", "Michał", "Michał", "Szymański", 0, -1, 2},
};

CellValue text(const char* utf8) {
    std::optional<std::string> converted = utf8ToCp1250(utf8);
    if (!converted) throw HostError(std::string("the sample text \"") + utf8 + "\" does not convert");
    return CellValue::ofText(*converted);
}

}  // namespace

std::vector<ContactRecord> sampleAddressBook(const CivilDate& today) {
    std::vector<ContactRecord> contacts;
    for (const SampleContact& sample : SAMPLE) {
        int32_t birthDate = 0;
        if (sample.age >= 0) {
            const CivilDate birthday{std::chrono::sys_days{today} + std::chrono::days{sample.dayOffset}};
            birthDate = packBirthDate(CivilDate{birthday.year() - std::chrono::years{sample.age}, birthday.month(),
                                                birthday.day()});
        }
        // In the order of CONTACT_COLUMNS.
        contacts.push_back({{text(sample.uid), CellValue::ofInt(sample.net), text(sample.display), text(sample.nick),
                             text(sample.firstName), text(sample.surname), CellValue::ofInt(birthDate),
                             CellValue::ofInt(sample.gender)}});
    }
    return contacts;
}

}  // namespace vemora::standin
