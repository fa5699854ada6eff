// Several processes appending to one file at once: every line reaches it
// whole, none is lost, and each process's lines keep their order.
#include "harness.h"

namespace {

using Lines = std::vector<std::string>;

class Appending : public ToolTest {
protected:
    std::string key;
    std::unique_ptr<RegistrySandbox> sandbox;
    void SetUp() override {
        ToolTest::SetUp();
        key = "Software\\TarvexTest\\Appending";
        sandbox.reset(new RegistrySandbox(HKEY_CURRENT_USER, key));
    }
    void TearDown() override {
        sandbox.reset();
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TarvexTest");
        ToolTest::TearDown();
    }
};

Lines splitCrLf(const std::string &text) {
    Lines lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));  // no line end: torn
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST_F(Appending, FourProcessesLoseAndTearNoLine) {
    const int processes = 4, lines = 250;
    std::string full = "HKEY_CURRENT_USER\\" + key;
    std::vector<HANDLE> running;
    enableLog();  // every process logs into one tool log too
    for (int p = 0; p < processes; ++p) {
        std::string script;
        for (int i = 0; i < lines; ++i)
            script += "add\t" + full + "\tp" + std::to_string(p) + "_" + std::to_string(i) + "\tstring\t" +
                      std::to_string(i) + "\n";
        std::string path = at("script" + std::to_string(p) + ".txt");
        writeFile(path, script);
        std::string command = quote(setupExe()) + " registry " + quote(path);
        std::vector<char> text(command.begin(), command.end());
        text.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                                   &process));
        CloseHandle(process.hThread);
        running.push_back(process.hProcess);
    }
    for (HANDLE process : running) {
        EXPECT_EQ(WaitForSingleObject(process, 100000), WAIT_OBJECT_0);
        CloseHandle(process);
    }

    // regstats.txt: 1000 whole lines, each process's in its own order.
    Lines results = splitCrLf(readFile(at("regstats.txt")));
    EXPECT_EQ(results.size(), static_cast<size_t>(processes * lines));
    std::vector<int> next(processes, 0);
    int whole = 0;
    for (const std::string &line : results) {
        bool matched = false;
        for (int p = 0; p < processes && !matched; ++p) {
            std::string name = "p" + std::to_string(p) + "_" + std::to_string(next[p]);
            if (line == "add\t\tok\t" + full + "\t" + name + "\tstring\t" + std::to_string(next[p])) {
                ++next[p];
                matched = true;
            }
        }
        whole += matched;
    }
    EXPECT_EQ(whole, processes * lines);
    for (int p = 0; p < processes; ++p) EXPECT_EQ(next[p], lines) << "process " << p;

    // The tool log: per process five start-up lines and, per script line,
    // the line as read (its line break makes a second, empty line), the
    // announcement, the entry and the results path. Every line but those
    // empty continuations carries a time stamp.
    Lines log = logMessages(readFile(at("tarvex2.log")));
    size_t stamped = 0, empty = 0, torn = 0;
    for (const std::string &line : log) {
        if (line == "<no stamp>")
            ++empty;
        else if (line.rfind("<no stamp>", 0) == 0)
            ++torn;
        else
            ++stamped;
    }
    EXPECT_EQ(torn, 0u);
    EXPECT_EQ(stamped, static_cast<size_t>(processes * (5 + lines * 4)));
    EXPECT_EQ(empty, static_cast<size_t>(processes * lines));
    EXPECT_EQ(std::count(log.begin(), log.end(), at("regstats.txt")), processes * lines);
}

}  // namespace
