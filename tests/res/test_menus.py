#!/usr/bin/env python3
"""The translated menus of res/menus.rc against the English menu 10 of
src/viewer/syslens.rc: the same popups, items, separators and command ids in
the same order, under id 10 + 1000 x language, in that language's resource
language, each text with exactly one mnemonic.

    test_menus.py --english src/viewer/syslens.rc --translated res/menus.rc
"""
import argparse
import re
import sys
import unittest

ARGS = None

# Menu id -> (language number, LANGUAGE statement of the .rc).
LANGUAGES = {
    4010: (4, ("LANG_DUTCH", "SUBLANG_DUTCH")),
    7010: (7, ("LANG_FRENCH", "SUBLANG_FRENCH")),
    8010: (8, ("LANG_GERMAN", "SUBLANG_GERMAN")),
    14010: (14, ("LANG_ITALIAN", "SUBLANG_ITALIAN")),
    18010: (18, ("LANG_PORTUGUESE", "SUBLANG_PORTUGUESE_BRAZILIAN")),
    20010: (20, ("LANG_SPANISH", "SUBLANG_SPANISH")),
}

TOKEN = re.compile(r'L?"(?:[^"]|"")*"|//[^\n]*|[A-Za-z_][A-Za-z_0-9]*|\d+|,|\S')


def text_of(token):
    """The characters of a (wide) rc string literal."""
    body = token[2:-1] if token.startswith("L") else token[1:-1]
    body = body.replace('""', '"')
    return re.sub(r"\\x([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), body)


def parse_menus(path):
    """{menu id: (LANGUAGE names, [items])}; an item is ("popup", text, [items]),
    ("item", text, id) or ("separator",)."""
    with open(path, encoding="ascii") as f:
        tokens = [t for t in TOKEN.findall(f.read()) if not t.startswith("//")]
    menus, language, i = {}, None, 0

    # A small recursive-descent reader over the token list.
    def read_block(i):
        assert tokens[i] == "BEGIN", tokens[i:i + 3]
        i += 1
        items = []
        while tokens[i] != "END":
            if tokens[i] == "POPUP":
                text = text_of(tokens[i + 1])
                inner, i = read_block(i + 2)
                items.append(("popup", text, inner))
            elif tokens[i] == "MENUITEM" and tokens[i + 1] == "SEPARATOR":
                items.append(("separator",))
                i += 2
            elif tokens[i] == "MENUITEM":
                assert tokens[i + 2] == ",", tokens[i:i + 4]
                items.append(("item", text_of(tokens[i + 1]), int(tokens[i + 3])))
                i += 4
            else:
                raise AssertionError("unexpected %r in a menu of %s" % (tokens[i], path))
        return items, i + 1

    while i < len(tokens):
        if tokens[i] == "LANGUAGE":
            language = (tokens[i + 1], tokens[i + 3])
            i += 4
        elif tokens[i].isdigit() and i + 1 < len(tokens) and tokens[i + 1] == "MENU":
            items, end = read_block(i + 2)
            menus[int(tokens[i])] = (language, items)
            i = end
        else:
            i += 1
    return menus


def shape(items):
    """The structure without the texts."""
    return [(kind[0], shape(kind[2])) if kind[0] == "popup" else
            (kind[0], kind[2]) if kind[0] == "item" else kind for kind in items]


def texts(items):
    for item in items:
        if item[0] in ("popup", "item"):
            yield item[1]
        if item[0] == "popup":
            yield from texts(item[2])


class TranslatedMenus(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.english = parse_menus(ARGS.english)[10][1]
        cls.translated = parse_menus(ARGS.translated)

    def test_every_language_has_its_menu_and_no_other(self):
        self.assertEqual(sorted(self.translated), sorted(LANGUAGES))
        for menu_id, (number, _) in LANGUAGES.items():
            self.assertEqual(menu_id, 10 + 1000 * number)

    def test_structure_and_ids_are_the_english_ones(self):
        self.assertTrue(self.english, "English menu 10 not found")
        for menu_id, (_, items) in self.translated.items():
            self.assertEqual(shape(items), shape(self.english), menu_id)

    def test_resource_language(self):
        for menu_id, (language, _) in self.translated.items():
            self.assertEqual(language, LANGUAGES[menu_id][1], menu_id)

    def test_each_text_has_one_mnemonic_and_differs_from_english_somewhere(self):
        english = list(texts(self.english))
        for menu_id, (_, items) in self.translated.items():
            translated = list(texts(items))
            for text in translated:
                self.assertEqual(text.replace("&&", "").count("&"), 1, (menu_id, text))
                self.assertTrue(text.replace("&", "").strip(), (menu_id, text))
            self.assertNotEqual(translated, english, menu_id)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--english", required=True)
    parser.add_argument("--translated", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
