#!/usr/bin/env python3
"""Writes a C++ translation table (i18n/TranslationTables.h) from a Qt Linguist .ts file.

usage: translation_table.py TS OUT FUNCTION
k52_en.ts gives EnglishTexts (the program's Chinese texts in English), k52_zh.ts gives ChineseTexts
(the English-authored texts in Chinese). A translation whose %1..%9 differ from its source's fails the build:
a place lost in translation would drop a file name or a count from the message without a word.
"""
import re
import sys
import xml.etree.ElementTree as ET

PLACE = re.compile(r"%[1-9]")


def literal(text):
    # Octal escapes for everything beyond printable ASCII: a hex escape would swallow following digits.
    out = []
    for b in text.encode("utf-8"):
        c = chr(b)
        if c in '"\\?':
            out.append("\\" + c)
        elif 0x20 <= b < 0x7F:
            out.append(c)
        else:
            out.append("\\%03o" % b)
    return '"' + "".join(out) + '"'


def entries(path):
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name") or ""
        for message in context.iter("message"):
            translation = message.find("translation")
            if translation is None or translation.get("type") in ("unfinished", "obsolete", "vanished"):
                continue
            if not translation.text:
                continue
            yield message.findtext("source") or "", name, translation.text


def main():
    ts, out, function = sys.argv[1], sys.argv[2], sys.argv[3]
    rows = sorted(set(entries(ts)), key=lambda r: (r[0].encode("utf-8"), r[1].encode("utf-8")))
    bad = [r for r in rows if sorted(PLACE.findall(r[0])) != sorted(PLACE.findall(r[2]))]
    for source, context, translation in bad:
        print("%s: %s: %r and %r differ in their %%n places" % (ts, context, source, translation), file=sys.stderr)
    if bad:
        sys.exit(1)
    with open(out, "w", encoding="ascii") as f:
        f.write("// Generated from %s by translation_table.py; do not edit.\n" % ts.split("/")[-1])
        f.write('#include "i18n/TranslationTables.h"\n\nnamespace k52 {\nnamespace {\n\n')
        f.write("using namespace std::string_view_literals;\n\n")
        f.write("constexpr TranslatedText kTexts[] = {\n")
        for source, context, translation in rows:
            f.write("    {%ssv, %ssv, %ssv},\n" % (literal(source), literal(context), literal(translation)))
        f.write("    {\"\\377\"sv, \"\"sv, \"\"sv},\n")  # keeps the array non-empty; sorts last
        f.write("};\n\n}  // namespace\n\n")
        f.write("std::span<const TranslatedText> %s() {\n" % function)
        f.write("    return std::span<const TranslatedText>(kTexts).first(std::size(kTexts) - 1);\n}\n\n")
        f.write("}  // namespace k52\n")


if __name__ == "__main__":
    main()
