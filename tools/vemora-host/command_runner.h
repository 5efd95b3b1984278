// The stand-in's command language: one command a line, from a script file,
// standard input or the command line. COMMAND_HELP lists the commands.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "host_model.h"
#include "host_session.h"
#include "script_tokens.h"

namespace vemora::standin {

extern const char* const COMMAND_HELP;

// Thrown by "quit": the run ends there as if its input had ended, saving
// what changed.
struct QuitRequested {};

class CommandRunner {
public:
    CommandRunner(HostModel& model, HostSession& session, std::ostream& out)
        : model_(model), session_(session), out_(out) {}

    // One command. Relative file names are taken from `baseDirectory`.
    // Throws HostError saying what is wrong.
    void execute(const std::vector<Token>& words, const std::string& baseDirectory);
    // Every line of a script; an error names "SOURCE:LINE: COMMAND:" and
    // stops the run (with no SOURCE, runLine leaves out "SOURCE:LINE:").
    void runScript(std::istream& in, const std::string& sourceName, const std::string& baseDirectory);
    void runLine(const std::string& line, const std::string& sourceName, int lineNumber,
                 const std::string& baseDirectory);

private:
    using Words = std::vector<Token>;

    void dispatch(const std::string& command, const Words& words, const std::string& baseDirectory);
    void today(const Words& words);
    void sample(const Words& words);
    void importCsv(const Words& words, const std::string& baseDirectory);
    void start(const Words& words);
    void stop(const Words& words);
    void set(const Words& words);
    void get(const Words& words);
    void select(const Words& words);
    void press(const Words& words);
    void refresh(const Words& words);
    void show(const Words& words);
    void notify(const Words& words);
    void message(const Words& words);
    void echo(const Words& words);
    void info(const Words& words);
    void icons(const Words& words);

    void requireRunning() const;
    int32_t contactRow(const Token& token) const;
    uint32_t knownColumn(uint8_t table, const Token& token) const;
    void showContacts();
    void showConfig();
    void showColumns();
    void showIcons();
    void showMessages();
    void showContact(int32_t row);

    HostModel& model_;
    HostSession& session_;
    std::ostream& out_;
};

}  // namespace vemora::standin
