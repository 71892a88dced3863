#!/usr/bin/env python3
# QDX.chm read back: contents, index and window name its Shift-JIS pages, and every text they
# mark class="ui" is a line of a string of res/ or the sources. Usage: QDX.chm SOURCE_ROOT
import pathlib, re, subprocess, sys, tempfile

chm, root = sys.argv[1], pathlib.Path(sys.argv[2])
exact, formats, failures = set(), [], []
# The resources and the program's sources (tests/, tools/, bench/ and build/ left out).
for path in list(root.glob("res/**/*.rc")) + list(root.glob("[!tb]*/**/*.cpp")):
    for literal in re.findall(r'"((?:[^"\\\n]|\\.)*)"', path.read_text(encoding="utf-8")):
        for line in literal.split("\\r\\n"):
            line = re.sub(r"\(&.\)", "", line).replace('\\"', '"').replace("&", "")
            exact.add(line)
            if re.search(r"%[sd]", line) and re.search(r"[^\x00-\x7f]", line):  # not "%s%s"
                formats.append(re.escape(line).replace("%s", ".+").replace("%d", "[0-9]+"))

with tempfile.TemporaryDirectory() as out:
    subprocess.run(["extract_chmLib", chm, out], check=True, capture_output=True)
    raw = lambda name: (pathlib.Path(out) / name).read_bytes()
    read = lambda name: raw(name).decode("cp932")
    pages = sorted(p.name for p in pathlib.Path(out).glob("*.html"))
    toc = re.findall(r'"Local" value="([^"]+)"', read("contents.hhc"))
    index = re.findall(r'"Local" value="([^"]+)"', read("index.hhk"))
    failures += [f"contents and pages differ: {set(toc) ^ set(pages)}"] * (set(toc) != set(pages))
    failures += [f"{len(index)} index entries"] * (len(index) < 60 or not set(index) <= set(pages))
    if b"index.hhk" not in raw("#STRINGS") or "Varrowin ヘルプ".encode("cp932") not in raw("#SYSTEM"):
        failures.append("no title, or no window with the index")
    named = [(pg, ui) for pg in pages for ui in re.findall(r'class="ui">([^<]+)<', read(pg))]
    failures += [f"{page} is not Shift-JIS" for page in pages if "charset=Shift_JIS" not in read(page)]
failures += [f"{page} names {ui!r}, which the program does not have" for page, ui in named
             if ui not in exact and not any(re.fullmatch(f, ui) for f in formats)]
failures += [f"only {len(named)} named texts"] * (len(named) < 300)
print("\n".join(failures) or f"{len(pages)} pages, {len(index)} index entries, {len(named)} texts")
sys.exit(1 if failures else 0)
