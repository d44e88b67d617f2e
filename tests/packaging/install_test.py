#!/usr/bin/env python3
"""Installs the build into a temporary DESTDIR and checks what a desktop sees of it.

usage: install_test.py BUILD_DIR PROJECT_VERSION K52CLI
"""

import configparser
import os
import shutil
import stat
import sys
import tempfile
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True  # leave no cache in the source tree
from packaging_support import (APP_ID, EXECUTABLES, EXPECTED_FILES, ICON_SIZES, TEMPLATE_TYPE, Failures,
                               files_below, png_header, run)

PREFIX = "usr"


def check_files(root, f):
    installed = files_below(os.path.join(root, PREFIX))
    extra = sorted(set(installed) - set(EXPECTED_FILES))
    missing = sorted(set(EXPECTED_FILES) - set(installed))
    f.check(not extra, "installed but not expected: %s" % extra)
    f.check(not missing, "expected but not installed: %s" % missing)
    for rel in installed:
        mode = stat.S_IMODE(os.stat(os.path.join(root, PREFIX, rel)).st_mode)
        want = 0o755 if rel in EXECUTABLES else 0o644
        f.check(mode == want, "%s has mode %o, not %o" % (rel, mode, want))


def check_icons(share, f):
    for size in ICON_SIZES:
        for rel in ("apps/%s.png" % APP_ID, "mimetypes/application-x-k52-template.png"):
            path = os.path.join(share, "icons/hicolor/%dx%d" % (size, size), rel)
            if not os.path.exists(path):
                continue  # reported with the file list
            header = png_header(path)
            f.check(header == (size, size, 6),
                    "%s: PNG header %s, not %dx%d RGBA" % (path, header, size, size))


def check_desktop_entry(share, f):
    path = os.path.join(share, "applications", APP_ID + ".desktop")
    status, out, err = run(["desktop-file-validate", path])
    f.check(status == 0 and not out.strip(), "desktop-file-validate: %s%s" % (out, err))
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path, encoding="utf-8")
    d = entry["Desktop Entry"]
    f.check(d.get("Exec") == "k52gen %f", "Exec is %r" % d.get("Exec"))
    f.check(d.get("Icon") == APP_ID, "Icon is %r, not the application id" % d.get("Icon"))
    f.check(d.get("MimeType") == TEMPLATE_TYPE + ";", "MimeType is %r" % d.get("MimeType"))


def check_metainfo(share, version, f):
    path = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
    status, out, err = run(["appstreamcli", "validate", "--no-net", path])
    f.check(status == 0, "appstreamcli validate: %s%s" % (out, err))
    root = ET.parse(path).getroot()
    f.check(root.findtext("id") == APP_ID, "metainfo id is %r" % root.findtext("id"))
    launchable = root.findtext("launchable")
    f.check(launchable == APP_ID + ".desktop", "metainfo launches %r" % launchable)
    releases = [r.get("version") for r in root.iter("release")]
    f.check(releases[:1] == [version], "metainfo's newest release is %s, not %s" % (releases[:1], version))
    f.check(TEMPLATE_TYPE in [m.text for m in root.iter("mediatype")], "metainfo does not provide the type")


def check_mime_type(share, tmp, k52cli, f):
    """xdg-mime, with the installed MIME package only in a private database, names the template type."""
    data_home = os.path.join(tmp, "data")
    os.makedirs(os.path.join(data_home, "mime", "packages"))
    shutil.copy(os.path.join(share, "mime", "packages", APP_ID + ".xml"),
                os.path.join(data_home, "mime", "packages"))
    status, out, err = run(["update-mime-database", os.path.join(data_home, "mime")])
    f.check(status == 0, "update-mime-database: %s%s" % (out, err))

    files = os.path.join(tmp, "files")
    os.makedirs(files)
    plan = os.path.join(files, "plan.ATC")
    status, out, err = run([k52cli, "new", plan])
    if not f.check(status == 0, "k52cli new: %s%s" % (out, err)):
        return
    with open(plan, "rb") as src:
        template = src.read()
    cases = [  # file name, contents, is it a template?
        ("plan.ATC", template, True),
        ("lower.atc", template, True),
        ("renamed.bin", template, True),
        ("zeros.bin", bytes(len(template)), False),
        ("shifted.bin", b"\0" + template[:-1], False),
        ("other-version.bin", b"Kxx-3.11" + template[8:], False),
    ]
    # The generic desktop path of xdg-mime asks file(1), which ignores the shared MIME database; the
    # GNOME path asks GIO, which reads it as every desktop does.
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": tmp, "XDG_DATA_HOME": data_home,
           "XDG_DATA_DIRS": "/usr/share", "XDG_CURRENT_DESKTOP": "GNOME", "GIO_USE_VFS": "local"}
    for name, contents, is_template in cases:
        path = os.path.join(files, name)
        with open(path, "wb") as out_file:
            out_file.write(contents)
        status, out, err = run(["xdg-mime", "query", "filetype", path], env=env)
        got = out.strip()
        if is_template:
            f.check(got == TEMPLATE_TYPE, "%s is %r, not %s (%s)" % (name, got, TEMPLATE_TYPE, err.strip()))
        else:
            f.check(status == 0 and got and got != TEMPLATE_TYPE, "%s is %r (%s)" % (name, got, err.strip()))


def main():
    build, version, k52cli = os.path.abspath(sys.argv[1]), sys.argv[2], os.path.abspath(sys.argv[3])
    f = Failures()
    with tempfile.TemporaryDirectory(prefix="k52-install-") as tmp:
        root = os.path.join(tmp, "root")
        env = dict(os.environ, DESTDIR=root)
        status, out, err = run(["cmake", "--install", build, "--prefix", "/" + PREFIX], env=env)
        if not f.check(status == 0, "cmake --install: %s%s" % (out, err)):
            f.finish("install")
        share = os.path.join(root, PREFIX, "share")
        check_files(root, f)
        check_icons(share, f)
        check_desktop_entry(share, f)
        check_metainfo(share, version, f)
        check_mime_type(share, tmp, k52cli, f)
    f.finish("install")


if __name__ == "__main__":
    main()
