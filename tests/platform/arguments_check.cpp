// Exits 0 when the second argument, as Utf8Arguments gives it, holds the UTF-8 bytes the first
// spells in hex. The hex is ASCII and survives any code page; the text on Windows only through
// the UTF-16 command line.

#include <cstdio>
#include <string>
#include <vector>

#include "platform/process.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = luma::Utf8Arguments(argc, argv);
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: arguments_check HEX TEXT\n");
        return 2;
    }
    std::string hex;
    for (const char byte : arguments[2]) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(byte));
        hex += digits;
    }
    if (hex != arguments[1]) {
        std::fprintf(stderr, "expected %s, got %s\n", arguments[1].c_str(), hex.c_str());
        return 1;
    }
    return 0;
}
