"""Title and META tags of pages with lxml, one JSON line per page (a yardstick
for `veskaron-meta read`). Usage: extract_lxml.py PAGE... | -  (paths on stdin)."""
import json
import sys

import lxml.html


def pages():
    if sys.argv[1:] == ["-"]:
        for line in sys.stdin:
            yield line.rstrip("\n")
    else:
        yield from sys.argv[1:]


out = sys.stdout
for path in pages():
    with open(path, "rb") as f:
        root = lxml.html.fromstring(f.read())
    title = root.findtext(".//title") or ""
    metas = {}
    for meta in root.iter("meta"):
        key = meta.get("name") or meta.get("http-equiv")
        if key and key.lower() not in metas:
            metas[key.lower()] = meta.get("content", "")
    out.write(json.dumps({"Path": path, "Title": title, "Meta": metas}, ensure_ascii=False))
    out.write("\n")
