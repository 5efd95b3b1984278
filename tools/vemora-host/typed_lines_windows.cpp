// The console edits the line; ReadConsoleW hands it over in UTF-16, so that
// typed letters arrive whatever the console's code page. Ctrl-C makes the
// read return with nothing (ERROR_OPERATION_ABORTED) and calls the handler
// on a thread of its own; the handler here only says it was seen, and the
// session shows a fresh prompt instead of ending. Ctrl-Z at the start of a
// line, then Enter, ends the input.
#include <windows.h>

#include "typed_lines.h"
#include "wide_text_windows.h"

namespace vemora::standin {

namespace {

volatile LONG interrupted = 0;

BOOL WINAPI noteInterrupt(DWORD event) {
    if (event != CTRL_C_EVENT) return FALSE;  // Ctrl-Break and closing the window still end the process
    InterlockedExchange(&interrupted, 1);
    return TRUE;
}

class ConsoleLines : public TypedLines {
public:
    explicit ConsoleLines(HANDLE console) : console_(console) { SetConsoleCtrlHandler(noteInterrupt, TRUE); }
    ~ConsoleLines() override { SetConsoleCtrlHandler(noteInterrupt, FALSE); }
    ConsoleLines(const ConsoleLines&) = delete;
    ConsoleLines& operator=(const ConsoleLines&) = delete;

    Result next(std::string& line) override {
        InterlockedExchange(&interrupted, 0);
        std::wstring typed;
        while (typed.empty() || typed.back() != L'\n') {
            wchar_t buffer[1024];
            DWORD count = 0;
            const BOOL read = ReadConsoleW(console_, buffer, 1024, &count, nullptr);
            if ((!read && GetLastError() == ERROR_OPERATION_ABORTED) || (read && count == 0 && sawInterrupt())) {
                return Result::Cancelled;
            }
            if (!read || count == 0) return typed.empty() ? Result::End : finish(typed, line);
            typed.append(buffer, count);
        }
        if (!typed.empty() && typed.front() == L'\x1A') return Result::End;
        return finish(typed, line);
    }

private:
    // The handler runs on another thread and may come a moment after the read returned.
    static bool sawInterrupt() {
        for (int wait = 0; wait < 10 && InterlockedCompareExchange(&interrupted, 0, 0) == 0; ++wait) Sleep(10);
        return InterlockedExchange(&interrupted, 0) != 0;
    }

    static Result finish(std::wstring& typed, std::string& line) {
        while (!typed.empty() && (typed.back() == L'\n' || typed.back() == L'\r')) typed.pop_back();
        line = wideToUtf8(typed).value_or("\xEF\xBF\xBD");
        return Result::Line;
    }

    HANDLE console_;
};

}  // namespace

std::unique_ptr<TypedLines> terminalLines(std::istream& fallback) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input == nullptr || input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode)) {
        return std::make_unique<StreamLines>(fallback);  // a character device that is no console (NUL)
    }
    return std::make_unique<ConsoleLines>(input);
}

}  // namespace vemora::standin
