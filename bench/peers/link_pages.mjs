// Makes a site folder of N pages of 60 links each, as bench/link_bench makes
// them (a menu, links to pages near and far, fragments, images, a script, a
// style sheet, another host, a broken link on every 50th page), plus a link
// to a fragment no page has on every 70th page.
//   node link_pages.mjs DIR N
import { mkdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [root, countArg] = process.argv.slice(2);
const count = Number(countArg || 10000);
const kLinks = 60;
const mask = (1n << 64n) - 1n;

const name = (n) => `d${String(n % 1000).padStart(3, '0')}/p${String(n).padStart(6, '0')}.html`;

function page(n) {
  let p = `<!DOCTYPE html>\n<html lang="ru"><head><meta charset="utf-8">\n<title>Страница ${n}</title>\n` +
    `<link rel="stylesheet" href="/css/site.css">\n<link rel="canonical" href="https://example.com/${name(n)}">\n` +
    `<script src="/js/site.js"></script>\n</head>\n<body>\n<nav id="menu">`;
  let x = (BigInt(n) * 0x9E3779B97F4A7C15n + 1n) & mask;
  const next = () => {
    x ^= (x << 13n) & mask;
    x ^= x >> 7n;
    x ^= (x << 17n) & mask;
    return x;
  };
  for (let i = 0; i < kLinks - 10; ++i) {
    const to = i < 5 ? i : Number(next() % BigInt(count));
    const target = to % 1000 === n % 1000 ? name(to).slice(5) : '../' + name(to);
    if (i % 10 === 0) p += `\n<p id="s${i}">Раздел о товарах и услугах, текст абзаца. `;
    p += `<a href="${target}${i % 7 === 3 ? '#s10' : ''}">ссылка ${i}</a> `;
  }
  p += '</nav>\n<!-- <a href="old.html">старое</a> -->\n';
  for (let i = 0; i < 5; ++i) p += `<img src="/img/i${i}.png" alt="фото" width="2" height="2">\n`;
  p += `<a href="https://other.org/${n}">x</a> <a href="mailto:info@example.com">почта</a>\n`;
  if (n % 70 === 0) p += '<a href="../d001/p000001.html#nowhere">раздел</a>\n';
  p += `<a href="${n % 50 === 0 ? 'gone.html' : '../d000/p000000.html'}">?</a>\n</body></html>\n`;
  return p;
}

for (let d = 0; d < 1000; ++d) mkdirSync(join(root, `d${String(d).padStart(3, '0')}`), { recursive: true });
for (const d of ['img', 'css', 'js']) mkdirSync(join(root, d), { recursive: true });
const png = Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x02\0\0\0\x02', 'latin1'), Buffer.alloc(13)]);
for (let i = 0; i < 5; ++i) writeFileSync(join(root, `img/i${i}.png`), png);
writeFileSync(join(root, 'css/site.css'), 'body{}');
writeFileSync(join(root, 'js/site.js'), ';');
writeFileSync(join(root, 'index.html'), page(0));
for (let n = 0; n < count; ++n) writeFileSync(join(root, name(n)), page(n));
