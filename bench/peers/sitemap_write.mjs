// Writes a sitemap with the npm sitemap package from the address list our
// sitemap holds ("loc<TAB>lastmod" per line on stdin), into FILE: the peer
// given exactly the addresses we chose, for the write alone.
import { createWriteStream, readFileSync } from "node:fs";
import { SitemapStream } from "sitemap";

const out = process.argv[2];
const lines = readFileSync(0, "utf8").split("\n").filter(Boolean);
const stream = new SitemapStream();
const done = new Promise((resolve, reject) => {
  stream.pipe(createWriteStream(out)).on("finish", resolve).on("error", reject);
});
for (const line of lines) {
  const [url, lastmod] = line.split("\t");
  stream.write({ url, lastmod });
}
stream.end();
await done;
