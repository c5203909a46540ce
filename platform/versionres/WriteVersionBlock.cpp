// Build step: writes a program's version block from its source in resources/.
//   tavrin_versionblock <source.version> <block.bin>
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/versionres/VersionNode.h"
#include "platform/versionres/VersionSource.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source.version> <block.bin>\n", argv[0]);
        return 2;
    }
    try {
        const std::string source = ReadFileBytes(argv[1]);
        WriteFileReplacing(
            argv[2], versionres::SerializeVersionNode(versionres::ParseVersionSource(source)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
