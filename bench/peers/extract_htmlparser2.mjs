// Title and META tags of pages with htmlparser2, one JSON line per page (a
// yardstick for `veskaron-meta read`). Usage: node extract_htmlparser2.mjs PAGE... | -
import { readFileSync } from "node:fs";
import { Parser } from "htmlparser2";

// The charset a browser would pick from the first kilobyte.
function decode(bytes) {
    const head = bytes.subarray(0, 1024).toString("latin1").toLowerCase();
    const m = /charset=["']?([a-z0-9_-]+)/.exec(head);
    let label = m ? m[1] : "utf-8";
    try {
        return new TextDecoder(label).decode(bytes);
    } catch {
        return new TextDecoder("utf-8").decode(bytes);
    }
}

let paths = process.argv.slice(2);
if (paths.length === 1 && paths[0] === "-") paths = readFileSync(0, "utf8").split("\n").filter(Boolean);
const out = [];
for (const path of paths) {
    let title = "", inTitle = false;
    const meta = {};
    const parser = new Parser({
        onopentag(name, attrs) {
            if (name === "title") inTitle = true;
            else if (name === "meta") {
                const key = (attrs.name ?? attrs["http-equiv"] ?? "").toLowerCase();
                if (key && !(key in meta)) meta[key] = attrs.content ?? "";
            }
        },
        ontext(text) { if (inTitle) title += text; },
        onclosetag(name) { if (name === "title") inTitle = false; },
    }, { decodeEntities: true, lowerCaseAttributeNames: true });
    parser.end(decode(readFileSync(path)));
    out.push(JSON.stringify({ Path: path, Title: title, Meta: meta }));
    if (out.length >= 1000) { process.stdout.write(out.join("\n") + "\n"); out.length = 0; }
}
if (out.length) process.stdout.write(out.join("\n") + "\n");
