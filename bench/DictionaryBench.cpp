#include "dictionary/Dictionary.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

// Loading both shipped dictionaries, as start-up does.
static void BM_LoadBothDictionaries(benchmark::State& state) {
    ProgramFolder::Override(KORDI_SOURCE_DIR "/data");
    for (auto _ : state) {
        Words.Language = 2;
        Words.LoadWords();
        Words.Language = 1;
        Words.LoadWords();
    }
    state.counters["words"] = Words.WordCount[1] + Words.WordCount[2];
}
BENCHMARK(BM_LoadBothDictionaries)->Unit(benchmark::kMillisecond);
