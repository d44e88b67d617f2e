#!/usr/bin/env python3
"""Every option a program's --help prints appears in its manual page as shown, and the pages render cleanly.

usage: manpage_test.py MAN_DIR K52CLI K52PEER K52GEN
The options come from whatever the programs print (standard output and error), so the test follows
their help texts, whichever way they are produced.
"""

import os
import re
import sys
import tempfile

sys.dont_write_bytecode = True  # leave no cache in the source tree
from packaging_support import Failures, run

OPTION = re.compile(r"(?<![\w-])--[a-z][a-z0-9-]*")
MAN_OPTION_SECTIONS = ("SYNOPSIS", "OPTIONS")
GENERIC = {"--help", "--version"}  # every program may answer these without printing them


def plain(roff):
    """The page's text with the escapes that options and names carry undone."""
    text = re.sub(r"\\f[BIRP]|\\f\(..|\\&", "", roff)
    return text.replace("\\-", "-").replace("\\(dq", '"').replace("\\e", "\\")


def sections(text):
    """Section name -> text, from .SH lines."""
    parts, name = {}, None
    for line in text.splitlines():
        if line.startswith(".SH "):
            name = line[4:].strip().strip('"')
            parts[name] = ""
        elif name:
            parts[name] += line + "\n"
    return parts


def help_text(argv, env=None):
    """What argv prints, run in an empty folder: a program that takes --help for a file name harms nothing."""
    with tempfile.TemporaryDirectory(prefix="k52-help-") as cwd:
        _, out, err = run(argv, env=env, cwd=cwd)
    return out + err


def cli_commands(usage):
    """Command names from k52cli's usage: "k52cli NAME ..." lines, or a "Subcommands:" list."""
    names = re.findall(r"^\s*k52cli\s+([a-z][a-z0-9-]*)", usage, re.M)
    listing = re.search(r"^\s*subcommands:\s*\n((?:[ \t]+\S.*\n?)+)", usage, re.M | re.I)
    if listing:
        names += re.findall(r"^[ \t]+([a-z][a-z0-9-]*)", listing.group(1), re.M)
    return sorted(set(names))


def render(page):
    """The page as man shows it on an 80-column terminal: (exit status, text, warnings)."""
    env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
    return run(["man", "--warnings", "-E", "UTF-8", "-l", page], env=env)


def check_page(page, help_options, f):
    name = os.path.basename(page)
    status, shown, warnings = render(page)
    f.check(status == 0 and "NAME" in shown, "man -l %s failed: %s" % (name, warnings))
    f.check(not warnings.strip(), "man -l %s warns: %s" % (name, warnings.strip()))
    # What the reader sees: an option broken at a line end or hyphenated does not count.
    seen = set(OPTION.findall(shown))
    for option in sorted(help_options):
        f.check(option in seen, "%s: %s is in --help but not in the page as shown" % (name, option))
    parts = sections(plain(open(page, encoding="utf-8").read()))
    listed = set()
    for section in MAN_OPTION_SECTIONS:
        listed |= set(OPTION.findall(parts.get(section, "")))
    for option in sorted(listed - help_options - GENERIC):
        f.check(False, "%s: %s is in the page but in no --help" % (name, option))
    return parts


def check_cli(man_dir, k52cli, f):
    # The page is English: so is the help it is held against (k52cli speaks the locale's language).
    english = dict(os.environ, LC_ALL="en_US.UTF-8")
    usage = help_text([k52cli, "--help"], english)
    commands = cli_commands(usage)
    f.check(len(commands) >= 7, "k52cli --help names only %s" % commands)
    options = set(OPTION.findall(usage))
    for command in commands:
        text = help_text([k52cli, command, "--help"], english)
        options |= set(OPTION.findall(text))
        # A command of commands (central init, central uploads...): its own commands' options too.
        listing = re.search(r"^subcommands:\s*\n((?:[ \t]+\S.*\n?)+)", text, re.M | re.I)
        for sub in re.findall(r"^[ \t]+([a-z][a-z0-9-]*)", listing.group(1), re.M) if listing else []:
            options |= set(OPTION.findall(help_text([k52cli, command, sub, "--help"], english)))
    print("k52cli: %d commands, %d options" % (len(commands), len(options)))
    parts = check_page(os.path.join(man_dir, "k52cli.1"), options, f)
    described = re.findall(r"^\.BI?\s+\"?([a-z][a-z0-9-]*)", parts.get("COMMANDS", ""), re.M)
    for command in commands:
        f.check(command in described, "k52cli.1: command %s is not described" % command)


def check_peer(man_dir, k52peer, f):
    options = set(OPTION.findall(help_text([k52peer, "--help"])))
    f.check(len(options) >= 6, "k52peer --help names only %s" % sorted(options))
    check_page(os.path.join(man_dir, "k52peer.1"), options, f)


def check_gen(man_dir, k52gen, f):
    # Without a display k52gen stops before it would show a window; a help text printed before that
    # is checked like the others.
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    options = set(OPTION.findall(help_text([k52gen, "--help"], env=env)))
    print("k52gen: %d options in its --help" % len(options))
    check_page(os.path.join(man_dir, "k52gen.1"), options, f)


def main():
    man_dir, k52cli, k52peer, k52gen = (os.path.abspath(a) for a in sys.argv[1:5])
    f = Failures()
    check_cli(man_dir, k52cli, f)
    check_peer(man_dir, k52peer, f)
    check_gen(man_dir, k52gen, f)
    f.finish("manual pages")


if __name__ == "__main__":
    main()
