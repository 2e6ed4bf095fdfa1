#!/usr/bin/env python3
"""Compares a language file with the string texts quoted in a design document.

    check_quoted.py DOCUMENT.md res/strings/en.txt

The document quotes strings as  3007 "  Vendor\\t: %s"  in running text, or
as table rows whose cells hold one or more ids and end with the quoted text
(| 2 | 3014 | "Unknown" |). In quotes, \\r, \\n and \\t stand for CR, LF and
TAB; every other character is literal. Prints every id whose text differs or
that the language file lacks, lists the file's ids the document does not
quote, and exits 1 on any difference.
"""
import re
import sys


def decode_doc(text):
    return text.replace('\\r', '\r').replace('\\n', '\n').replace('\\t', '\t')


def quoted_in_document(doc):
    found = {}

    def add(i, text):
        found.setdefault(i, set()).add(decode_doc(text))

    for m in re.finditer(r'(?<![\d.x])(3\d{3}):?\s+"', doc):
        start = m.end()
        end = doc.index('"', start)
        # Inch marks inside a text (5.25"/360 kB) are not its end.
        while re.search(r'\d(\.\d+)?$', doc[start:end]) and doc[end + 1] == '/':
            end = doc.index('"', end + 1)
        add(int(m.group(1)), doc[start:end])
    for line in doc.splitlines():
        m = re.match(r'^\|(.*?)\|\s*"(.*)"\s*\|\s*$', line)
        if not m:
            continue
        cells = [c.strip() for c in m.group(1).split('|')]
        for cell in cells[1:]:
            if re.fullmatch(r'3\d{3}', cell):
                add(int(cell), m.group(2))
    return found


ESCAPES = {'r': '\r', 'n': '\n', 't': '\t', '\\': '\\', '"': '"', '0': '\0'}


def read_language_file(path):
    texts = {}
    for line in open(path, encoding='utf-8'):
        m = re.match(r'^(\d+)\s+(?:kId[A-Za-z0-9]+\s+)?"(.*)"\s*$', line.rstrip('\n'))
        if not m:
            continue
        raw, out, i = m.group(2), [], 0
        while i < len(raw):
            if raw[i] == '\\':
                if raw[i + 1] == 'x':
                    out.append(chr(int(raw[i + 2:i + 4], 16)))
                    i += 4
                    continue
                out.append(ESCAPES[raw[i + 1]])
                i += 2
            else:
                out.append(raw[i])
                i += 1
        texts[int(m.group(1))] = ''.join(out)
    return texts


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    doc = open(sys.argv[1], encoding='utf-8').read()
    quoted = quoted_in_document(doc)
    have = read_language_file(sys.argv[2])
    bad = 0
    for i in sorted(quoted):
        texts = quoted[i]
        if len(texts) > 1:
            print(f'{i}: quoted with different texts: {sorted(texts)!r}')
            bad += 1
        elif i not in have:
            print(f'{i}: missing, quoted as {next(iter(texts))!r}')
            bad += 1
        elif have[i] not in texts:
            print(f'{i}: {have[i]!r} differs from quoted {next(iter(texts))!r}')
            bad += 1
    own = sorted(i for i in have if i >= 3000 and i not in quoted)
    print(f'{len(quoted)} quoted ids checked, {bad} problems; '
          f'{len(have)} strings in the file; not quoted there: {own}')
    sys.exit(1 if bad else 0)


if __name__ == '__main__':
    main()
