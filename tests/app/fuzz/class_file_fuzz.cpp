// libFuzzer entry point for the class file reader. Every input must end in a
// class or a clean EClassFileError, and a class that was read must come back
// the same through the writer and the reader again.
#include "class_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ClassFileContents first;
    try {
        first = ReadClassFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const EClassFileError&) {
        return 0;  // a clear refusal is the right answer to a damaged file
    }
    const QByteArray written = WriteClassFile(first.data, first.savedPath);
    if (!written.startsWith(kClassFileStart)) std::abort();
    ClassFileContents again;
    try {
        again = ReadClassFile(written);
    } catch (const EClassFileError& e) {
        std::fprintf(stderr, "the writer's own file was refused: %s\n", e.what());
        std::abort();
    }
    if (!(again.data == first.data) || again.savedPath != first.savedPath) {
        std::fprintf(stderr, "a class changed on its way through a file\n");
        std::abort();
    }
    return 0;
}
