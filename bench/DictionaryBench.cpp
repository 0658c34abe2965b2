#include "dictionary/Dictionary.h"
#include "platform/ProgramFolder.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

// Loading both shipped dictionaries, as start-up does.
static void BM_LoadBothDictionaries(benchmark::State& state) {
    const TProgramFolder data(KORDI_SOURCE_DIR "/data");
    TDictionary words;
    for (auto _ : state) {
        UseLanguage(words, 2);
        words.LoadWords(data);
        UseLanguage(words, 1);
        words.LoadWords(data);
    }
    state.counters["words"] = words.WordCount[1] + words.WordCount[2];
}
BENCHMARK(BM_LoadBothDictionaries)->Unit(benchmark::kMillisecond);
