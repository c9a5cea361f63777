// libFuzzer entry point for the grade file reader. Every input must end in a
// grade or a clean EGradeFileError, and a grade that was read must come back
// the same through the writer and the reader again.
#include "grade_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GradeFileContents first;
    try {
        first = ReadGradeFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const EGradeFileError&) {
        return 0;
    }
    const QByteArray written = WriteGradeFile(first);
    if (!written.startsWith(kGradeFileStart)) std::abort();
    GradeFileContents again;
    try {
        again = ReadGradeFile(written);
    } catch (const EGradeFileError& e) {
        std::fprintf(stderr, "the writer's own file was refused: %s\n", e.what());
        std::abort();
    }
    bool same = again.fullMarks == first.fullMarks && again.classes.size() == first.classes.size();
    for (size_t k = 0; same && k < first.classes.size(); ++k)
        same = again.classes[k].name == first.classes[k].name && again.classes[k].file == first.classes[k].file;
    if (!same) {
        std::fprintf(stderr, "a grade changed on its way through a file\n");
        std::abort();
    }
    return 0;
}
