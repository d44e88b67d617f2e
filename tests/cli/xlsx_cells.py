# Prints the first sheet of an XLSX file as JSON rows of [cell type, text], read with nothing but the
# standard library, so a test sees exactly what a spreadsheet would: text cells stay text.
import json
import re
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}

with zipfile.ZipFile(sys.argv[1]) as z:
    shared = []
    if "xl/sharedStrings.xml" in z.namelist():
        for si in ET.fromstring(z.read("xl/sharedStrings.xml")).findall("m:si", NS):
            shared.append("".join(t.text or "" for t in si.iter("{%s}t" % NS["m"])))
    sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
    rows = []
    for row in sheet.iter("{%s}row" % NS["m"]):
        cells = []
        for c in row.findall("m:c", NS):
            column = re.match(r"[A-Z]+", c.get("r")).group(0)
            index = 0
            for ch in column:
                index = index * 26 + ord(ch) - 64
            while len(cells) < index - 1:
                cells.append(None)
            kind = c.get("t", "n")
            v = c.find("m:v", NS)
            if kind == "s":
                cells.append(["s", shared[int(v.text)]])
            elif kind == "inlineStr":
                cells.append(["s", "".join(t.text or "" for t in c.iter("{%s}t" % NS["m"]))])
            else:
                cells.append([kind, v.text if v is not None else None])
        rows.append(cells)
    json.dump(rows, sys.stdout, ensure_ascii=False)
