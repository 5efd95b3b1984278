#include "host_run.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "checked_output.h"
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
#include "state_lock.h"
#include "terminal.h"
#include "text_display.h"

namespace vemora::standin {

namespace {

bool showBold(Options::Bold bold) {
    if (bold == Options::Bold::Auto) return standardOutputIsTerminal();
    return bold == Options::Bold::Always;
}

// A typed line holding a control byte came from a key the prompt does not
// edit with (an arrow sends ESC [ A): it is refused whole, so that no such
// byte reaches a command or a message.
void refuseControlBytes(const std::string& line) {
    for (const char c : line) {
        if (!isControlByte(c)) continue;
        throw HostError("the line holds the control byte " + byteName(static_cast<unsigned char>(c)) +
                        ", which arrow and function keys send (this prompt has no line editing); it was not run");
    }
}

std::ifstream openScript(const std::string& name) {
    std::error_code error;
    if (std::filesystem::is_directory(utf8Path(name), error)) {
        throw HostError("cannot read the script " + name + ": " + systemReason(EISDIR));
    }
    errno = 0;
    std::ifstream script(utf8Path(name), std::ios::binary);
    if (!script) throw HostError("cannot read the script " + name + ": " + systemReason(errno != 0 ? errno : ENOENT));
    return script;
}

// A person typing: each line is run as it comes; a failed one is reported
// and the next prompt follows. The prompt goes with the errors, so that
// standard output holds only what the commands print.
void runTyped(CommandRunner& runner, TypedLines& typed, std::ostream& out, std::ostream& errors) {
    std::string line;
    int number = 0;
    while (true) {
        requireWritten(out);
        errors << "vemora-host> ";
        requireWritten(errors);
        const TypedLines::Result result = typed.next(line);
        if (result == TypedLines::Result::End) break;
        if (result == TypedLines::Result::Cancelled) {
            errors << '\n';
            continue;
        }
        try {
            refuseControlBytes(line);
            runner.runLine(line, "", ++number, "");
        } catch (const QuitRequested&) {
            return;
        } catch (const HostError& error) {
            out.flush();
            errors << "vemora-host: " << error.what() << '\n';
        }
    }
    errors << '\n';
}

void runSources(const Options& options, CommandRunner& runner, std::istream& in, std::ostream& out,
                std::ostream& errors, TypedLines* typed) {
    if (options.interactive) {
        StreamLines fromStream(in);
        runTyped(runner, typed != nullptr ? *typed : fromStream, out, errors);
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
                std::ifstream script = openScript(source.text);
                const std::u8string directory = utf8Path(source.text).parent_path().u8string();
                runner.runScript(script, source.text, std::string(directory.begin(), directory.end()));
                break;
            }
        }
    }
}

int runCommands(const Options& options, std::istream& in, std::ostream& out, std::ostream& errors,
                TypedLines* typed) {
    HostModel model;
    loadState(options.statePath, model);  // before anything runs: an unreadable file stops us here

    // Declared before the session, which may still talk to the plugin as it ends.
    ConsolePresenter presenter(out, errors, showBold(options.bold));
    BoundaryTrace trace(out);
    HostSession session(model, presenter, options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath);
    if (options.trace) session.setTrace(&trace);
    CommandRunner runner(model, session, out);

    try {
        runSources(options, runner, in, out, errors, typed);
    } catch (const QuitRequested&) {
    }
    if (session.running()) session.stop();
    // All that was shown reached its reader before the state is kept.
    requireWritten(out);
    requireWritten(errors);
    if (model.changedSinceSaved()) saveState(options.statePath, model);
    return 0;
}

}  // namespace

int runHost(const Options& options, std::istream& in, std::ostream& out, std::ostream& errors, TypedLines* typed) {
    try {
        if (options.today && !pinClock(options.today)) {
            throw CommandLineError("--today: " + whyNotPinned(*options.today));
        }
        const StateLock lock(options.statePath, STATE_LOCK_PATIENCE, [&](const std::string& notice) {
            errors << "vemora-host: " << notice << '\n';
            requireWritten(errors);
        });
        if (options.acceptEdits) {
            out << acceptStateEdits(options.statePath) << '\n';
            requireWritten(out);
            return 0;
        }
        return runCommands(options, in, out, errors, typed);
    } catch (const CommandLineError& error) {
        out.flush();
        errors << "vemora-host: " << error.what() << '\n';
        return 2;
    } catch (const std::exception& error) {
        out.flush();
        errors << "vemora-host: " << error.what() << '\n';
        errors.flush();
        return 1;
    }
}

}  // namespace vemora::standin
