// Stand-in for a Java runtime's executable: records how it was started and
// exits with the code it is told.
//   STANDIN_RECORD  file to write (default standin.txt in the current directory)
//   STANDIN_EXIT    exit code (default 0)
// The record holds the lines "cmdline=", "cwd=" and "classpath=" (set or
// unset), then "arg=" for each word the runtime split the command line into.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    const char *record = getenv("STANDIN_RECORD");
    FILE *file = fopen(record ? record : "standin.txt", "wb");
    if (file) {
        char cwd[MAX_PATH + 1] = "";
        GetCurrentDirectoryA(sizeof cwd, cwd);
        fprintf(file, "cmdline=%s\ncwd=%s\nclasspath=%s\n", GetCommandLineA(), cwd,
                getenv("CLASSPATH") ? "set" : "unset");
        for (int i = 1; i < argc; ++i) fprintf(file, "arg=%s\n", argv[i]);
        fclose(file);
    }
    const char *code = getenv("STANDIN_EXIT");
    return code ? atoi(code) : 0;
}
