#!/usr/bin/env python3
"""The Windows zip's README and manual, made from the same sources as Linux's.

usage: windows_docs.py readme README.md > README.txt
       windows_docs.py manual k52cli.1.in VERSION DATE > k52cli.1

The README is the passages of README.md between <!-- windows-zip --> and <!-- /windows-zip -->, under a
heading of its own. The manual is the page with its Windows passages (the roff register `windows`) on.
"""

import re
import sys

START, END = "<!-- windows-zip -->", "<!-- /windows-zip -->"

HEADING = """K52 Application Generator: k52cli for Windows
==============================================

k52cli.exe is the engine of the K52 Application Generator on the command line: it creates and inspects
template files (.ATC), runs the simulated terminal on one, downloads templates and lookup data to K52
handheld barcode terminals and receives the records they collected, over a serial line or an infrared
cradle. It needs no installation: copy the folder anywhere and run k52cli.exe from a command prompt.
The manual is k52cli-manual.txt; the template format and the example applications are in docs\\ and
examples\\.

What the Windows build has
--------------------------
"""


def passages(markdown):
    """The marked passages in order; a marker that is not closed is an error, not a silent loss."""
    found = re.findall(re.escape(START) + r"\n(.*?)" + re.escape(END), markdown, re.S)
    if markdown.count(START) != len(found) or markdown.count(END) != len(found) or not found:
        raise SystemExit("README.md: the windows-zip markers do not pair")
    return found


def readme(markdown):
    """The what-the-build-has passages first, then the rest under "Using k52cli"."""
    marked = passages(markdown)
    windows = [p for p in marked if p.lstrip().startswith("- ")]
    usage = [p for p in marked if not p.lstrip().startswith("- ")]
    text = HEADING + "\n".join(windows) + "\nUsing k52cli\n------------\n\n" + "\n".join(usage)
    return re.sub(r"\n{3,}", "\n\n", text)


def manual(page, version, date):
    text = page.replace("@PROJECT_VERSION@", version).replace("@K52_RELEASE_DATE@", date)
    return ".nr windows 1\n" + text


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "readme":
        with open(sys.argv[2], encoding="utf-8") as f:
            sys.stdout.write(readme(f.read()))
    elif len(sys.argv) == 5 and sys.argv[1] == "manual":
        with open(sys.argv[2], encoding="utf-8") as f:
            sys.stdout.write(manual(f.read(), sys.argv[3], sys.argv[4]))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
