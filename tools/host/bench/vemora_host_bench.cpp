// The plugin against a large address book, through the stand-in host: where
// does the time go? For each operation it prints the time spent inside the
// plugin's IMessageProc, the part of it spent in the host's answers to the
// plugin's requests, and the rest, the plugin's own work.
//
// 100,000 contacts, 254 of them with a birthday today (as many as today's
// list holds): a rebuild of today's list (a button refresh), the start-up
// notice naming 254 contacts, and sending 254 wishes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "civil_date.h"
#include "clock_override.h"
#include "contact_import.h"
#include "entry/message_ids.h"
#include "host_events.h"
#include "host_session.h"

using namespace vemora::standin;

namespace {

constexpr int CONTACTS = 100000;
constexpr int BIRTHDAYS_TODAY = 254;
constexpr int RUNS = 5;
constexpr CivilDate TODAY{2026, 3, 9};

std::vector<ContactRecord> addressBook() {
    std::vector<ContactRecord> contacts;
    contacts.reserve(CONTACTS);
    const int spacing = CONTACTS / BIRTHDAYS_TODAY;
    for (int i = 1; i <= CONTACTS; ++i) {
        ContactRecord contact;
        contact.uid = std::to_string(4000000 + i);
        contact.net = 1;
        contact.firstName = "Jan";
        contact.surname = "Kowalski" + std::to_string(i);
        contact.display = contact.firstName + " " + contact.surname;
        contact.nick = "jk" + std::to_string(i);
        contact.gender = i % 3;
        const bool today = i % spacing == 0 && i / spacing <= BIRTHDAYS_TODAY;
        CivilDate birth = today ? TODAY : addDays(TODAY, 1 + i % 360);
        birth.year = 1950 + i % 60;
        contact.birthDate = birth;
        contacts.push_back(std::move(contact));
    }
    return contacts;
}

struct Figures {
    double plugin = 0;  // seconds inside IMessageProc
    double host = 0;    // of which in the host's answers
    uint64_t hostCalls = 0;
};

double seconds(CallMeter::Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Each figure is the best of RUNS (the run least disturbed by the machine).
// IMessageProc is timed in runs of its own, without timing the host's
// answers; those are timed in other runs, less the clock reads the timing
// adds to each.
template <class Operation>
Figures measure(CallMeter& meter, Operation operation) {
    static const double clockRead = seconds(CallMeter::clockReadCost());
    Figures best{1e9, 1e9, 0};
    for (bool timeHost : {false, true}) {
        meter.timeHostAnswers(timeHost);
        for (int run = 0; run < RUNS; ++run) {
            meter.reset();
            operation();
            const CallMeter::Totals& totals = meter.totals();
            if (timeHost) {
                best.host = std::min(best.host, seconds(totals.insideHost) - clockRead * totals.hostCalls);
                best.hostCalls = totals.hostCalls;
            } else {
                best.plugin = std::min(best.plugin, seconds(totals.insidePlugin));
            }
        }
    }
    meter.timeHostAnswers(true);
    return best;
}

void report(const char* operation, const Figures& f) {
    const double own = f.plugin - f.host;
    std::printf("%-34s %10llu %12.3f %12.3f %12.3f   1 : %.1f\n", operation,
                static_cast<unsigned long long>(f.hostCalls), f.plugin * 1e3, f.host * 1e3, own * 1e3,
                own > 0 ? f.host / own : 0.0);
}

}  // namespace

int main() {
    if (!pinClock(TODAY)) return 1;
    HostModel model;
    importContacts(model.tables, addressBook());
    SilentEvents events;
    HostSession session(model, events, VEMORA_SO_PATH);
    CallMeter meter;
    session.load();
    session.startUp();
    session.setMeter(&meter);

    std::printf("%d contacts, %d with a birthday today; best of %d runs; times in ms\n", CONTACTS, BIRTHDAYS_TODAY,
                RUNS);
    std::printf("%-34s %10s %12s %12s %12s   %s\n", "operation", "host calls", "IMessageProc", "host answers",
                "plugin own", "plugin : host");
    report("rebuild of today's list (refresh)",
           measure(meter, [&] { session.notifyAction(139027, static_cast<int32_t>(BUTTON_GROUP), -2, ACTION_REFRESH); }));
    report("notice naming 254 (MSG_START)",
           measure(meter, [&] { session.deliver(vemora::MSG_START); }));
    const size_t before = model.outbox.messages().size();
    report("sending 254 wishes (pressed)",
           measure(meter, [&] { session.notifyAction(139027, static_cast<int32_t>(BUTTON_GROUP), -2, ACTION_USED); }));
    const size_t sent = (model.outbox.messages().size() - before) / (2 * RUNS);
    std::printf("(each wish run sent %zu messages; one clock read costs %.0f ns and is taken off each host answer)\n",
                sent, seconds(CallMeter::clockReadCost()) * 1e9);
    session.setMeter(nullptr);
    return sent == BIRTHDAYS_TODAY ? 0 : 1;
}
