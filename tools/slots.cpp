#include "slots.h"

#include <algorithm>

#include "launchtext.h"

namespace {

constexpr size_t kSlotChars = 300;

// The slot as built: marker, blanks to 300 characters, NUL.
std::string slotPattern(const std::string &marker) {
    std::string pattern = marker;
    pattern.resize(kSlotChars, ' ');
    pattern += '\0';
    return pattern;
}

// Offsets of every occurrence of pattern in image.
std::vector<size_t> find(const std::vector<uint8_t> &image, const std::string &pattern) {
    std::vector<size_t> found;
    auto begin = image.begin();
    for (;;) {
        auto at = std::search(begin, image.end(), pattern.begin(), pattern.end(),
                              [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); });
        if (at == image.end()) break;
        found.push_back(static_cast<size_t>(at - image.begin()));
        begin = at + 1;
    }
    return found;
}

bool checkValue(const std::string &what, const std::string &value, size_t limit, std::string &error) {
    if (value.size() > limit) {
        error = what + " is longer than " + std::to_string(limit) + " characters";
        return false;
    }
    if (!value.empty() && value.back() == ' ') {
        error = what + " ends in a blank, which the launcher would remove";
        return false;
    }
    if (value.find('\0') != std::string::npos) {
        error = what + " holds a NUL";
        return false;
    }
    return true;
}

}  // namespace

bool fillSlots(std::vector<uint8_t> &image, const std::string &filename, const std::string *altDir,
               std::string &error) {
    // The launcher's own limits: the alternate directory becomes its start
    // directory, which holds a path of kAltDirChars.
    if (!checkValue("the properties file name", filename, kSlotChars, error)) return false;
    if (altDir && !checkValue("the alternate directory", *altDir, kAltDirChars, error)) return false;
    std::vector<size_t> first = find(image, slotPattern("QzjQzjJavaAppPropertiesFilename"));
    std::vector<size_t> second = find(image, slotPattern("QzyQzyJavaAppPropertiesAltDir"));
    if (first.size() != 1 || (altDir && second.size() != 1)) {
        error = "the configuration slots were not found exactly once (already filled in, or not update.exe)";
        return false;
    }
    auto write = [&](size_t at, const std::string &value) {
        std::string slot = value;
        slot.resize(kSlotChars, ' ');
        std::copy(slot.begin(), slot.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
        image[at + kSlotChars] = 0;
    };
    write(first[0], filename);
    if (altDir) write(second[0], *altDir);
    return true;
}
