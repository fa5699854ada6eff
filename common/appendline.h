// The one writer of every file both programs append lines to: the results
// file "regstats.txt" and the logs "tarvex2.log", "pellix.log" and
// "errors.log".
#pragma once
#include <string>

enum class AppendOutcome { Written, NotOpened, Failed };

// Appends text, written as text mode writes it (a carriage return before
// each line feed), to the end of the file at path in one write, holding an
// exclusive lock on the file meanwhile: lines that processes write at once
// are neither lost nor torn. The file is opened and closed for this one
// write. create: make the file when it is missing (otherwise only an
// existing file is written). A write that fails part-way is cut back off,
// so the file never ends in a piece of a line.
AppendOutcome appendLine(const char *path, const std::string &text, bool create);
