// Windows hands argv over in the ANSI code page and its C runtime turns "\n"
// into CR LF on text streams; the stand-in takes the wide command line and
// writes its UTF-8 bytes untouched, so its output is the Linux build's byte
// for byte (the console's code page is never involved).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "terminal.h"
#include "wide_text_windows.h"

namespace vemora::standin {

bool standardOutputIsTerminal() { return _isatty(_fileno(stdout)) != 0; }
bool standardInputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

void useBinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void reportBrokenPipesAsWriteErrors() {}  // a write to a closed pipe fails with ERROR_NO_DATA

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        // Unpaired surrogates cannot be UTF-8: such an argument becomes U+FFFD.
        arguments.push_back(wideToUtf8(wide[i]).value_or("\xEF\xBF\xBD"));
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace vemora::standin
