// Rewrites the head of a page with the WebAssembly HTML rewriter the way
// `veskaron-meta write` does: drops the title and the catalogued META tags,
// puts a fresh block after <head>. Usage: node rewrite_wasm.mjs PAGE OUT
import { readFileSync, writeFileSync } from "node:fs";
import rewriterModule from "html-rewriter-wasm";

const { HTMLRewriter } = rewriterModule;
const names = new Set(["author", "copyright", "description", "keywords", "robots", "revisit-after",
    "generator", "progid", "distribution", "url"]);
const equivs = new Set(["cache-control", "pragma", "refresh", "expiries", "content-type",
    "content-language", "location", "page-enter", "page-exit", "site-enter", "site-exit"]);
const block = "\r\n<title>Title</title>\r\n<meta name=\"author\" content=\"Author\">\r\n" +
    "<meta name=\"keywords\" content=\"a, b, c\">\r\n" +
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">";

const [page, outPath] = process.argv.slice(2);
const chunks = [];
const rewriter = new HTMLRewriter((chunk) => chunks.push(Buffer.from(chunk)));
rewriter.on("head", { element(el) { el.prepend(block, { html: true }); } });
rewriter.on("title", { element(el) { el.remove(); } });
rewriter.on("meta", {
    element(el) {
        const name = (el.getAttribute("name") ?? "").toLowerCase();
        const equiv = (el.getAttribute("http-equiv") ?? "").toLowerCase();
        if (names.has(name) || equivs.has(equiv)) el.remove();
    },
});
await rewriter.write(readFileSync(page));
await rewriter.end();
rewriter.free();
writeFileSync(outPath, Buffer.concat(chunks));
