#include "linetext.h"

std::string textModeBytes(const std::string &text) {
    std::string bytes;
    bytes.reserve(text.size() + 16);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}
