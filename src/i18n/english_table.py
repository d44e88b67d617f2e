#!/usr/bin/env python3
"""Writes the C++ table of English texts (i18n/EnglishTexts.h) from a Qt Linguist .ts file."""
import sys
import xml.etree.ElementTree as ET


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
    ts, out = sys.argv[1], sys.argv[2]
    rows = sorted(set(entries(ts)), key=lambda r: (r[0].encode("utf-8"), r[1].encode("utf-8")))
    with open(out, "w", encoding="ascii") as f:
        f.write("// Generated from %s by english_table.py; do not edit.\n" % ts.split("/")[-1])
        f.write('#include "i18n/EnglishTexts.h"\n\nnamespace k52 {\nnamespace {\n\n')
        f.write("using namespace std::string_view_literals;\n\n")
        f.write("constexpr EnglishText kTexts[] = {\n")
        for source, context, english in rows:
            f.write("    {%ssv, %ssv, %ssv},\n" % (literal(source), literal(context), literal(english)))
        f.write("    {\"\\377\"sv, \"\"sv, \"\"sv},\n")  # keeps the array non-empty; sorts last
        f.write("};\n\n}  // namespace\n\n")
        f.write("std::span<const EnglishText> EnglishTexts() {\n")
        f.write("    return std::span<const EnglishText>(kTexts).first(std::size(kTexts) - 1);\n}\n\n")
        f.write("}  // namespace k52\n")


if __name__ == "__main__":
    main()
