#include "sample_book.h"

#include "host_error.h"
#include "text_codec.h"

namespace vemora::standin {

namespace {

struct SampleContact {
    const char* uid;
    uint32_t net;
    const char* display;  // UTF-8
    const char* nick;
    const char* firstName;
    const char* surname;
    int dayOffset;  // from today
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

std::string cp1250(const char* utf8) {
    std::optional<std::string> converted = utf8ToCp1250(utf8);
    if (!converted) throw HostError(std::string("the sample text \"") + utf8 + "\" does not convert");
    return *converted;
}

}  // namespace

std::vector<ContactRecord> sampleAddressBook(const CivilDate& today) {
    std::vector<ContactRecord> contacts;
    for (const SampleContact& sample : SAMPLE) {
        ContactRecord contact;
        contact.uid = cp1250(sample.uid);
        contact.net = sample.net;
        contact.display = cp1250(sample.display);
        contact.nick = cp1250(sample.nick);
        contact.firstName = cp1250(sample.firstName);
        contact.surname = cp1250(sample.surname);
        contact.gender = sample.gender;
        if (sample.age >= 0) {
            CivilDate birthday = addDays(today, sample.dayOffset);
            birthday.year -= sample.age;
            contact.birthDate = birthday;
        }
        contacts.push_back(std::move(contact));
    }
    return contacts;
}

}  // namespace vemora::standin
