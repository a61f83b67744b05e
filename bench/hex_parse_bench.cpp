// The transmit box's hexadecimal parse on large pastes: white space only,
// separators only, one run of digits, and a mix of numbers, signs, prefixes,
// separators and line breaks. Prints the time of each (goal: under 50 ms for
// 1 MB) and the bytes produced.
//
//   hex_parse_bench [bytes]      (default 1048576)

#include "terminal/hex_parse.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

std::string Repeat(std::string_view unit, std::size_t size)
{
    std::string text;
    text.reserve(size);
    while (text.size() < size)
        text.append(unit.substr(0, size - text.size()));
    return text;
}

std::string Mixed(std::size_t size)
{
    static constexpr std::string_view kPieces[] = {"41 ", "0x42,", "-7f;", "\r\n", "  ",
                                                   ",,",  "4G2 ",  "+0X",  "zz",   "\t"};
    std::mt19937 random(14);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
    std::string text;
    text.reserve(size + 8);
    while (text.size() < size)
        text.append(kPieces[pick(random)]);
    text.resize(size);
    return text;
}

void Measure(const char* name, const std::string& text)
{
    const auto start = std::chrono::steady_clock::now();
    const auto bytes = terminal::ParseHexBytes(text);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%-12s %9zu chars  %9.2f ms  %8zu bytes\n", name, text.size(), elapsed.count(), bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t size = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1u << 20;
    Measure("whitespace", "41 42" + Repeat("\r\n", size - 5));
    Measure("spaces", Repeat(" ", size));
    Measure("separators", Repeat(",", size));
    Measure("digits", Repeat("0123456789ABCDEF", size));
    Measure("mixed", Mixed(size));
    return 0;
}
