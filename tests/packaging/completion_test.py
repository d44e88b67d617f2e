#!/usr/bin/env python3
"""k52cli's bash completion offers the right commands, options, values and files, word by word.

usage: completion_test.py COMPLETION_FILE
"""

import os
import sys
import tempfile

sys.dont_write_bytecode = True  # leave no cache in the source tree
from packaging_support import Failures, run

BASH_COMPLETION = "/usr/share/bash-completion/bash_completion"

# Completes the words given as arguments (the last one is the word being typed) as bash would on Tab.
DRIVER = r'''
source "$BASH_COMPLETION" || exit 3
source "$COMPLETION_FILE" || exit 3
COMP_WORDS=("$@")
COMP_CWORD=$(($# - 1))
COMP_LINE="$*"
COMP_POINT=${#COMP_LINE}
_k52cli
printf '%s\n' "${COMPREPLY[@]}"
'''

CASES = [  # words typed, the last one being completed; the offers expected
    (["k52cli", ""],
     ["--help", "collect", "diff", "download", "download-lookup", "image", "import", "labels", "new", "ports",
      "receive", "records", "sheet", "show", "simulate", "uploads"]),
    (["k52cli", "down"], ["download", "download-lookup"]),
    (["k52cli", "show", "-"], ["--help", "--json"]),
    (["k52cli", "simulate", "plan.ATC", "--"], ["--expect", "--fresh", "--help", "--json", "--keys", "--keys-file",
                                                   "--save", "--time", "--write-expect"]),
    (["k52cli", "download", "plan.ATC", "--"],
     ["--device", "--help", "--ir", "--json", "--port", "--quiet", "--retries", "--speed"]),
    (["k52cli", "receive", "out.txt", "--"],
     ["--device", "--help", "--ir", "--json", "--overwrite", "--port", "--quiet", "--speed"]),
    # several terminals: --device and --port are offered again after one
    (["k52cli", "receive", "out", "--device", "/dev/ttyUSB0", "--d"], ["--device"]),
    (["k52cli", "download-lookup", "stock.txt", "--encoding", ""], ["auto", "cp950", "utf-8"]),
    (["k52cli", "ports", ""], ["assign", "unassign"]),
    (["k52cli", "download", "plan.ATC", "--port", ""], ["COM1", "COM2", "COM3", "COM4", "COM5", "COM6"]),
    (["k52cli", "receive", "out.txt", "--speed", "1"], ["115200", "19200"]),
    (["k52cli", "simulate", "plan.ATC", "--keys", ""], []),
    # files: templates by extension (either case), folders to walk into, anything for data
    (["k52cli", "show", ""], ["a.ATC", "b.atc", "folder"]),
    (["k52cli", "download", "--port", "COM2", ""], ["a.ATC", "b.atc", "folder"]),
    (["k52cli", "image", "a.ATC", ""], ["folder", "plan.img"]),
    (["k52cli", "download-lookup", ""], ["a.ATC", "b.atc", "folder", "plan.img", "stock.txt"]),
    (["k52cli", "simulate", "a.ATC", "--save", ""], ["a.ATC", "b.atc", "folder"]),
    (["k52cli", "image", "a.ATC", "plan.img", ""], []),
    (["k52cli", "frobnicate", ""], []),
    # serial ports: what k52cli ports finds and their by-id names, not the COM table nor the rest of /dev
    (["k52cli", "ports", "assign", "COM1", ""],
     ["/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0", "/dev/ttyS0", "/dev/ttyUSB0"]),
    (["k52cli", "receive", "out.txt", "--device", "/dev/ttyU"], ["/dev/ttyUSB0"]),
    (["k52cli", "ports", "unassign", "COM1", ""], []),
]

# What the k52cli found on PATH answers to "ports --json" while completing.
FAKE_PORTS = """#!/bin/sh
[ "$1 $2" = "ports --json" ] || exit 2
cat <<'END'
{
  "ports": [
    {
      "device": "/dev/ttyUSB0",
      "byId": "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0",
      "transport": "usb"
    },
    {
      "device": "/dev/ttyS0",
      "byId": null,
      "transport": "native"
    }
  ],
  "com": [
    {
      "name": "COM2",
      "device": "/dev/ttyS1"
    }
  ]
}
END
"""


def main():
    completion = os.path.abspath(sys.argv[1])
    f = Failures()
    if not f.check(os.path.exists(BASH_COMPLETION), "bash-completion is not installed"):
        f.finish("completion")
    with tempfile.TemporaryDirectory(prefix="k52-completion-bin-") as bindir, \
            tempfile.TemporaryDirectory(prefix="k52-completion-") as cwd:
        for name in ("a.ATC", "b.atc", "plan.img", "stock.txt"):
            open(os.path.join(cwd, name), "w").close()
        os.mkdir(os.path.join(cwd, "folder"))
        with open(os.path.join(bindir, "k52cli"), "w") as fake:
            fake.write(FAKE_PORTS)
        os.chmod(os.path.join(bindir, "k52cli"), 0o755)
        env = dict(os.environ, BASH_COMPLETION=BASH_COMPLETION, COMPLETION_FILE=completion,
                   PATH=bindir + os.pathsep + os.environ["PATH"])
        for words, expected in CASES:
            argv = ["bash", "--norc", "--noprofile", "-c", DRIVER, "bash"] + words
            status, out, err = run(argv, env=env, cwd=cwd)
            got = sorted(line for line in out.splitlines() if line)
            f.check(status == 0 and got == expected,
                    "%r offers %s, not %s (status %d%s)" % (" ".join(words), got, expected, status,
                                                            ", " + err.strip() if err.strip() else ""))
    f.finish("completion")


if __name__ == "__main__":
    main()
