// The fuzzer's bytes as two streams: the scenario (which records the host
// sends, and how its contact table behaves during each) is read from the
// front, the host's individual answers from the back. Plugin code that asks
// the host more or fewer questions then shifts only the answers, never the
// sequence of records, so a corpus input keeps its meaning as the plugin
// changes. When the two meet every read gives 0: any input, even an empty
// one, is a complete run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vemora::fuzz {

class FuzzInput {
public:
    class Stream {
    public:
        bool exhausted() const { return input_.front_ >= input_.back_; }

        uint8_t byte() {
            if (exhausted()) return 0;
            return fromBack_ ? input_.data_[--input_.back_] : input_.data_[input_.front_++];
        }

        uint16_t half() {
            const uint16_t low = byte();
            return static_cast<uint16_t>(low | (byte() << 8));
        }

        uint32_t word() {
            const uint32_t low = half();
            return low | (static_cast<uint32_t>(half()) << 16);
        }

        // One of `count` choices.
        unsigned pick(unsigned count) { return byte() % count; }

        // A length-prefixed run of bytes, cut at the first zero byte (a text
        // crossing the boundary is zero-terminated).
        std::string bytes(size_t maxLength) {
            const size_t length = byte() % (maxLength + 1);
            std::string text;
            for (size_t i = 0; i < length && !exhausted(); ++i) {
                const char c = static_cast<char>(byte());
                if (c == '\0') break;
                text.push_back(c);
            }
            return text;
        }

    private:
        friend class FuzzInput;
        Stream(FuzzInput& input, bool fromBack) : input_(input), fromBack_(fromBack) {}
        FuzzInput& input_;
        bool fromBack_;
    };

    FuzzInput(const uint8_t* data, size_t size) : data_(data), back_(size) {}
    FuzzInput(const FuzzInput&) = delete;
    FuzzInput& operator=(const FuzzInput&) = delete;

    Stream& scenario() { return scenario_; }
    Stream& answers() { return answers_; }

private:
    const uint8_t* data_;
    size_t front_ = 0;
    size_t back_;
    Stream scenario_{*this, false};
    Stream answers_{*this, true};
};

}  // namespace vemora::fuzz
