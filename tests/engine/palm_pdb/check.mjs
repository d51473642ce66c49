// Reads every database named in a manifest with palm-pdb, a PDB reader that
// owes nothing to Tallowick, and compares it with what the engine was asked
// to write. Usage: node check.mjs FOLDER (holding manifest.json).
import fs from 'node:fs';
import path from 'node:path';
import {RawPdbDatabase} from 'palm-pdb';

const folder = process.argv[2];
const manifest = JSON.parse(fs.readFileSync(path.join(folder, 'manifest.json'), 'utf8'));
const now = Date.now();
let passed = 0;
let failed = 0;

function check(file, what, actual, expected) {
  if (actual === expected) {
    passed++;
  } else {
    failed++;
    console.log(`FAIL ${file}: ${what}: got ${JSON.stringify(actual)}, want ${JSON.stringify(expected)}`);
  }
}

for (const want of manifest) {
  const bytes = fs.readFileSync(path.join(folder, want.file));
  const db = RawPdbDatabase.from(bytes);
  const header = db.header;
  check(want.file, 'name', header.name, want.name);
  check(want.file, 'creator', header.creator, want.creator);
  check(want.file, 'type', header.type, want.type);
  check(want.file, 'attributes', header.attributes.value, 8);
  check(want.file, 'backup attribute', header.attributes.backup, true);
  check(want.file, 'version', header.version, 0);
  check(want.file, 'modification number', header.modificationNumber, 0);
  check(want.file, 'sort info', header.sortInfoId, 0);
  // Dates count from 1904: read so, they are the moment of writing.
  check(want.file, 'creation date epoch', header.creationDate.epochType, 'pdb');
  const created = header.creationDate.value.getTime();
  check(want.file, 'creation date is now', Math.abs(created - now) < 3600 * 1000, true);
  check(want.file, 'modification date', header.modificationDate.value.getTime(), created);
  check(want.file, 'app info block', db.appInfo ? db.appInfo.value.toString('hex') : null, '00');
  check(want.file, 'record count', db.records.length, want.records.length);
  db.records.forEach((record, i) => {
    check(want.file, `record ${i} unique ID`, record.entry.uniqueId, i);
    check(want.file, `record ${i} attributes`, record.entry.attributes.value, 0);
    check(want.file, `record ${i} bytes`, record.data.toString('hex'), want.records[i] ?? null);
  });
  // Reading back and writing again with palm-pdb gives the same bytes, dates included.
  check(want.file, 'rewritten by palm-pdb', Buffer.compare(db.serialize(), bytes), 0);
}

console.log(`palm-pdb: ${manifest.length} databases`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed > 0 ? 0 : 1);
