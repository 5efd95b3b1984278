#include "host_run.h"

#include <filesystem>
#include <fstream>

#include "clock_override.h"
#include "command_runner.h"
#include "console_presenter.h"
#include "file_io.h"
#include "host_error.h"
#include "host_model.h"
#include "host_session.h"
#include "plugin_library.h"
#include "record_trace.h"
#include "state_file.h"
#include "terminal.h"

namespace vemora::standin {

namespace {

bool showBold(Options::Bold bold) {
    if (bold == Options::Bold::Auto) return standardOutputIsTerminal();
    return bold == Options::Bold::Always;
}

// A person typing: each line is run as it comes; a failed one is reported
// and the next prompt follows. The prompt goes with the errors, so that
// standard output holds only what the commands print.
void runTyped(CommandRunner& runner, std::istream& in, std::ostream& out, std::ostream& errors) {
    std::string line;
    int number = 0;
    while (true) {
        out.flush();
        errors << "vemora-host> " << std::flush;
        if (!std::getline(in, line)) break;
        try {
            runner.runLine(line, "", ++number, "");
        } catch (const HostError& error) {
            out.flush();
            errors << "vemora-host: " << error.what() << '\n';
        }
    }
    errors << '\n';
}

void runSources(const Options& options, CommandRunner& runner, std::istream& in, std::ostream& out,
                std::ostream& errors) {
    if (options.interactive) {
        runTyped(runner, in, out, errors);
        return;
    }
    if (options.sources.empty()) {
        runner.runScript(in, "stdin", "");
        return;
    }
    int inlineNumber = 0;
    for (const CommandSource& source : options.sources) {
        switch (source.kind) {
            case CommandSource::Kind::Inline:
                runner.runLine(source.text, "-e", ++inlineNumber, "");
                break;
            case CommandSource::Kind::StandardInput:
                runner.runScript(in, "stdin", "");
                break;
            case CommandSource::Kind::File: {
                std::ifstream script(utf8Path(source.text), std::ios::binary);
                if (!script) throw HostError("cannot read the script " + source.text);
                const std::u8string directory = utf8Path(source.text).parent_path().u8string();
                runner.runScript(script, source.text, std::string(directory.begin(), directory.end()));
                break;
            }
        }
    }
}

}  // namespace

int runHost(const Options& options, std::istream& in, std::ostream& out, std::ostream& errors) {
    try {
        if (options.today && !pinClock(options.today)) {
            throw CommandLineError("--today: " + whyNotPinned(*options.today));
        }
        HostModel model;
        loadState(options.statePath, model);  // before anything runs: an unreadable file stops us here

        // Declared before the session, which may still talk to the plugin as it ends.
        ConsolePresenter presenter(out, errors, showBold(options.bold));
        BoundaryTrace trace(out);
        HostSession session(model, presenter, options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath);
        if (options.trace) session.setTrace(&trace);
        CommandRunner runner(model, session, out);

        runSources(options, runner, in, out, errors);
        if (session.running()) session.stop();
        if (model.changedSinceSaved()) saveState(options.statePath, model);
        out.flush();
        return 0;
    } catch (const CommandLineError& error) {
        out.flush();
        errors << "vemora-host: " << error.what() << '\n';
        return 2;
    } catch (const std::exception& error) {
        out.flush();
        errors << "vemora-host: " << error.what() << '\n';
        return 1;
    }
}

}  // namespace vemora::standin
