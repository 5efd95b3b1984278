// vemora-host: a stand-in for the plugin's instant-messenger host.
#include <iostream>
#include <string>
#include <vector>

#include "checked_output.h"
#include "host_error.h"
#include "host_run.h"
#include "options.h"
#include "terminal.h"
#include "typed_lines.h"

int main(int argc, char** argv) {
    using namespace vemora::standin;
    useBinaryStandardStreams();
    reportBrokenPipesAsWriteErrors();
    CheckedOutput outputBuffer(StandardStream::Output, 1 << 16);
    CheckedOutput errorBuffer(StandardStream::Errors, 1 << 12);
    std::ostream out(&outputBuffer);
    std::ostream errors(&errorBuffer);
    errors.setf(std::ios::unitbuf);  // each message as it is written, as std::cerr does

    Options options;
    try {
        options = parseOptions(commandLineArguments(argc, argv));
    } catch (const HostError& error) {
        errors << "vemora-host: " << error.what() << '\n';
        return 2;
    }
    if (options.help) {
        try {
            out << usageText();
            requireWritten(out);
        } catch (const OutputFailed& failure) {
            errors << "vemora-host: " << failure.what() << '\n';
            return 1;
        }
        return 0;
    }
    options.interactive = options.sources.empty() && !options.acceptEdits && standardInputIsTerminal();
    const std::unique_ptr<TypedLines> typed = options.interactive ? terminalLines(std::cin) : nullptr;
    return runHost(options, std::cin, out, errors, typed.get());
}
