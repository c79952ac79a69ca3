// Makes robots.txt files and the (agent, address) questions asked of them,
// the same for every run (a fixed seed), and answers them with the npm
// robots-parser package. Usage: node robots_triples.mjs DIR COUNT
// Writes DIR/robots-N.txt, DIR/questions-N.tsv (agent, address) and
// DIR/peer-N.tsv (agent, address, allow|deny, line).
import fs from 'node:fs';
import path from 'node:path';
import robotsParser from 'robots-parser';

const [dir, countText] = process.argv.slice(2);
const count = Number(countText || 300);
let seed = 20261207;
const random = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
const pick = (list) => list[Math.floor(random() * list.length)];

const agents = ['Googlebot', 'Yandex', 'YandexBot', 'foobot', 'Bingbot'];
const segments = ['a', 'b', 'page', 'Page', 'fish', 'x.html', 'y.gif', 'каталог', '%D0%BA', 'a%2Fb', 'q?x=1', '~t', 'dir/'];
const patternPiece = () => pick(['/', '/a', '/a/', '/page', '/fish*', '/*.gif$', '/*.html', '/$', '/x', '/%7Et', '/~t',
                                  '/каталог', '/%D0%BA', '*', '/a*b', '/page$', '/dir/', '/b/', '/Page']);

for (let n = 0; n < count; n++) {
  const lines = [];
  const groups = 1 + Math.floor(random() * 3);
  for (let g = 0; g < groups; g++) {
    const names = random() < 0.3 ? ['*'] : [pick(agents)];
    if (random() < 0.2) names.push(pick(agents));
    for (const a of names) lines.push(`User-agent: ${a}`);
    const rules = Math.floor(random() * 5);
    for (let r = 0; r < rules; r++) lines.push(`${random() < 0.5 ? 'Allow' : 'Disallow'}: ${patternPiece()}`);
    lines.push('');
  }
  const robots = lines.join('\n');
  fs.writeFileSync(path.join(dir, `robots-${n}.txt`), robots);
  const parser = robotsParser('https://example.com/robots.txt', robots);
  const questions = [], answers = [];
  for (let q = 0; q < 10; q++) {
    let address = '/';
    const depth = Math.floor(random() * 3);
    for (let d = 0; d < depth; d++) address += pick(segments) + (d + 1 < depth ? '/' : '');
    const url = 'https://example.com' + encodeURI(decodeURIComponent(address.replace(/%(?![0-9A-F]{2})/g, '%25')));
    const agent = pick(agents);
    questions.push(`${agent}\t${url}`);
    const allowed = parser.isAllowed(url, agent);
    const line = parser.getMatchingLineNumber(url, agent);
    answers.push(`${agent}\t${url}\t${allowed === false ? 'deny' : 'allow'}\t${line}`);
  }
  fs.writeFileSync(path.join(dir, `questions-${n}.tsv`), questions.join('\n') + '\n');
  fs.writeFileSync(path.join(dir, `peer-${n}.tsv`), answers.join('\n') + '\n');
}
