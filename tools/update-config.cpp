// update-config: writes the properties file name and, optionally, the
// alternate directory into a copy of update.exe.
//
//   update-config SOURCE.exe TARGET.exe PROPERTIES-FILE [ALTERNATE-DIR]
//
// The launcher looks for PROPERTIES-FILE by that name (relative to its
// current directory unless absolute), then as ALTERNATE-DIR\PROPERTIES-FILE.
// Each value holds at most 300 characters. SOURCE must be an update.exe whose
// slots are not yet filled in; it is left unchanged. Exit code 0 on success,
// 1 when refused, 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "slots.h"

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
    fclose(in);

    std::string error;
    std::string altDir = argc == 5 ? argv[4] : "";
    if (!fillSlots(image, argv[3], argc == 5 ? &altDir : nullptr, error)) {
        fprintf(stderr, "update-config: %s\n", error.c_str());
        return 1;
    }
    FILE *out = fopen(argv[2], "wb");
    if (!out || fwrite(image.data(), 1, image.size(), out) != image.size() || fclose(out) != 0) {
        fprintf(stderr, "update-config: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
