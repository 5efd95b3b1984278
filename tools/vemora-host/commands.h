// The stand-in's command language: one command a line, from a script file,
// standard input or -e. One table of commands (name, usage, what it does,
// handler) drives the dispatch, the help and the errors.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "endpoint.h"
#include "host_model.h"
#include "text.h"

namespace vemora::standin {

// The commands and the words they take, for --help.
std::string commandHelp();

// Thrown by "quit": the run ends as if its input had ended.
struct QuitRequested {};

class CommandRunner {
public:
    CommandRunner(HostModel& model, HostEndpoint& endpoint, std::ostream& out)
        : model_(model), endpoint_(endpoint), out_(out) {}

    // One line; an error is thrown as HostError "SOURCE:LINE: COMMAND: what"
    // (without "SOURCE:LINE:" when there is no source).
    void runLine(const std::string& line, const std::string& source, int lineNumber);
    // Relative file names are taken from this folder (a script's).
    void setDirectory(const std::string& directory);

    using Words = std::vector<Token>;
    struct Command {
        const char* name;
        const char* usage;
        const char* help;  // its lines, each ended by "\n"
        void (CommandRunner::*run)(const Words& words);
    };
    static const std::vector<Command>& commands();

private:
    void today(const Words& words);
    void sample(const Words& words);
    void importCsv(const Words& words);
    void start(const Words& words);
    void stop(const Words& words);
    void set(const Words& words);
    void get(const Words& words);
    void select(const Words& words);
    void press(const Words& words);
    void show(const Words& words);
    void notify(const Words& words);
    void message(const Words& words);
    void echo(const Words& words);
    void info(const Words& words);
    void quit(const Words& words);

    // A command used the wrong way: runLine answers with its usage.
    struct WrongUsage {};
    [[noreturn]] static void usage() { throw WrongUsage{}; }
    void requireRunning() const;
    int32_t contactRow(const Token& token) const;
    uint32_t knownColumn(uint8_t table, const Token& token) const;
    CellValue cellInput(uint8_t table, uint32_t column, const Token& token, bool raw) const;
    std::string describeValue(uint8_t table, int32_t row, uint32_t column) const;
    void showContact(int32_t row);
    void showContacts();
    void showConfig();

    HostModel& model_;
    HostEndpoint& endpoint_;
    std::ostream& out_;
    std::string directory_;             // of the script being run
};

}  // namespace vemora::standin
