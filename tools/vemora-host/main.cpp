// vemora-host: a stand-in for the plugin's instant-messenger host.
#include <iostream>
#include <string>
#include <vector>

#include "host_error.h"
#include "host_run.h"
#include "options.h"
#include "terminal.h"

int main(int argc, char** argv) {
    using namespace vemora::standin;
    useBinaryStandardStreams();
    Options options;
    try {
        options = parseOptions(commandLineArguments(argc, argv));
    } catch (const HostError& error) {
        std::cerr << "vemora-host: " << error.what() << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    options.interactive = options.sources.empty() && standardInputIsTerminal();
    return runHost(options, std::cin, std::cout, std::cerr);
}
