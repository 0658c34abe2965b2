"""Read hunspell-ru (ru_RU.dic and ru_RU.aff): the kind of every lower-case
entry, for tools/gen_dictionaries.py."""

import re
from collections import defaultdict

# ru_RU.dic lines are "lemma/FLAGS"; each flag names SFX rules of ru_RU.aff
# ("SFX flag strip add condition").  A lemma is a noun when a noun flag gives
# it singular case endings: E F G H I J K N O decline nouns, except the rules
# below, which decline adjectives, surnames, pronouns or nominative plurals
# (зубья).  Entries without flags (рот, сон, кофе, but also oblique forms,
# adverbs, pronouns), plural-only nouns (ножницы), adjectives used as nouns
# (рабочий, and the -ое/-ая forms: животное, столовая) stay only when the
# dictionaries give them as translations of nouns more than of anything else.

NOUN_FLAGS = frozenset("EFGHIJKNO")
NON_NOUN_RULES = frozenset({
    ("E", "ый"), ("E", "е"), ("H", "й"), ("F", "ая"), ("G", "ый"),
    ("G", "ий"), ("G", "ой"), ("G", "й"), ("O", "ий"), ("O", "ы"), ("O", "и"),
})
PLURAL_ENDINGS = frozenset({"ми", "м", "х"})
NUMERALS = frozenset("""пять шесть семь восемь девять десять двадцать тридцать
    одиннадцать двенадцать тринадцать четырнадцать пятнадцать шестнадцать
    семнадцать восемнадцать девятнадцать""".split())
ADJECTIVE_NOUN_FORMS = {"ый": ("ое", "ая"), "ой": ("ое", "ая"),
                        "ий": ("ее", "яя", "ое", "ая")}

def fold(word):
    """Lower case, Ё as Е: the form every source is compared in."""
    return word.lower().replace("ё", "е")


def suffix_rules(aff):
    """SFX rules of the text of ru_RU.aff: {flag: [(strip, add, condition
    regex)]}."""
    rules = defaultdict(list)
    for line in aff.splitlines():
        parts = line.split()
        if len(parts) >= 5 and parts[0] == "SFX":
            strip = "" if parts[2] == "0" else parts[2]
            add = "" if parts[3] == "0" else parts[3].split("/")[0]
            rules[parts[1]].append((strip, add, re.compile(f"(?:{parts[4]})$")))
    return rules


def applicable(lemma, flags, rules):
    """Yield (flag, strip, add) for every rule that applies to the lemma."""
    for flag in flags:
        for strip, add, condition in rules.get(flag, ()):
            if lemma.endswith(strip) and condition.search(lemma):
                yield flag, strip, add


def is_noun_rule(flag, strip, add):
    """True if a rule of a noun group declines a singular noun."""
    if flag not in NOUN_FLAGS or (flag, strip) in NON_NOUN_RULES:
        return False
    return not (flag == "O" and strip == "" and add in PLURAL_ENDINGS)


def hunspell_words(aff, dic, subtitle_forms):
    """From the texts of ru_RU.aff and ru_RU.dic, map each lower-case word to
    its kind ("noun", "plural noun", "adjective", "adjective noun", "bare")
    and return the nouns one of whose forms is a subtitle form."""
    rules = suffix_rules(aff)
    kinds, frequent, noun_forms = {}, set(), set()
    for line in dic.splitlines()[1:]:
        lemma, _, flags = line.split(" ")[0].partition("/")
        if not lemma[:1].islower():
            continue  # names and abbreviations are capitalised
        word = fold(lemma)
        if not flags:
            kinds.setdefault(word, "bare")
            continue
        if "A" in flags and word[-2:] in ADJECTIVE_NOUN_FORMS:
            kinds.setdefault(word, "adjective")
            for form in ADJECTIVE_NOUN_FORMS[word[-2:]]:
                kinds.setdefault(word[:-2] + form, "adjective noun")
        noun_rules = [r for r in applicable(lemma, flags, rules)
                      if is_noun_rule(*r)]
        if word in NUMERALS:
            continue
        if not noun_rules:
            if "O" in flags and word[-1] in "ыиая":
                kinds.setdefault(word, "plural noun")
            continue
        kinds[word] = "noun"
        forms = {fold(lemma[:len(lemma) - len(s)] + a) for _, s, a in noun_rules}
        noun_forms |= forms
        if (forms | {word}) & subtitle_forms:
            frequent.add(word)
    for word in noun_forms:  # the plural of a singular noun is no plural noun
        if kinds.get(word) == "plural noun":
            del kinds[word]
    return kinds, frequent
