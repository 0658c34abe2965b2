"""What both word lists share: the sources' places, the filter tally and
the reader's word lists under tools/."""

import sys
from collections import Counter
from pathlib import Path

REPO_ROOT = Path(__file__).resolve().parent.parent
TOOLS_DIR = REPO_ROOT / "tools"
OUT_DIR = REPO_ROOT / "data" / "DATA"
MIN_LETTERS, MAX_LETTERS = 2, 20
MIN_WORDS, MIN_FIVE_LETTER_WORDS, MAX_WORDS = 15000, 1500, 65535

HUNSPELL = Path("/usr/share/hunspell/ru_RU")
WORDNET = Path("/usr/share/wordnet")
SCOWL = Path("/usr/share/dict/scowl")
DICTD = Path("/usr/share/dictd")
FREEDICT_LANGUAGES = "deu ell eng fra ita jpn nld pol swe".split()
SCOWL_COMMON_SIZE = 50  # sizes up to 50 hold what an ordinary reader knows
# Five-letter words start every game: they come from a wider pool (SCOWL up to
# 60, Russian nouns on one vote), and tools/obscure-<language>.txt, a reader's
# judgement of every one of them, drops the obscure.
SCOWL_FIVE_LETTER_SIZE = 60

class Tally(Counter):
    """Counts what each filter removed from one list, for the printout."""
    def drop(self, reason):
        self[reason] += 1
        return False

    def report(self, name, start, kept):
        print(f"{name}: {start} candidates")
        for reason, count in self.most_common():
            print(f"  {count:6d} removed: {reason}")
        five = sum(len(w) == 5 for w in kept)
        print(f"  {len(kept):6d} kept, {five} of five letters")


def need(path, package):
    """Return the path, or stop with the package to install."""
    if not Path(path).exists():
        sys.exit(f"error: {path} not found; install {package} "
                 "(see the header of this script)")
    return Path(path)


def apply_word_lists(language, words, tally):
    """Drop the words of tools/stoplist-<language>.txt and of the reader's
    tools/obscure-<language>.txt, counted under the '#' comment of their
    group."""
    dropped = {}
    for kind, label in (("stoplist", "stop-list"), ("obscure", "obscure")):
        group = label
        path = TOOLS_DIR / f"{kind}-{language}.txt"
        for line in path.read_text(encoding="utf-8").splitlines():
            line = line.strip()
            if line.startswith("#"):
                group = f"{label}: " + line.lstrip("# ")
            elif line:
                dropped.setdefault(line.upper().replace("Ё", "Е"), group)
    tally.update(dropped[word] for word in words if word in dropped)
    return sorted(set(words) - set(dropped))


def scowl_levels():
    """Smallest SCOWL size of each English word."""
    levels = {}
    for path in sorted(need(SCOWL, "scowl").glob("*-words.*")):
        if path.name.split("-")[0] in ("english", "american"):
            size = int(path.suffix[1:])
            for word in path.read_text(encoding="latin-1").split():
                levels[word] = min(size, levels.get(word, 99))
    return levels
