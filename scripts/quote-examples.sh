#!/usr/bin/env bash
# Rewrites every block of docs/*.md that follows a line
# "<!-- example: PATH -->" with the file PATH as it is now, so the reference
# quotes its examples exactly (tests/shell/docs_examples_test.sh checks it).
set -euo pipefail
cd "$(dirname "$0")/.."
python3 - <<'PY'
import os, re
for page in sorted(os.listdir("docs")):
    if not page.endswith(".md"): continue
    path = os.path.join("docs", page)
    text = open(path, encoding="utf-8").read()
    def quote(m):
        body = open(m.group(1), "rb").read().decode("latin-1").replace("\r\n", "\n")
        return f"<!-- example: {m.group(1)} -->\n```\n{body}```\n"
    new = re.sub(r"<!-- example: (\S+) -->\n```\n.*?```\n", quote, text, flags=re.S)
    if new != text:
        open(path, "w", encoding="utf-8").write(new)
        print("quoted anew:", path)
PY
