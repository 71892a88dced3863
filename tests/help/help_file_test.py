#!/usr/bin/env python3
"""Reads the built help file back with chmlib's extractor and checks that it holds its table of
contents, its index and every page they name, that the pages are Shift-JIS, and that every
menu, dialog, control and message the pages name (marked class="ui") is a text the program
really has: a string of the resources or of the sources, menu mnemonics left out.
Usage: help_file_test.py QDX.chm SOURCE_ROOT"""
import pathlib
import re
import subprocess
import sys
import tempfile

chm, root = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def sitemap_locals(text):
    return re.findall(r'<param name="Local" value="([^"]+)">', text)


def program_texts():
    """Whole lines of every string literal of res/ and of the program's sources."""
    exact, patterns = set(), []
    files = list(root.glob("res/**/*.rc")) + [
        p for p in root.glob("**/*.cpp") if not p.relative_to(root).parts[0] in ("tests", "build")]
    for path in files:
        for literal in re.findall(r'"((?:[^"\\\n]|\\.)*)"', path.read_text(encoding="utf-8")):
            for line in literal.split("\\r\\n"):
                line = re.sub(r"\(&.\)", "", line).replace('\\"', '"').replace("&", "")
                # A format counts when its fixed part is a Japanese text, not "%s%s".
                if "%" in line and re.search(r"[^\x00-\x7f]", re.sub(r"%[sd]", "", line)):
                    fixed = re.escape(line).replace("%s", ".+").replace("%d", "[0-9]+")
                    patterns.append(re.compile(fixed))
                exact.add(line)
    return exact, patterns


with tempfile.TemporaryDirectory() as out:
    subprocess.run(["extract_chmLib", str(chm), out], check=True, capture_output=True)
    files = pathlib.Path(out)
    system = (files / "#SYSTEM").read_bytes()
    check("Varrowin ヘルプ".encode("cp932") in system, "title missing from #SYSTEM")
    check(b"index.html" in system, "default topic missing from #SYSTEM")
    # The window definition names the index, so that the viewer shows its index tab.
    check(b"index.hhk" in (files / "#STRINGS").read_bytes() and (files / "#WINDOWS").is_file(),
          "no window definition with the index")

    read = lambda name: (files / name).read_bytes().decode("cp932")
    toc, index = sitemap_locals(read("contents.hhc")), sitemap_locals(read("index.hhk"))
    pages = sorted(p.name for p in files.glob("*.html"))
    check(len(pages) >= 20, f"only {len(pages)} pages")
    check(sorted(set(toc)) == pages, f"contents and pages differ: {set(toc) ^ set(pages)}")
    check(len(index) >= 60, f"only {len(index)} index entries")
    index_names = re.findall(r'<param name="Name" value="([^"]+)">', read("index.hhk"))
    for term in ("qdx.ini", "qdx.ini.bak", "Cache.arc", "CacheUser.arc", "qdxtool", "ホットキー"):
        check(term in index_names, f"index lacks {term}")
    for target in index:
        check(target in pages, f"index names a missing page {target}")

    exact, patterns = program_texts()
    named = 0
    for page in pages:
        text = read(page)
        check('charset=Shift_JIS' in text, f"{page} does not declare Shift_JIS")
        for image in re.findall(r'<img src="([^"]+)"', text):
            check((files / image).is_file(), f"{page} shows a missing picture {image}")
        for ui in re.findall(r'<span class="ui">([^<]+)</span>', text):
            named += 1
            found = ui in exact or any(p.fullmatch(ui) for p in patterns)
            check(found, f"{page} names {ui!r}, which the program does not have")
    check(named >= 150, f"only {named} named texts")

for failure in failures:
    print("FAIL:", failure)
print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
