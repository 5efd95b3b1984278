// vemora-host: the Vemora plugin's test host and demo.
#include <iostream>

#include "host_error.h"
#include "host_run.h"
#include "platform.h"

int main(int argc, char** argv) {
    using namespace vemora::standin;
    prepareStandardStreams();
    Options options;
    try {
        options = parseOptions(commandLineArguments(argc, argv));
    } catch (const HostError& error) {
        std::cerr << "vemora-host: " << error.what() << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << usageText() << std::flush;
        return std::cout ? 0 : 1;
    }
    options.typed = options.sources.empty() && standardInputIsTerminal();
    return runHost(options, std::cin, std::cout, std::cerr);
}
