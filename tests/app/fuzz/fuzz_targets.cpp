// libFuzzer entry points, one per reader of untrusted score files; the build
// picks one with FUZZ_TARGET. Every input must end in sheets or a clean
// ESheetFileError / ETextTableError, and whatever is read must go through
// the column search and the score reading safely.
#include "item_reader.h"
#include "score_reader.h"
#include "score_table.h"
#include "workbook_readers.h"

#include <cstdint>

namespace {

void ReadScores(const std::vector<ScoreSheet>& sheets) {
    for (const ScoreSheet& s : sheets)
        for (int fullMarks : {100, 150}) {
            const ScoreReading r = ReadScoreTable(s.table, fullMarks);
            for (const ScoreColumn& c : r.choices) (void)ReadScoreTable(s.table, fullMarks, c.index);
        }
    // The same sheets as per-question scores.
    for (const ScoreSheet& s : sheets) {
        const ItemReading r = ReadItemTable(s.table);
        (void)TotalMismatches(r);
        (void)CellsAboveMarks(r, r.fullMarks.value_or(r.largest));
        if (r.fullMarks) (void)CheckQuestionMarks(*r.fullMarks);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
#if FUZZ_TARGET == 1
        ReadScores(ReadXlsxBook(bytes));
#elif FUZZ_TARGET == 2
        ReadScores(ReadOdsBook(bytes));
#else
        ReadScores({{QString(), ParseTextTable(DecodeText(bytes))}});
#endif
    } catch (const ESheetFileError&) {
    } catch (const ETextTableError&) {
    }
    return 0;
}
