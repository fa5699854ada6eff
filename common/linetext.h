// The bytes a text-mode write puts on disk for a text: each line feed
// preceded by a carriage return. No Windows API.
#pragma once
#include <string>

std::string textModeBytes(const std::string &text);
