// Fills the two configuration slots of update.exe: the properties file name
// and the alternate directory. Plain C++, for any platform.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes filename (and altDir, when given) into the slots of the image.
// Refuses (false, with a reason in error) a file name over 300 characters,
// an alternate directory over 258 (the launcher enters it as its current
// directory), a value
// ending in a blank (the launcher would trim it), and an image in which a
// slot is not found exactly once. The image is unchanged on refusal.
bool fillSlots(std::vector<uint8_t> &image, const std::string &filename, const std::string *altDir,
               std::string &error);
