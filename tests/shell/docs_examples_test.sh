#!/usr/bin/env bash
# The reference quotes its examples: every fenced block that follows a line
# "<!-- example: PATH -->" in docs/*.md must hold exactly the file PATH (line
# ends aside), and every relative link of the pages must name a file that
# exists.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
python3 - <<'PY'
import os, re, sys
passed = failed = 0
def check(ok, what):
    global passed, failed
    if ok: passed += 1
    else:
        failed += 1
        print("FAIL", what)
quoted = set()
for page in sorted(os.listdir("docs")):
    if not page.endswith(".md"): continue
    text = open(os.path.join("docs", page), encoding="utf-8").read()
    for m in re.finditer(r"<!-- example: (\S+) -->\n```\n(.*?)```\n", text, re.S):
        path = m.group(1)
        quoted.add(path)
        body = open(path, "rb").read().decode("latin-1").replace("\r\n", "\n")
        check(m.group(2) == body, f"{page}: the block quoting {path} differs from the file")
    check(text.count("<!-- example:") == len(re.findall(r"<!-- example: \S+ -->\n```\n", text)),
          f"{page}: an example marker without a block after it")
    for link in re.findall(r"\]\(([^)#]+)(?:#[^)]*)?\)", text):
        if "://" in link: continue
        check(os.path.exists(os.path.normpath(os.path.join("docs", link))), f"{page}: link to {link}")
for required in ["examples/menu-and-desktop.txt", "examples/remove-shortcuts.txt", "examples/registry.txt",
                 "examples/app.properties"]:
    check(required in quoted, f"{required} is quoted by no page")
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
PY
