// vemora-host: a stand-in for the plugin's instant-messenger host.
#include <iostream>
#include <string>
#include <vector>

#include "host_error.h"
#include "host_run.h"
#include "options.h"

int main(int argc, char** argv) {
    using namespace vemora::standin;
    Options options;
    try {
        options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const HostError& error) {
        std::cerr << "vemora-host: " << error.what() << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    return runHost(options, std::cin, std::cout, std::cerr);
}
