// The broken links and missing fragments of `links -r ROOT --format jsonl`
// beside those a peer reports for the same folder; prints the counts and
// every difference with its likely reason.
//   node links_agree.mjs ROOT OURS.jsonl linkinator LINKINATOR.json
//   node links_agree.mjs ROOT OURS.jsonl hyperlink HYPERLINK.tap CWD
import { existsSync, readFileSync } from 'node:fs';
import { relative, resolve, sep } from 'node:path';

const [rootArg, oursFile, peer, peerFile, cwd = process.cwd()] = process.argv.slice(2);
const root = resolve(rootArg);
const site = (abs) => {
  const r = relative(root, abs);
  return r.startsWith('..') ? `(outside the folder) ${abs}` : '/' + r.split(sep).join('/');
};
// Finding key: "page -> target", both as paths of the site.
const finding = (src, target, why) => [`${src} -> ${target}`, why];

const ours = new Map();
for (const line of readFileSync(oursFile, 'utf8').split('\n')) {
  if (!line) continue;
  const r = JSON.parse(line);
  if (r.Status === 'broken' || r.Status === 'anchor-missing')
    ours.set(...finding(site(r.Source), r.Target, r.Status));
}

const theirs = new Map();
const kindOf = (target) => {
  const [path, frag] = target.split('#');
  if (frag === undefined || path.startsWith('(')) return 'broken';
  const file = resolve(root, '.' + decodeURIComponent(path));
  return existsSync(file) ? 'anchor-missing' : 'broken';
};
if (peer === 'linkinator') {
  for (const l of JSON.parse(readFileSync(peerFile, 'utf8')).links ?? []) {
    if (l.state !== 'BROKEN' || !l.parent) continue;
    // Scanning a folder it names pages by their paths on disk (the folder
    // itself for its index.html), and each address once, at its first page.
    const [path, hash] = l.url.split('#');
    const target = site(path) + (hash === undefined ? '' : '#' + hash);
    const parent = resolve(l.parent) === root ? resolve(root, 'index.html') : l.parent;
    theirs.set(...finding(site(parent), target, kindOf(target)));
  }
} else {
  // TAP: "not ok N load TARGET" with "at: PAGE:line:col <a href=...>" lines,
  // "not ok N fragment-check PAGE --> HREF".
  const lines = readFileSync(peerFile, 'utf8').split('\n');
  let inLoad = false;
  for (const line of lines) {
    let m;
    if ((m = /^not ok \d+ fragment-check (\S+) --> (\S+)/.exec(line))) {
      const src = resolve(cwd, m[1]);
      const u = new URL(m[2], 'file://' + src);
      const target = site(decodeURIComponent(u.pathname)) + u.hash;
      theirs.set(...finding(site(src), target, kindOf(target)));
      inLoad = false;
    } else if (/^not ok \d+ load /.test(line)) inLoad = true;
    else if (/^(not )?ok /.test(line)) inLoad = false;
    else if (inLoad && (m = /^\s+at: (.+?):\d+:\d+ <\w+ [^>]*?(?:href|src)="([^"]*)"/.exec(line))) {
      const src = resolve(cwd, m[1]);
      const u = new URL(m[2], 'file://' + src);
      const target = site(decodeURIComponent(u.pathname)) + u.hash;
      theirs.set(...finding(site(src), target, kindOf(target)));
    }
  }
}

const count = (m, k) => [...m.values()].filter((v) => v === k).length;
console.log(`${peer}: broken ${count(theirs, 'broken')}, missing fragments ${count(theirs, 'anchor-missing')}; ` +
  `ours: broken ${count(ours, 'broken')}, missing fragments ${count(ours, 'anchor-missing')}`);
const reason = (key, onlyOurs) => {
  if (key.includes('(outside the folder)'))
    return '".." above the folder: we stop at the site root as a browser does on a host; the peer leaves the folder';
  if (onlyOurs && peer === 'linkinator') return 'linkinator reports an address once, at the first page that links to it';
  if (onlyOurs) return `${peer} reports no check of this link`;
  return `reported by ${peer} only`;
};
let same = 0;
const diffs = [];
for (const [k, v] of ours) {
  if (theirs.get(k) === v) same++;
  else diffs.push([`  ours only (${v}): ${k}`, reason(k, true)]);
}
for (const [k, v] of theirs) if (ours.get(k) !== v) diffs.push([`  ${peer} only (${v}): ${k}`, reason(k, false)]);
console.log(`agree on ${same}, differ on ${diffs.length}`);
const byReason = new Map();
for (const [, r] of diffs) {
  byReason.set(r, (byReason.get(r) ?? 0) + 1);
}
for (const [r, n] of byReason) console.log(`  ${n} x ${r}`);
for (const [d, r] of diffs.slice(0, Number(process.env.SHOW ?? 10))) console.log(`${d}: ${r}`);
