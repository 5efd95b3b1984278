// The lines a person types at the prompt of a typed session. Ctrl-C cancels
// the line being typed, as a shell does, and the prompt comes again; end of
// input (Ctrl-D, or Ctrl-Z and Enter on Windows) ends the session.
#pragma once

#include <istream>
#include <memory>
#include <string>

namespace vemora::standin {

class TypedLines {
public:
    enum class Result { Line, Cancelled, End };
    virtual ~TypedLines() = default;
    // The next line, without its line end.
    virtual Result next(std::string& line) = 0;
};

// Lines from a stream, where nothing cancels one (for tests, and for a
// terminal the platform cannot read otherwise).
class StreamLines : public TypedLines {
public:
    explicit StreamLines(std::istream& in) : in_(in) {}
    Result next(std::string& line) override;

private:
    std::istream& in_;
};

// One per platform: the terminal on standard input, with Ctrl-C caught for
// as long as the object lives; `fallback` where the platform reads it no
// other way.
std::unique_ptr<TypedLines> terminalLines(std::istream& fallback);

}  // namespace vemora::standin
