#!/usr/bin/env python3
"""The Windows zip's README and manual, made from the Linux sources, describe the Windows build: no
station, COMn ports, settings in %APPDATA%, and nothing of Linux's paths or programs.

usage: windows_docs_test.py SOURCE_ROOT
"""

import os
import re
import sys
import tempfile

sys.dont_write_bytecode = True  # leave no cache in the source tree
from packaging_support import Failures, run  # noqa: E402

STATION = {"collect", "uploads", "export", "deliveries", "forward", "central"}
LINUX_ONLY = ("XDG_CONFIG", "/dev/", "/etc/", "k52peer(1)", "k52gen(1)", "usermod", "scripts/", "systemctl")


def rendered(page_text):
    with tempfile.TemporaryDirectory(prefix="k52-windocs-") as folder:
        page = os.path.join(folder, "k52cli.1")
        with open(page, "w", encoding="utf-8") as f:
            f.write(page_text)
        env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
        status, out, err = run(["man", "--warnings", "-E", "UTF-8", "-l", page], env=env)
    return status, re.sub(r".\x08", "", out), err


def synopsis_commands(shown):
    synopsis = shown.split("SYNOPSIS", 1)[1].split("DESCRIPTION", 1)[0]
    return set(re.findall(r"^\s*k52cli ([a-z][a-z-]*)", synopsis, re.M))


def main():
    root = sys.argv[1]
    sys.path.insert(0, os.path.join(root, "packaging"))
    import windows_docs  # noqa: E402

    f = Failures()
    with open(os.path.join(root, "packaging", "man", "k52cli.1.in"), encoding="utf-8") as page:
        source = page.read()
    linux_source = source.replace("@PROJECT_VERSION@", "1.0").replace("@K52_RELEASE_DATE@", "2026-12-07")
    _, linux, _ = rendered(linux_source)
    status, windows, warnings = rendered(windows_docs.manual(source, "1.0", "2026-12-07"))
    f.check(status == 0 and not warnings.strip(), "the Windows manual does not render cleanly: %s" % warnings)
    f.check(synopsis_commands(windows) == synopsis_commands(linux) - STATION,
            "the Windows manual's commands %s are not Linux's without the station's"
            % sorted(synopsis_commands(windows)))
    f.check(STATION <= synopsis_commands(linux), "the Linux manual lost the station's commands")
    for text in LINUX_ONLY:
        f.check(text not in windows, "the Windows manual mentions %r" % text)
    for text in ("This is the Windows build", r"%APPDATA%\k52\ports.conf", r"%PROGRAMDATA%\k52\ports.conf"):
        f.check(text in windows, "the Windows manual lacks %r" % text)
        f.check(text not in linux, "the Linux manual says %r" % text)

    with open(os.path.join(root, "README.md"), encoding="utf-8") as readme:
        markdown = readme.read()
    text = windows_docs.readme(markdown)
    for bad in LINUX_ONLY + ("build/", "## "):
        f.check(bad not in text, "the Windows README mentions %r" % bad)
    for good in (r"%APPDATA%\k52\ports.conf", "COM1..COM6", "Not in the Windows build", "k52cli import"):
        f.check(good in text, "the Windows README lacks %r" % good)
    try:
        windows_docs.readme(markdown.replace(windows_docs.END, "", 1))
        f.check(False, "a windows-zip passage left open is taken")
    except SystemExit:
        pass
    f.finish("Windows README and manual")


if __name__ == "__main__":
    main()
