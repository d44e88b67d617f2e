#!/usr/bin/env python3
"""Fails when a user-visible text is left untranslated.

complete SRC TS LUPDATE: every text marked in SRC (tr(), translate(), K52_TR) has a finished English
    translation in TS; lupdate itself collects the marked texts into a scratch file.
marked SRC: every string literal in SRC holding CJK is inside tr(), translate() or K52_TR, except the
    terminal's own texts listed below (its firmware screens, shown as the terminal shows them).
english SRC TS: every English text marked in SRC (Localize(), K52_EN) has a finished Chinese translation
    in TS (translations/k52_zh.ts), and TS holds no text that nothing marks any more.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

CJK = re.compile("[\u3000-\u303f\u3400-\u9fff\uf900-\ufaff\uff00-\uffef]")
MARKERS = {"tr", "translate", "K52_TR", "QT_TRANSLATE_NOOP", "QT_TR_NOOP"}
# The terminal's own screens and messages: they are its firmware's texts and stay as the terminal shows them.
TERMINAL_TEXTS = {
    "src/simulator/TerminalSimulator.cpp": ["收 集 資 料", "上 傳 檔 案", "系 統 工 具", "系 統 設 定", "瀏 覽 資 料",
                                    "刪 除 資 料", "試 讀 條 碼", "設 定 日 期 時 間", "下 載 系 統 程 式",
                                    "記 憶 體 和 電 池", "下 載 索 引 檔 案", "系  統  設  定", "設 定 上 傳 埠",
                                    "設 定 下 載 埠", "設 定 傳 輸 速 度", "設 定 螢 幕 背 光",
                                    "設 定 刪 除 資 料", "資 料 筆 數 提 示", "察 看 系 統 設 定",
                                    "通 訊 連 接 中", "若 要 取 消", "請 按 ESC", "資 料 類 型 錯 誤",
                                    "資 料 長 度 太 短", "請 按 任 意 鍵"],
}
SKIPPED_DIRS = {"src/peer"}  # the terminal emulator: it plays the terminal


def messages(ts):
    found = {}
    for context in ET.parse(ts).getroot().iter("context"):
        for m in context.iter("message"):
            t = m.find("translation")
            done = t is not None and t.get("type") not in ("unfinished", "obsolete", "vanished") and bool(t.text)
            found[(context.findtext("name"), m.findtext("source"))] = done
    return found


def complete(src, ts, lupdate):
    with tempfile.TemporaryDirectory() as tmp:
        fresh = os.path.join(tmp, "fresh.ts")
        subprocess.run([lupdate, "-silent", "-locations", "none", "-tr-function-alias", "QT_TRANSLATE_NOOP+=K52_TR",
                        "-extensions", "cpp,h", src, "-ts", fresh], check=True, stdout=subprocess.DEVNULL)
        marked = messages(fresh)
    committed = messages(ts)
    bad = [key for key in marked if not committed.get(key)]
    for context, source in bad:
        print("no English for %s: %r" % (context, source))
    print("%d marked texts, %d without a finished translation" % (len(marked), len(bad)))
    return not bad and len(marked) > 0


def literals(code):
    """Yields (offset, text) of each string literal, adjacent ones joined, with comments skipped."""
    i, n = 0, len(code)
    while i < n:
        c = code[i]
        if code.startswith("//", i):
            i = code.find("\n", i)
            i = n if i < 0 else i
        elif code.startswith("/*", i):
            i = code.find("*/", i) + 2
        elif c == "'":
            i = code.find("'", i + 1 + (code[i + 1] == "\\")) + 1
        elif c == '"' and code[max(0, i - 1)] != "R":
            start, text = i, ""
            while i < n and code[i] == '"':
                j = i + 1
                while code[j] != '"':
                    j += 2 if code[j] == "\\" else 1
                text += code[i + 1:j]
                i = j + 1
                k = i
                while k < n and code[k] in " \t\n":
                    k += 1
                if k < n and code[k] == '"':
                    i = k
            yield start, text
        else:
            i += 1


def enclosing_call(code, offset):
    depth = 0
    for i in range(offset - 1, -1, -1):
        c = code[i]
        if c == ")":
            depth += 1
        elif c == "(":
            if depth == 0:
                m = re.search(r"([A-Za-z_][A-Za-z_0-9]*)\s*$", code[:i])
                return m.group(1) if m else ""
            depth -= 1
        elif c in ";{}" and depth == 0:
            return ""
    return ""


def marked(root):
    bad = 0
    for folder, _, files in os.walk(os.path.join(root, "src")):
        rel_folder = os.path.relpath(folder, root)
        if any(rel_folder == d or rel_folder.startswith(d + "/") for d in SKIPPED_DIRS):
            continue
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            rel = os.path.join(rel_folder, name)
            code = open(os.path.join(folder, name), encoding="utf-8").read()
            for offset, text in literals(code):
                if not CJK.search(text) or enclosing_call(code, offset) in MARKERS:
                    continue
                if any(t in text for t in TERMINAL_TEXTS.get(rel, [])):
                    continue
                line = code.count("\n", 0, offset) + 1
                print("%s:%d: untranslated %r" % (rel, line, text))
                bad += 1
    return bad == 0


ESCAPES = {"n": "\n", "t": "\t", '"': '"', "'": "'", "\\": "\\", "?": "?"}
ENGLISH_MARKERS = {"Localize", "K52_EN"}


def english(src, ts):
    marked = set()
    for folder, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            code = open(os.path.join(folder, name), encoding="utf-8").read()
            for offset, text in literals(code):
                if enclosing_call(code, offset) in ENGLISH_MARKERS:
                    marked.add(re.sub(r"\\(.)", lambda m: ESCAPES[m.group(1)], text))
    committed = {source: done for (_, source), done in messages(ts).items()}
    missing = sorted(t for t in marked if not committed.get(t))
    unused = sorted(t for t in committed if t not in marked)
    for text in missing:
        print("no Chinese for %r" % text)
    for text in unused:
        print("%s holds %r, which nothing marks" % (os.path.basename(ts), text))
    print("%d marked English texts, %d without a finished translation, %d unused" % (len(marked), len(missing),
                                                                                   len(unused)))
    return not missing and not unused and len(marked) > 0


def main():
    if sys.argv[1] == "complete":
        ok = complete(sys.argv[2], sys.argv[3], sys.argv[4])
    elif sys.argv[1] == "english":
        ok = english(sys.argv[2], sys.argv[3])
    else:
        ok = marked(sys.argv[2])
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
