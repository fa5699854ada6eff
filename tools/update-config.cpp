// update-config: writes the properties file name and, optionally, the
// alternate directory into a copy of update.exe.
//
//   update-config SOURCE.exe TARGET.exe PROPERTIES-FILE [ALTERNATE-DIR]
//
// The launcher looks for PROPERTIES-FILE by that name (relative to its
// current directory unless absolute), then as ALTERNATE-DIR\PROPERTIES-FILE.
// The file name holds at most 300 characters, the alternate directory 258
// (the launcher enters it as its current directory). SOURCE must be an update.exe whose
// slots are not yet filled in; it is left unchanged. Exit code 0 on success,
// 1 when refused, 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

#include "slots.h"

namespace {

// Writes the image to a temporary file beside target and renames it into
// place only when every byte was written: a failed write leaves target as
// it was (or absent) and no partial copy anywhere.
bool writeWhole(const std::string &target, const std::vector<uint8_t> &image) {
    std::string temporary = target + ".update-config.tmp";
    FILE *out = fopen(temporary.c_str(), "wb");
    if (!out) return false;
    bool written = fwrite(image.data(), 1, image.size(), out) == image.size();
    written = fflush(out) == 0 && written;
    written = fclose(out) == 0 && written;
#ifdef _WIN32
    written = written && MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    written = written && rename(temporary.c_str(), target.c_str()) == 0;
#endif
    if (!written) remove(temporary.c_str());
    return written;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 4 && argc != 5) {
        fprintf(stderr, "usage: update-config SOURCE.exe TARGET.exe PROPERTIES-FILE [ALTERNATE-DIR]\n");
        return 2;
    }
    FILE *in = fopen(argv[1], "rb");
    if (!in) {
        fprintf(stderr, "update-config: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<uint8_t> image;
    unsigned char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, in)) > 0) image.insert(image.end(), chunk, chunk + n);
    // A read error is not the end of the file: a copy of part of the
    // launcher is no launcher.
    bool readWhole = !ferror(in);
    fclose(in);
    if (!readWhole) {
        fprintf(stderr, "update-config: cannot read %s\n", argv[1]);
        return 1;
    }

    std::string error;
    std::string altDir = argc == 5 ? argv[4] : "";
    if (!fillSlots(image, argv[3], argc == 5 ? &altDir : nullptr, error)) {
        fprintf(stderr, "update-config: %s\n", error.c_str());
        return 1;
    }
    if (!writeWhole(argv[2], image)) {
        fprintf(stderr, "update-config: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
