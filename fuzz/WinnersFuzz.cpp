// The records file as a disk or another program may have left it: a file either is refused
// with a reason or gives a table that, written and read again, is the same table.

#include "FuzzCheck.h"
#include "platform/Errors.h"
#include "settings/Records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TWinnersTable table;
    try {
        table = ParseWinners(FuzzBytes(data, size));
    } catch (const KordiError&) {
        return 0;
    }
    const QByteArray written = FormatWinners(table);
    const TWinnersTable again = ParseWinners(written);
    // A control byte inside a name is written as a blank or "?"; all else keeps its bytes.
    FUZZ_CHECK(FormatWinners(again) == written);
    for (int language = 1; language <= 2; ++language)
        for (int level = 1; level <= 6; ++level)
            for (int place = 0; place <= 9; ++place)
                FUZZ_CHECK(again[language][level][place].Score ==
                           table[language][level][place].Score);
    return 0;
}
