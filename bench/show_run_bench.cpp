// A run of vemora-host that only shows something, against a state file of
// 100,000 contacts: what every look at a large address book costs (reading
// the state file, and whatever the run does with it at the end).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "contact_import.h"
#include "host_run.h"
#include "numbered_contact.h"
#include "state_file.h"
#include "wire/ids.h"

using namespace vemora;
using namespace vemora::standin;

namespace {

constexpr int CONTACTS = 100000;
constexpr int RUNS = 5;

// Contacts as an import leaves them, plus what the plugin keeps for some.
HostModel largeAddressBook() {
    HostModel model;
    std::vector<ContactRecord> contacts;
    for (int i = 1; i <= CONTACTS; ++i) {
        ContactRecord contact = numberedContact(i);
        contact.birthDate = CivilDate{1950 + i % 60, 1 + i % 12, 1 + i % 28};
        contacts.push_back(std::move(contact));
    }
    importContacts(model.tables, contacts);
    model.columns.registerColumn(
        {wire::CONFIG_TABLE, wire::CFG_WISH_TEXT, ValueKind::Text, 0, "Najlepszego, itd.", true});
    model.columns.registerColumn({wire::CONTACT_TABLE, wire::CNT_WISH_MODE, ValueKind::Int, 0, "", true});
    model.columns.registerColumn({wire::CONTACT_TABLE, wire::CNT_AGE, ValueKind::Int, 0, "", true});
    for (int32_t row = 1; row <= CONTACTS; row += 10) {
        model.tables.set(wire::CONTACT_TABLE, row, wire::CNT_WISH_MODE, CellValue::ofInt(1));
        model.tables.set(wire::CONTACT_TABLE, row, wire::CNT_AGE, CellValue::ofInt(40));
    }
    return model;
}

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vemora-show-run-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string state = (folder / "vemora-host.state").string();
    HostModel model = largeAddressBook();
    saveState(state, model);

    Options options;
    options.statePath = state;
    options.pluginPath = VEMORA_SO_PATH;
    options.bold = Options::Bold::Never;
    options.sources.push_back({CommandSource::Kind::Inline, "show config"});

    double best = 1e9;
    int status = 0;
    for (int run = 0; run < RUNS && status == 0; ++run) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream errors;
        const auto start = std::chrono::steady_clock::now();
        status = runHost(options, in, out, errors);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (status != 0) std::fprintf(stderr, "%s", errors.str().c_str());
    }
    std::printf("%d contacts, state file of %.1f MB; best of %d runs\n", CONTACTS,
                static_cast<double>(std::filesystem::file_size(state)) / 1e6, RUNS);
    std::printf("%-34s %10.3f s\n", "a run that only shows (show config)", best);
    std::filesystem::remove_all(folder);
    return status;
}
