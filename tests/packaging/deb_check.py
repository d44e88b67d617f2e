#!/usr/bin/env python3
"""Checks the Debian package that scripts/package left in the build folder: its name, fields, files
and dependencies.

usage: deb_check.py BUILD_DIR
"""

import gzip
import os
import re
import sys
import tempfile

sys.dont_write_bytecode = True  # leave no cache in the source tree
from packaging_support import DOC_DIR, EXPECTED_FILES, PACKAGE, Failures, run  # noqa: E402


def project_version(build):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith("CMAKE_PROJECT_VERSION:"):
                return line.split("=", 1)[1].strip()
    raise SystemExit("no project version in %s/CMakeCache.txt" % build)


def needed_libraries(binary):
    status, out, err = run(["objdump", "-p", binary])
    if status != 0:
        raise SystemExit("objdump -p %s: %s" % (binary, err))
    return re.findall(r"^\s*NEEDED\s+(\S+)", out, re.M)


def depends_names(depends):
    """Package names in a Depends field, alternatives included, versions dropped."""
    return {re.split(r"[\s(:]", alt.strip())[0] for part in depends.split(",") for alt in part.split("|")}


def check_changelog(f, path, version):
    """A Debian changelog, gzip'd, whose newest entry is this package at this version."""
    try:
        with gzip.open(path, "rt", encoding="utf-8") as changelog:
            lines = changelog.read().splitlines()
    except OSError as e:
        f.check(False, "changelog.gz is not gzip'd text: %s" % e)
        return
    f.check(bool(lines) and re.match(r"^%s \(%s\) \S+; urgency=\w+$" % (re.escape(PACKAGE), re.escape(version)),
                                     lines[0]),
            "changelog's newest entry is not %s %s: %r" % (PACKAGE, version, lines[:1]))
    trailers = [line for line in lines if line.startswith(" -- ")]
    f.check(trailers and all(re.match(r"^ -- .+ <[^>]+>  \w{3}, \d{2} \w{3} \d{4} \d{2}:\d{2}:\d{2} [+-]\d{4}$", t)
                             for t in trailers),
            "changelog's sign-off lines are malformed: %r" % trailers)


def main():
    build = os.path.abspath(sys.argv[1])
    version = project_version(build)
    deb = os.path.join(build, "%s_%s_amd64.deb" % (PACKAGE, version))
    f = Failures()
    if not f.check(os.path.exists(deb), "%s was not built" % deb):
        f.finish("package")

    fields = {}
    for field in ("Package", "Version", "Architecture", "Section", "Depends", "Recommends", "Maintainer",
                  "Description"):
        _, out, _ = run(["dpkg-deb", "-f", deb, field])
        fields[field] = out.strip()
    f.check(fields["Package"] == PACKAGE, "Package is %r" % fields["Package"])
    f.check(fields["Version"] == version, "Version is %r, not %s" % (fields["Version"], version))
    f.check(fields["Architecture"] == "amd64", "Architecture is %r" % fields["Architecture"])
    f.check(fields["Maintainer"] != "", "Maintainer is empty")
    f.check("qt6-translations-l10n" in depends_names(fields["Recommends"]),
            "Recommends lacks qt6-translations-l10n: %r" % fields["Recommends"])
    summary, *long_lines = fields["Description"].split("\n")
    f.check(summary and long_lines, "Description lacks a summary or a long text")
    f.check(all(re.match(r"^ \S", line) for line in long_lines),
            "Description's long text is not indented by exactly one space: %r" % long_lines)
    f.check(summary.strip() not in long_lines[0], "Description repeats its summary")
    f.check(all(len(line) < 80 for line in fields["Description"].split("\n")),
            "Description has lines of 80 columns or more: %r"
            % [line for line in fields["Description"].split("\n") if len(line) >= 80])
    f.check(fields["Section"] in ("utils", "misc"), "Section is %r" % fields["Section"])

    status, out, err = run(["dpkg-deb", "-c", deb])
    f.check(status == 0, "dpkg-deb -c: %s" % err)
    files = sorted(line.split()[-1][len("./usr/"):] for line in out.splitlines()
                   if line.startswith("-") and line.split()[-1].startswith("./usr/"))
    others = [line for line in out.splitlines() if not line.startswith(("-", "d"))]
    extra, missing = sorted(set(files) - set(EXPECTED_FILES)), sorted(set(EXPECTED_FILES) - set(files))
    f.check(files == EXPECTED_FILES, "files: extra %s, missing %s" % (extra, missing))
    f.check(not others, "links or other entries: %s" % others)
    owners = {tuple(line.split()[1].split("/")) for line in out.splitlines()}
    f.check(owners == {("root", "root")}, "owners %s, not root/root" % sorted(owners))

    # The system service runs as the k52 user, which only the package's postinst makes.
    with tempfile.TemporaryDirectory(prefix="k52-ctl-") as control:
        status, _, err = run(["dpkg-deb", "-e", deb, control])
        postinst = os.path.join(control, "postinst")
        f.check(os.access(postinst, os.X_OK), "no executable postinst: %s" % err)
        if os.path.exists(postinst):
            with open(postinst, encoding="utf-8") as script:
                f.check("systemd-sysusers k52.conf" in script.read(), "postinst does not make the k52 user")

    # Depends comes from dpkg-shlibdeps: Qt 6 widgets always; libserialport exactly when a program links it.
    depends = depends_names(fields["Depends"])
    print("Depends: %s" % fields["Depends"])
    for name in ("libc6", "libstdc++6", "libqt6widgets6"):
        f.check(name in depends, "Depends lacks %s" % name)
    with tempfile.TemporaryDirectory(prefix="k52-deb-") as root:
        status, _, err = run(["dpkg-deb", "-x", deb, root])
        f.check(status == 0, "dpkg-deb -x: %s" % err)
        check_changelog(f, os.path.join(root, "usr", DOC_DIR, "changelog.gz"), version)
        needed = set()
        for program in ("k52gen", "k52cli", "k52peer"):
            path = os.path.join(root, "usr", "bin", program)
            if os.path.exists(path):
                needed.update(needed_libraries(path))
    links_serialport = any(lib.startswith("libserialport.") for lib in needed)
    has_serialport = any(name.startswith("libserialport") for name in depends)
    f.check(links_serialport == has_serialport,
            "the programs %s libserialport but Depends %s it"
            % ("link" if links_serialport else "do not link", "names" if has_serialport else "lacks"))
    f.finish("package %s" % os.path.basename(deb))


if __name__ == "__main__":
    main()
