#include "launchtext.h"

#include <cstring>

#include "strutil.h"

namespace {

struct Key {
    const char *key;
    Setting setting;
    bool firstWins;  // else every line overwrites
    size_t capacity;
};

// Order is behaviour: a line is tested against the keys in this order.
const Key keys[] = {
    {"programName", Setting::ProgramName, true, 260},  {"execFilename", Setting::ExecFilename, true, 260},
    {"args", Setting::Args, true, 5000},               {"jvmRequiredVersion", Setting::JvmRequired, false, 259},
    {"jvmMaxVersion", Setting::JvmMax, false, 259},    {"jvmMinVersion", Setting::JvmMin, false, 259},
};

std::string &field(Settings *settings, Setting setting) {
    switch (setting) {
        case Setting::ProgramName: return settings->programName;
        case Setting::ExecFilename: return settings->execFilename;
        case Setting::Args: return settings->args;
        case Setting::JvmRequired: return settings->jvmRequired;
        case Setting::JvmMax: return settings->jvmMax;
        case Setting::JvmMin: break;
    }
    return settings->jvmMin;
}

// Compares as _stricmp does (a proper prefix sorts first).
int compareNoCase(const std::string &a, const std::string &b) { return ::compareNoCase(a.c_str(), b.c_str()); }

// The first key, in table order, that the line begins with.
const Key *keyOf(const std::string &line) {
    for (const Key &key : keys)
        if (line.compare(0, strlen(key.key), key.key) == 0) return &key;
    return nullptr;
}

std::string cut(const std::string &version, size_t length) { return version.substr(0, length); }

}  // namespace

std::string unescapeLine(const std::string &line) {
    std::string out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            if (++i == line.size()) break;
        }
        out += line[i];
    }
    return out;
}

size_t trimTrailingSpace(char *text) {
    size_t length = strlen(text);
    size_t end = length;
    while (end > 0 && text[end - 1] == ' ') --end;
    text[end] = '\0';
    return length;
}

size_t settingCapacity(Setting setting) {
    for (const Key &key : keys)
        if (key.setting == setting) return key.capacity;
    return 0;
}

const char *settingKey(Setting setting) {
    for (const Key &key : keys)
        if (key.setting == setting) return key.key;
    return "";
}

const char *propertyKeyOf(const std::string &line) {
    const Key *key = keyOf(line);
    return key ? key->key : nullptr;
}

LineOutcome applyPropertyLine(const std::string &line, Settings *settings, Setting *matched) {
    const Key *key = keyOf(line);
    if (!key) return LineOutcome::Ignored;
    size_t length = strlen(key->key);
    *matched = key->setting;
    // The value starts one character (the separator) after the key.
    if (line.size() <= length) return LineOutcome::Ignored;
    std::string value = line.substr(length + 1);
    std::string &target = field(settings, key->setting);
    if (key->firstWins && !target.empty()) return LineOutcome::Ignored;
    if (value.size() > key->capacity) return LineOutcome::TooLong;
    target = value;
    return LineOutcome::Taken;
}

bool verifyVersion(const std::string &jvmRequired, const std::string &jvmMin, const std::string &jvmMax,
                   const std::string &version) {
    if (!jvmRequired.empty()) return compareNoCase(cut(version, jvmRequired.size()), jvmRequired) == 0;
    if (compareNoCase(cut(version, jvmMin.size()), jvmMin) < 0) return false;
    if (!jvmMax.empty()) return compareNoCase(cut(version, jvmMax.size()), jvmMax) <= 0;
    return true;
}

void getNextParameter(std::string &text, std::string &token) {
    if (text.empty()) {
        token.clear();
        return;
    }
    if (text[0] == '"') {
        size_t close = text.find('"', 1);
        if (close != std::string::npos) {
            token = text.substr(1, close - 1);
            std::string rest = text.substr(close + 1);
            size_t blank = rest.find(' ');
            text = blank == std::string::npos ? rest : rest.substr(blank + 1);
            return;
        }
    }
    size_t blank = text.find(' ');
    if (blank == std::string::npos) {
        token = text;
        text.clear();
        return;
    }
    token = text.substr(0, blank);
    text = text.substr(blank + 1);
}

std::vector<std::string> splitParameters(const std::string &text) {
    std::vector<std::string> tokens;
    std::string rest = text, token;
    while (!rest.empty()) {
        getNextParameter(rest, token);
        tokens.push_back(token);
    }
    return tokens;
}

std::string quoteIfNeeded(const std::string &text) {
    if (text.find(' ') != std::string::npos && (text.empty() || text[0] != '"')) return "\"" + text + "\"";
    return text;
}

std::string argsString(const std::vector<std::string> &argv) {
    std::string joined;
    for (size_t i = 0; i < argv.size(); ++i) {
        if (i) joined += ' ';
        joined += quoteIfNeeded(argv[i]);
    }
    return joined;
}

bool needsInterpreterQuotes(const std::string &text) { return text.find_first_of(" \t&|<>^()") != std::string::npos; }

std::string quoteExecutable(const std::string &exe) {
    if (!exe.empty() && exe[0] != '"' && needsInterpreterQuotes(exe)) return "\"" + exe + "\"";
    return exe;
}

bool ownWordPassable(const std::string &word) { return word.find_first_of("\"\r\n") == std::string::npos; }

std::string quoteOwnWord(const std::string &word) {
    if (!needsInterpreterQuotes(word)) return word;
    size_t backslashes = 0;
    while (backslashes < word.size() && word[word.size() - 1 - backslashes] == '\\') ++backslashes;
    return "\"" + word + std::string(backslashes, '\\') + "\"";
}

bool quotesBalanced(const std::string &text) {
    size_t count = 0;
    for (char c : text) count += c == '"';
    return count % 2 == 0;
}

std::string joinArguments(const std::vector<std::string> &authorTokens, const std::vector<std::string> &ownWords) {
    std::string joined = argsString(authorTokens);
    for (size_t i = 0; i < ownWords.size(); ++i) {
        if (!joined.empty() || i) joined += ' ';
        joined += quoteOwnWord(ownWords[i]);
    }
    return joined;
}

std::string interpreterTail(const std::string &exe, const std::string &argText) {
    std::string tail = exe + " " + argText;
    if (tail[0] == '"') tail = "\"" + tail + "\"";
    return tail;
}

std::string chooseInterpreter(const char *comspec, const std::string &systemDir) {
    if (comspec) {
        std::string text = comspec;
        bool drivePath = text.size() > 3 && ((text[0] | 0x20) >= 'a' && (text[0] | 0x20) <= 'z') && text[1] == ':' &&
                         text[2] == '\\';
        bool uncPath = text.size() > 2 && text[0] == '\\' && text[1] == '\\';
        if ((drivePath || uncPath) && text.find('"') == std::string::npos) return text;
    }
    return systemDir.empty() ? std::string() : systemDir + "\\cmd.exe";
}

std::string interpreterWord(const std::string &interpreter) {
    return interpreter.find(' ') != std::string::npos ? "\"" + interpreter + "\"" : interpreter;
}

std::string launchCommand(const std::string &interpreter, const std::string &exe, const std::string &argText) {
    return interpreterWord(interpreter) + " /c " + interpreterTail(exe, argText);
}

std::string launchTrace(const std::string &exe, const std::string &argText) { return "\"" + exe + "\" " + argText; }

std::string slotText(const volatile char *slot) {
    std::string text;
    for (size_t i = 0; i < 300 && slot[i] != '\0'; ++i) text += slot[i];
    size_t end = text.find_last_not_of(' ');
    text.resize(end == std::string::npos ? 0 : end + 1);
    return text;
}

bool slotUnconfigured(const std::string &propertiesFilename) {
    static const char marker[] = "QzjQzjJavaAppPropertiesFilename";
    return propertiesFilename.compare(0, sizeof marker - 1, marker) == 0;
}

bool alternatePropertiesPath(const std::string &altDir, const std::string &filename, std::string *path) {
    if (altDir.size() > kAltDirChars) return false;
    *path = altDir + "\\" + filename;
    return true;
}

LineOutcome readPropertyLine(const char *raw, std::string *original, std::string *unescaped, Settings *settings,
                             Setting *matched) {
    *original = raw;
    size_t end = original->find('\n');
    if (end != std::string::npos) original->resize(end);
    *unescaped = unescapeLine(*original);
    return applyPropertyLine(*unescaped, settings, matched);
}

std::string runtimeVersion(const std::string &name, const std::string &microVersion) {
    return microVersion.empty() ? name : name + "." + microVersion;
}

std::string executableName(const std::string &execFilename) {
    size_t slash = execFilename.rfind('\\');
    return slash == std::string::npos ? execFilename : execFilename.substr(slash + 1);
}

std::string replacementPath(const std::string &home, const std::string &execFilename) {
    return home + "\\bin\\" + executableName(execFilename);
}
