// How placeholder replacement scales: a 1 MB template holding 100,000
// placeholders, expanded with replacements longer, shorter and empty, set
// against plain copies of the same text. A replacement built in one pass
// should cost about as much as copying the text a few times.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "birthday/wish_template.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t TEMPLATE_BYTES = 1 << 20;
constexpr size_t PLACEHOLDERS = 100000;
constexpr int ROUNDS = 15;

volatile size_t sink = 0;  // keeps the work from being optimised away

// `placeholders` times "Hej @nick", then filler up to `bytes`.
std::string bigTemplate(size_t bytes = TEMPLATE_BYTES, size_t placeholders = PLACEHOLDERS) {
    std::string text;
    text.reserve(bytes);
    for (size_t i = 0; i < placeholders; ++i) text += "Hej @nick ";
    text.resize(bytes, '.');
    return text;
}

// The best of several rounds, in milliseconds: the least disturbed by others.
template <class Work>
double bestMilliseconds(Work work) {
    double best = 1e300;
    for (int round = 0; round < ROUNDS; ++round) {
        const auto start = Clock::now();
        work();
        const std::chrono::duration<double, std::milli> took = Clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main() {
    const std::string text = bigTemplate();
    const size_t found = [&] {
        size_t count = 0;
        for (size_t at = text.find("@nick"); at != std::string::npos; at = text.find("@nick", at + 5)) ++count;
        return count;
    }();
    std::printf("template: %zu bytes, %zu placeholders\n", text.size(), found);

    const double copy = bestMilliseconds([&] {
        std::string copied(text);
        sink = sink + copied.size();
    });
    std::printf("%-34s %8.3f ms\n", "copy of the template", copy);

    struct Case {
        const char* label;
        const char* replacement;
    };
    const std::vector<Case> cases = {
        {"replacement longer (9 bytes)", "Krzysztof"},
        {"replacement shorter (2 bytes)", "Jo"},
        {"replacement empty", ""},
    };
    for (const Case& c : cases) {
        size_t resultBytes = 0;
        const double took = bestMilliseconds([&] {
            const vemora::ByteText result = vemora::replaceAll(text, "@nick", c.replacement);
            resultBytes = result.size();
            sink = sink + resultBytes;
        });
        std::printf("%-34s %8.3f ms  = %5.1f copies  (result %zu bytes)\n", c.label, took, took / copy,
                    resultBytes);
    }

    // Linear growth: the time per megabyte stays flat as the template grows.
    std::printf("scaling (same density, replacement \"Krzysztof\"):\n");
    for (size_t scale : {1, 2, 4, 8}) {
        const std::string scaled = bigTemplate(TEMPLATE_BYTES * scale / 2, PLACEHOLDERS * scale / 2);
        const double took = bestMilliseconds([&] {
            sink = sink + vemora::replaceAll(scaled, "@nick", "Krzysztof").size();
        });
        std::printf("  %5.1f MB template  %8.3f ms  %6.3f ms per MB\n", scale / 2.0, took, took / (scale / 2.0));
    }
    return 0;
}
