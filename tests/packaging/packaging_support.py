"""What the packaging tests share: the files an installation holds, process calls, PNG headers."""

import os
import struct
import subprocess

APP_ID = "org.k52.ApplicationGenerator"
PACKAGE = "k52-application-generator"
TEMPLATE_TYPE = "application/x-k52-template"
ICON_SIZES = (48, 64, 128, 256)
DOC_DIR = "share/doc/" + PACKAGE
SOURCE_ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
EXAMPLES = sorted(os.listdir(os.path.join(SOURCE_ROOT, "examples")))

# Every file an installation holds below its prefix, and nothing else.
EXPECTED_FILES = sorted(
    ["bin/k52gen", "bin/k52cli", "bin/k52peer",
     "share/applications/org.k52.ApplicationGenerator.desktop",
     "share/mime/packages/org.k52.ApplicationGenerator.xml",
     "share/metainfo/org.k52.ApplicationGenerator.metainfo.xml",
     "share/man/man1/k52gen.1.gz", "share/man/man1/k52cli.1.gz", "share/man/man1/k52peer.1.gz",
     "share/bash-completion/completions/k52cli",
     DOC_DIR + "/copyright", DOC_DIR + "/changelog.gz",
     DOC_DIR + "/template-format.md", DOC_DIR + "/template.schema.json",
     "lib/systemd/user/k52-collect.service", "lib/systemd/system/k52-collect.service",
     "lib/sysusers.d/k52.conf", "share/k52/central-schema.sql"]
    + ["share/icons/hicolor/%dx%d/apps/org.k52.ApplicationGenerator.png" % (s, s) for s in ICON_SIZES]
    + ["share/icons/hicolor/%dx%d/mimetypes/application-x-k52-template.png" % (s, s) for s in ICON_SIZES]
    + [DOC_DIR + "/examples/" + name for name in EXAMPLES])
EXECUTABLES = {"bin/k52gen", "bin/k52cli", "bin/k52peer"}


class Failures:
    """Collects every failed check so one run reports them all."""

    def __init__(self):
        self.messages = []
        self.checks = 0

    def check(self, ok, message):
        self.checks += 1
        if not ok:
            self.messages.append(message)
        return ok

    def finish(self, what):
        for m in self.messages:
            print("FAIL: " + m)
        print("%s: %d checks, %d failed" % (what, self.checks, len(self.messages)))
        raise SystemExit(1 if self.messages else 0)


def run(argv, env=None, cwd=None, stdin=subprocess.DEVNULL):
    """Runs argv (never through a shell); returns (exit status, stdout, stderr) as text."""
    p = subprocess.run(argv, env=env, cwd=cwd, stdin=stdin, capture_output=True, text=True,
                       errors="replace")
    return p.returncode, p.stdout, p.stderr


def files_below(root):
    found = []
    for folder, _, names in os.walk(root):
        for name in names:
            found.append(os.path.relpath(os.path.join(folder, name), root))
    return sorted(found)


def png_header(path):
    """(width, height, colour type) from a PNG's IHDR, or None when it is no PNG."""
    with open(path, "rb") as f:
        head = f.read(33)
    if len(head) < 33 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    width, height, _, colour_type = struct.unpack(">IIBB", head[16:26])
    return width, height, colour_type
