#!/usr/bin/env python3
"""Checks translated language files against the English base set.

    check_translation.py [--english res/strings/en.txt]
                         [--allow-missing [LANG=]IDS]... [--max-caption N]
                         FILE...

For every FILE (a language file in the format of res/strings/en.txt):

  - the header has 'language N' and 'codepage NNNN', the language number is
    not used by another FILE, and every text can be written in that code page;
  - every id is an id of the English file, and no id appears twice;
  - every id of the English file is present, except the ids that
    --allow-missing allows the language to lack;
  - each text has the same printf conversions (%s, %-4u, %04X, %%, ...),
    TABs, line breaks (CR, LF) and NULs as the English text, in the same
    order and number;
  - the leading blanks of the text, and those after each TAB, CR, LF and NUL,
    are the same as in the English text (the report lines up its captions
    with them);
  - on each line, the caption before the first TAB is at most N columns
    wide (default 28; a wide East Asian character takes two), or as wide as
    the English caption where that is wider.

--allow-missing takes a comma-separated list of ids and ranges
(3950-3960,3172); with a prefix 'LANG=' (15=3172,3176) it applies only to the
file of that language number, otherwise to every FILE. It may be repeated.
A FILE with language 0 (the English file itself) is skipped, so all files of
res/strings/ can be passed at once.

Prints one line per problem (path:line: id N: message) and exits 1 if there
is any, 2 on a usage error, 0 otherwise. --self-test runs the checker's own
tests.
"""
import argparse
import codecs
import os
import re
import sys
import unicodedata

ESCAPES = {'r': '\r', 'n': '\n', 't': '\t', '\\': '\\', '"': '"', '0': '\0'}
# ID "text", or in the English file ID NAME "text".
ENTRY = re.compile(r'^(\d+)\s+(?:kId[A-Za-z0-9]+\s+)?"(.*)"\s*$')
DIRECTIVE = re.compile(r'^(language|codepage)\s+(\d+)\s*$')
# printf conversion: flags, width, precision, length, kind.
CONVERSION = re.compile(r'%(?:%|[-+ #0]*(?:\*|\d+)?(?:\.(?:\*|\d+))?'
                        r'(?:hh|h|ll|l|L|I64|I32|I|z|j|t|w)?[diouxXeEfgGaAcCsSpn])')
STRUCTURAL = '\t\r\n\0'
DEFAULT_ENGLISH = os.path.normpath(os.path.join(
    os.path.dirname(os.path.abspath(__file__)), '..', '..', 'res', 'strings',
    'en.txt'))


class LangFile:
    def __init__(self, path):
        self.path = path
        self.language = None
        self.codepage = None
        self.texts = {}   # id -> text
        self.lines = {}   # id -> line number
        self.errors = []  # (line, message) found while reading


def decode(raw):
    """Decodes the escapes of a quoted text; returns (text, error)."""
    out, i = [], 0
    while i < len(raw):
        c = raw[i]
        if c == '"':
            return None, 'unescaped double quote inside the text'
        if c != '\\':
            out.append(c)
            i += 1
            continue
        if i + 1 >= len(raw):
            return None, 'text ends with a lone backslash'
        e = raw[i + 1]
        if e == 'x':
            digits = raw[i + 2:i + 4]
            if not re.fullmatch(r'[0-9A-Fa-f]{2}', digits):
                return None, '\\x needs exactly two hexadecimal digits'
            out.append(chr(int(digits, 16)))
            i += 4
        elif e in ESCAPES:
            out.append(ESCAPES[e])
            i += 2
        else:
            return None, f'unknown escape \\{e}'
    return ''.join(out), None


def read_lang_file(path, content=None):
    f = LangFile(path)
    if content is None:
        with open(path, encoding='utf-8-sig') as fh:
            content = fh.read()
    for n, line in enumerate(content.splitlines(), 1):
        s = line.strip(' \t')
        if not s or s.startswith('#'):
            continue
        m = DIRECTIVE.match(s)
        if m:
            if f.texts:
                f.errors.append((n, f"'{m.group(1)}' after the first entry"))
            setattr(f, m.group(1), int(m.group(2)))
            continue
        m = ENTRY.match(s)
        if not m:
            f.errors.append((n, 'not a comment, header line or entry ID "text"'))
            continue
        i = int(m.group(1))
        text, error = decode(m.group(2))
        if error:
            f.errors.append((n, f'id {i}: {error}'))
            continue
        if not text:
            f.errors.append((n, f'id {i}: empty text'))
            continue
        if i in f.texts:
            f.errors.append((n, f'id {i}: duplicate (first on line {f.lines[i]})'))
            continue
        f.texts[i] = text
        f.lines[i] = n
    if f.language is None or f.codepage is None:
        f.errors.append((1, "missing 'language' or 'codepage' line"))
    return f


def skeleton(text):
    """The printf conversions, TABs, CRs, LFs and NULs, in order."""
    tokens, i = [], 0
    while i < len(text):
        c = text[i]
        if c == '%':
            m = CONVERSION.match(text, i)
            if m:
                tokens.append(m.group(0))
                i = m.end()
                continue
            tokens.append('%?')  # a stray percent sign counts as well
        elif c in STRUCTURAL:
            tokens.append(c)
        i += 1
    return tokens


def leading_blanks(text):
    """Blanks at the start and after each TAB, CR, LF and NUL."""
    return [len(m.group(1)) for m in re.finditer(r'(?:^|[\t\r\n\0])( *)', text)]


def captions(text):
    """The text before the first TAB of every line that has a TAB."""
    out = []
    for line in re.split(r'\r\n|\n|\r', text):
        if '\t' in line:
            out.append(line.split('\t', 1)[0])
    return out


def width(text):
    """Columns the text takes in the report: wide (East Asian) characters
    count two, as in the double-byte code pages."""
    return sum(2 if unicodedata.east_asian_width(c) in 'WF' else 1
               for c in text)


def show(tokens):
    names = {'\t': '\\t', '\r': '\\r', '\n': '\\n', '\0': '\\0'}
    return ' '.join(names.get(t, t) for t in tokens) or '(none)'


def compare(english, text, max_caption):
    """Problems of one translated text against its English text."""
    problems = []
    want, have = skeleton(english), skeleton(text)
    if want != have:
        problems.append(f'placeholders/TABs/line breaks differ: English has '
                        f'[{show(want)}], translation has [{show(have)}]')
    else:
        lw, lh = leading_blanks(english), leading_blanks(text)
        if lw != lh:
            problems.append(f'leading blanks differ (at the start and after '
                            f'each TAB or line break): English {lw}, '
                            f'translation {lh}')
        for ce, ct in zip(captions(english), captions(text)):
            limit = max(max_caption, width(ce))
            if width(ct) > limit:
                problems.append(f'caption {ct!r} is {width(ct)} columns wide, '
                                f'more than {limit}')
    return problems


def parse_ids(text):
    ids = set()
    for part in text.split(','):
        part = part.strip()
        if not part:
            continue
        m = re.fullmatch(r'(\d+)(?:-(\d+))?', part)
        if not m:
            raise ValueError(f'bad id or range {part!r}')
        lo = int(m.group(1))
        hi = int(m.group(2) or lo)
        if hi < lo:
            raise ValueError(f'empty range {part!r}')
        ids.update(range(lo, hi + 1))
    return ids


def parse_allowances(values):
    """Maps a language number (None for every language) to allowed ids."""
    allowed = {}
    for v in values:
        lang = None
        m = re.fullmatch(r'(\d+)=(.*)', v)
        if m:
            lang, v = int(m.group(1)), m.group(2)
        allowed.setdefault(lang, set()).update(parse_ids(v))
    return allowed


def check_file(f, english, allowed, max_caption):
    """Yields (line, message) for every problem of language file f."""
    yield from f.errors
    if f.language is None or f.codepage is None:
        return
    try:
        codec = codecs.lookup(f'cp{f.codepage}')
    except LookupError:
        yield 1, f'unknown code page {f.codepage}'
        codec = None
    may_lack = allowed.get(None, set()) | allowed.get(f.language, set())
    for i, text in f.texts.items():
        n = f.lines[i]
        if i not in english.texts:
            yield n, f'id {i}: not an id of {english.path}'
            continue
        for p in compare(english.texts[i], text, max_caption):
            yield n, f'id {i}: {p}'
        if codec:
            try:
                codec.encode(text)
            except UnicodeEncodeError as e:
                yield n, (f'id {i}: {text[e.start:e.end]!r} cannot be written '
                          f'in code page {f.codepage}')
    missing = sorted(i for i in english.texts
                     if i not in f.texts and i not in may_lack)
    for i in missing:
        yield 0, f'id {i}: missing (English: {english.texts[i]!r})'


def run(paths, english_path, allowed, max_caption, out=sys.stdout):
    english = read_lang_file(english_path)
    bad = 0
    for line, message in english.errors:
        print(f'{english_path}:{line}: {message}', file=out)
        bad += 1
    languages = {}
    for path in paths:
        f = read_lang_file(path)
        if f.language == 0:
            continue
        if f.language is not None:
            if f.language in languages:
                print(f'{path}:1: language {f.language} already given by '
                      f'{languages[f.language]}', file=out)
                bad += 1
            languages.setdefault(f.language, path)
        problems = list(check_file(f, english, allowed, max_caption))
        for line, message in problems:
            where = f'{path}:{line}' if line else path
            print(f'{where}: {message}', file=out)
        bad += len(problems)
        if not problems:
            print(f'{path}: language {f.language}, {len(f.texts)} strings, '
                  f'ok', file=out)
    return bad


def self_test():
    en = read_lang_file('en', 'language 0\ncodepage 1252\n'
                        '3007 "  Vendor\\t: %s"\n'
                        '3148 "\\r\\n  String %-4u\\t: %s"\n'
                        '3186 "Detail %d\\t: %%s"\n'
                        '3956 "Log Files\\0*.log\\0"\n'
                        '3958 "A\\nB"\n')
    ok = ('language 8\ncodepage 1252\n'
          '3007 "  Hersteller\\t: %s"\n'
          '3148 "\\r\\n  Zeichenfolge %-4u\\t: %s"\n'
          '3186 "Detail %d\\t: %%s"\n'
          '3956 "Protokolldateien\\0*.log\\0"\n'
          '3958 "\\x41\\nB"\n')
    cases = [
        (ok, {}, []),
        (ok.replace('%-4u', '%u'), {}, ['placeholders']),
        (ok.replace('Detail %d\\t: %%s', 'Detail %d\\t: %s'), {}, ['placeholders']),
        (ok.replace('"  Hersteller', '" Hersteller'), {}, ['leading blanks']),
        (ok.replace('\\t: %s"\n3148', ': %s"\n3148'), {}, ['placeholders']),
        (ok.replace('Protokolldateien\\0', 'Protokolldateien '), {}, ['placeholders']),
        (ok.replace('Hersteller', 'Ein sehr, sehr langer Hersteller'), {}, ['caption']),
        (ok.replace('Hersteller', 'Hersteller \u20ac'), {}, []),
        (ok.replace('codepage 1252', 'codepage 932').replace(
            'Hersteller', '\u30e1\u30fc\u30ab\u30fc' * 4), {}, ['caption']),
        (ok.replace('codepage 1252', 'codepage 932').replace(
            'Hersteller', '\u30e1\u30fc\u30ab\u30fc' * 2), {}, []),
        (ok.replace('Hersteller', 'Hersteller \u0151'), {}, ['code page']),
        (ok + '3999 "x"\n', {}, ['not an id']),
        (ok + '3007 "x"\n', {}, ['duplicate']),
        (ok.replace('3958 "\\x41\\nB"\n', ''), {}, ['id 3958: missing']),
        (ok.replace('3958 "\\x41\\nB"\n', ''), {None: {3958}}, []),
        (ok.replace('3958 "\\x41\\nB"\n', ''), {8: {3958}}, []),
        (ok.replace('3958 "\\x41\\nB"\n', ''), {7: {3958}}, ['missing']),
        (ok.replace('3007 "', '3007 "\\q'), {}, ['unknown escape', 'id 3007: missing']),
        (ok.replace('codepage 1252\n', ''), {}, ['missing \'language\'']),
    ]
    failed = 0
    for n, (content, allowed, expected) in enumerate(cases):
        f = read_lang_file('de', content)
        got = [m for _, m in check_file(f, en, allowed, 28)]
        good = (len(got) == len(expected) and
                all(e in g for e, g in zip(expected, got)))
        if not good:
            print(f'self-test case {n}: expected {expected}, got {got}')
            failed += 1
    assert parse_ids('3172,3950-3952') == {3172, 3950, 3951, 3952}
    assert parse_allowances(['15=1-2', '3']) == {15: {1, 2}, None: {3}}
    print(f'self-test: {len(cases)} cases, {failed} failed')
    return failed


def main():
    ap = argparse.ArgumentParser(
        description=__doc__.split('\n\n')[0],
        formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('files', nargs='*', metavar='FILE')
    ap.add_argument('--english', default=DEFAULT_ENGLISH,
                    help='the English base file (default: %(default)s)')
    ap.add_argument('--allow-missing', action='append', default=[],
                    metavar='[LANG=]IDS',
                    help='ids the language(s) may lack, e.g. 15=3172,3950-3960')
    ap.add_argument('--max-caption', type=int, default=28, metavar='N',
                    help='longest caption before a TAB (default: %(default)s)')
    ap.add_argument('--self-test', action='store_true',
                    help="run the checker's own tests")
    args = ap.parse_args()
    if args.self_test:
        sys.exit(1 if self_test() else 0)
    if not args.files:
        ap.error('no language file given')
    try:
        allowed = parse_allowances(args.allow_missing)
    except ValueError as e:
        ap.error(str(e))
    try:
        bad = run(args.files, args.english, allowed, args.max_caption)
    except OSError as e:
        print(f'error: {e}', file=sys.stderr)
        sys.exit(2)
    if bad:
        print(f'{bad} problem(s)')
    sys.exit(1 if bad else 0)


if __name__ == '__main__':
    main()
