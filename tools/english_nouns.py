"""The English list: WordNet nouns, kept by SCOWL's sizes and WordNet's
labels; see tools/gen_dictionaries.py."""

import re
from collections import Counter, defaultdict, namedtuple

from word_sources import (MAX_LETTERS, MIN_LETTERS, SCOWL, SCOWL_COMMON_SIZE,
                          SCOWL_FIVE_LETTER_SIZE, TOOLS_DIR, WORDNET, Tally,
                          apply_word_lists, need, scowl_levels)

SOURCES_ENG = [
    "WordNet 3.0 (Debian wordnet-base), (c) 1996-2012 Princeton University,",
    "  WordNet 3.0 licence (below): the words, their kinds and labels.",
    "SCOWL (Debian scowl), (c) 2000-2011 Kevin Atkinson and others,",
    "  permissive: sizes 10 to 50 (60 for five letters and for WordNet",
    "  compounds it writes as one word) keep common words; its nouns",
    "  newer than WordNet and its one-word compounds up to size 80, as",
    "  tools/common-eng.txt names them.",
    "Words left out: tools/stoplist-eng.txt, tools/obscure-eng.txt; words",
    "  a reader let in: tools/common-eng.txt.",
]


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
    gallows bellows eaves dregs slacks shears bifocals secateurs calisthenics
    corduroys breeches jodhpurs sundries odds confines alms""".split())
# Everyday nouns that no source lists as a lower-case noun; newer ones that
# WordNet lacks but SCOWL has (podcast) come from tools/common-eng.txt.
ENGLISH_ADDITIONS = ("tv", "app", "jeans")
# WordNet writes compounds apart (tea_bag); SCOWL up to this size writes many
# of them as one word (teabag), and has nouns newer than WordNet (podcast):
# a reader judged these one by one.
SCOWL_JUDGED_SIZE = 60
# Up to this size such a compound or newer noun (wetsuit, ramen) comes in only
# when tools/common-eng.txt names it: most there are rare.
SCOWL_ADMITTED_SIZE = 80
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
    # One odd sense of an everyday word (boy, cat, fairy) does not count, nor
    # of a rarer one that a reader let in (taco, spade).
    if offensive * 2 > len(senses) or (offensive and lemma not in sources.admitted
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
                and levels.get(word, 99) <= SCOWL_ADMITTED_SIZE):
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
             and levels.get(w, 99) <= SCOWL_ADMITTED_SIZE}
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
