// The browser edition proven in headless Chromium against the simulator, beside the desktop
// command line: node web/test/run.mjs --site DIR --cli PATH --sim PATH [--out DIR] [--only a,b]
import fs from 'node:fs';
import path from 'node:path';
import {Rig, runChecks, assert, sameBytes, sleep} from './rig.mjs';
import {Ui} from './ui.mjs';
import {listChecks} from './lists.mjs';
import {tuneChecks} from './tune.mjs';

const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 && i + 1 < args.length ? args[i + 1] : fallback;
};
const rig = new Rig({site: option('--site'), cli: option('--cli'), sim: option('--sim'),
  out: option('--out')});
const only = option('--only') ? option('--only').split(',') : null;
const dataDir = option('--data', path.join(path.dirname(new URL(import.meta.url).pathname), '..', '..', 'tests', 'data'));
if (rig.out) fs.mkdirSync(rig.out, {recursive: true});

// The line floor of a whole read and write at 9600 baud against the paced simulator, and the
// margin the page may take over it.
const floor = {read: 6.19, write: 2.34};
const margin = 1.05;

// The radio the tests talk to: a QM830K-U1 (model code 7) holding its default data.
const model = ['--model', '7'];
let radioFile;

// Bytes where two data files differ, as [offset, a, b] rows.
function differences(a, b) {
  const rows = [];
  for (let i = 0; i < Math.max(a.length, b.length); i++) if (a[i] !== b[i]) rows.push([i, a[i], b[i]]);
  return rows;
}

// The write date the radio is given at a write: 14 ASCII digits in the image's row 0x3C0.
const writeDate = {from: 0x3c0 + 1, to: 0x3c0 + 15};
function sameButWriteDate(a, b, what) {
  const off = differences(a, b).filter(([i]) => i < writeDate.from || i >= writeDate.to);
  assert(off.length === 0, `${what}: differs at ${off.slice(0, 6).map(([i, x, y]) => `0x${i.toString(16)}: ${x} vs ${y}`).join(', ')}`);
}

// The simulator's log of the read requests, split into the reads it served in turn: the gaps
// between one request and the next (ms), for the median exchange and for how many exchanges
// took a poll more than the command line's (a reply that missed a 10 ms poll).
function readExchanges(log) {
  const times = [];
  for (const line of fs.readFileSync(log, 'utf8').split('\n')) {
    const m = line.match(/^\s*([\d.]+) PC>\s+52 /);
    if (m) times.push(Number(m[1]));
  }
  const reads = [];
  for (let i = 0; i < times.length; i += 128) {
    const t = times.slice(i, i + 128);
    reads.push(t.slice(1).map((x, k) => x - t[k]).sort((a, b) => a - b));
  }
  return reads;
}
const median = (sorted) => sorted[sorted.length >> 1];

const timed = async (fn) => {
  const t0 = performance.now();
  const value = await fn();
  return {value, seconds: (performance.now() - t0) / 1000};
};

const figures = {};

const checks = [
  ['loads under two seconds, small', async () => {
    const {page, context, loadMs} = await rig.openPage();
    let bytes = 0;
    for (const f of fs.readdirSync(rig.site, {recursive: true})) {
      const p = path.join(rig.site, f);
      if (fs.statSync(p).isFile()) bytes += fs.statSync(p).size;
    }
    figures.loadMs = loadMs;
    figures.siteKiB = Math.round(bytes / 1024);
    assert(loadMs < 2000, `the page took ${loadMs} ms to be ready`);
    if (rig.out) await page.screenshot({path: path.join(rig.out, 'page-zh.png')});
    await context.close();
  }],

  ['reads the radio as the command line does, and paints meanwhile', async () => {
    await rig.startSim(['--pace', ...model, '--load', radioFile]);
    const cli = await timed(() => rig.cli(['read', '-o', rig.file('cli-read.q83'), '--device', rig.link]));
    // Timed as the command line is, with the port known: the browser's chooser is the user's
    // time, not the read's.
    const {page, context} = await rig.openPage({granted: true});
    const ui = new Ui(page);
    await page.evaluate(() => {
      window.__frames = 0;
      const tick = () => {
        window.__frames += 1;
        requestAnimationFrame(tick);
      };
      requestAnimationFrame(tick);
    });
    const read = await ui.timedCommand('mnuRead', '读频完成');
    const frames = await page.evaluate(() => window.__frames);
    assert(read.seconds !== null, `no completion message: ${read.messages.join(' | ')}`);
    const saved = await ui.saveAs('page-read.q83');
    sameBytes(saved, fs.readFileSync(rig.file('cli-read.q83')), 'the file read by the page');
    // Where the page's time goes beside the command line's, exchange by exchange: the
    // bridge's two WebSocket hops are in the page's share.
    const [byCli, byPage] = readExchanges(rig.file('sim.log'));
    const late = byPage.filter((g) => g > median(byCli) + 5).length;
    figures.read = {page: read.seconds, cli: cli.seconds, fps: frames / read.seconds,
      exchangeMs: {cli: median(byCli), page: median(byPage)}, pollsMissed: late};
    assert(read.seconds <= floor.read * margin + 1.5, `the read took ${read.seconds.toFixed(2)} s`);
    assert(frames / read.seconds > 10, `the page painted ${frames} frames in ${read.seconds.toFixed(1)} s`);
    await context.close();
    await rig.stopSim();
  }],

  ['writes what the command line writes, but for the write date', async () => {
    // The file to write: the default data with every kind of edit the command line makes.
    rig.cli(['set', radioFile, '--channels', '1-4', '--power', '低', '--scan', '删除',
      '--rx-signal', 'DCS 023', '--tx-signal', 'CTC 88.5', '--fill-from', '446.00625', '--step', '12.5',
      '--fill-tx', '-o', rig.file('to-write.q83')]);
    const toWrite = fs.readFileSync(rig.file('to-write.q83'));
    await rig.startSim([...model, '--load', radioFile]);
    rig.cli(['write', rig.file('to-write.q83'), '--yes', '--device', rig.link]);
    const byCli = await rig.stopSim();

    await rig.startSim(['--pace', ...model, '--load', radioFile]);
    const {page, context} = await rig.openPage({granted: true});
    const ui = new Ui(page);
    await ui.open('to-write.q83', toWrite);
    const write = await ui.timedCommand('mnuWrite', '写频完成');
    const byPage = await rig.stopSim();
    figures.write = {page: write.seconds};
    assert(write.seconds !== null, `no completion message: ${write.messages.join(' | ')}`);
    sameButWriteDate(byPage, byCli, 'the radio after the page wrote');
    await context.close();
  }],

  ['edits through the controls, and writes the document to the radio', async () => {
    const {page, context} = await rig.openPage();
    const ui = new Ui(page);
    const before = JSON.parse(rig.cli(['show', radioFile, '--json']).stdout);
    await ui.open('radio.q83', fs.readFileSync(radioFile));
    // Channel 2's receive frequency typed into the grid's editor.
    await ui.press(2, 1);
    await page.waitForSelector('#txtChFreq:not([hidden])', {timeout: 5000});
    await page.$eval('#txtChFreq', (el) => {
      el.value = '';
      el.dispatchEvent(new Event('input', {bubbles: true}));
    });
    await page.type('#txtChFreq', '446.10000');
    await page.keyboard.press('Enter');
    await ui.idle();
    // Channel 3's power by its toggle cell, channel 4's transmit allowed by its check box.
    await ui.press(3, 7);
    await ui.click('chkTx_3');
    await ui.idle();
    // A radio-wide list set to another position.
    const list = await page.$eval('#cboRadio_0', (el) => ({at: el.selectedIndex, n: el.options.length}));
    const to = (list.at + 1) % list.n;
    await page.$eval('#cboRadio_0', (el, i) => {
      el.selectedIndex = i;
      el.dispatchEvent(new Event('change', {bubbles: true}));
    }, to);
    await ui.idle();
    const saved = await ui.saveAs('edited.q83');
    fs.writeFileSync(rig.file('edited.q83'), saved);
    const after = JSON.parse(rig.cli(['show', rig.file('edited.q83'), '--json']).stdout);
    const ch = (d, n) => d.channel.find((c) => c.channel === n);
    assert(ch(after, 2).rx === '446.10000', `channel 2 receives on ${ch(after, 2).rx}`);
    assert(ch(after, 3).power !== ch(before, 3).power, 'channel 3 kept its power');
    assert(ch(after, 4).tx_allowed !== ch(before, 4).tx_allowed, 'channel 4 kept its transmit switch');
    const changed = Object.keys(after.functions).filter((k) => after.functions[k] !== before.functions[k]);
    assert(changed.length >= 1, 'no radio-wide function changed');

    // What the command line's write of the saved file leaves in the same radio is what the
    // page's write must leave (the areas a write does not cover keep the radio's bytes).
    await rig.startSim([...model, '--load', radioFile]);
    rig.cli(['write', rig.file('edited.q83'), '--yes', '--device', rig.link]);
    const byCli = await rig.stopSim();
    await rig.startSim([...model, '--load', radioFile]);
    const said = await ui.command('mnuWrite');
    const radio = await rig.stopSim();
    assert(said.some((m) => m.includes('写频完成')), `the write said: ${said.join(' | ')}`);
    sameButWriteDate(radio, byCli, 'the radio after writing the edits');
    await context.close();
  }],

  ['reads and writes the embedded information as the command line does', async () => {
    // A radio with an ID in its memory, given through the text form.
    rig.cli(['convert', radioFile, rig.file('with-id.toml')]);
    fs.writeFileSync(rig.file('with-id.toml'), fs.readFileSync(rig.file('with-id.toml'), 'utf8')
      .replace(/radio_id = ".*"/, 'radio_id = "ZR410-0042-00001"'));
    rig.cli(['convert', rig.file('with-id.toml'), rig.file('with-id.q83')]);
    await rig.startSim([...model, '--load', rig.file('with-id.q83')]);
    const desktop = rig.cli(['embed-read', '--device', rig.link]).stdout;
    const {page, context} = await rig.openPage();
    const ui = new Ui(page);
    await ui.command('mnuRadio');
    await page.waitForSelector('#frmEmbed[open]', {timeout: 5000});
    await ui.command('cmdReadInfo');
    const id = await ui.text('lblRadioID');
    const desktopId = (desktop.split('\n')[0].split('：')[1] || '').trim();
    assert(id === desktopId && id === 'ZR410-0042-00001', `the page shows radio ID "${id}", the command line "${desktopId}"`);
    // A text in both scripts, written and read back by the command line.
    const text = '测试 radio 410';
    await page.$eval('#rtxtbEmbed', (el, t) => {
      el.value = t;
      el.dispatchEvent(new Event('input', {bubbles: true}));
    }, text);
    await ui.command('cmdWriteInfo');
    const back = rig.cli(['embed-read', '--device', rig.link]).stdout;
    assert(back.includes(text), `after the page wrote "${text}" the radio holds: ${back}`);
    await context.close();
    await rig.stopSim();
  }],

  ['opens and saves every file kind as the desktop does', async () => {
    const q83 = rig.file('kinds.q83');
    rig.cli(['set', radioFile, '--channels', '2-3', '--bandwidth', '窄带', '--busy-lock', '打开',
      '-o', q83]);
    rig.cli(['convert', q83, rig.file('kinds.z410')]);
    rig.cli(['convert', q83, rig.file('kinds.toml')]);
    const kinds = ['q83', 'z410', 'toml'];
    const {page, context} = await rig.openPage();
    const ui = new Ui(page);
    // Each save from a freshly opened file: a legacy save makes the document's image a
    // legacy one, as it does in the window, and the text form then says so.
    for (const from of kinds) {
      for (const to of kinds) {
        await ui.open(`in.${from}`, fs.readFileSync(rig.file(`kinds.${from}`)));
        const saved = await ui.saveAs(`out-${from}.${to}`);
        const expected = rig.file(`desktop-${from}.${to}`);
        rig.cli(['convert', rig.file(`kinds.${from}`), expected]);
        sameBytes(saved, fs.readFileSync(expected), `${from} saved as ${to}`);
      }
    }
    await context.close();
  }],

  ['refuses a damaged file with the desktop message and keeps the document', async () => {
    const good = fs.readFileSync(radioFile);
    const damaged = good.subarray(0, good.length - 100);
    fs.writeFileSync(rig.file('damaged.q83'), damaged);
    const desktop = rig.cli(['show', rig.file('damaged.q83')], {allowFail: true});
    assert(desktop.status !== 0, 'the command line took the damaged file');
    const {page, context} = await rig.openPage();
    const ui = new Ui(page);
    await ui.open('good.q83', good);
    const said = await ui.open('damaged.q83', damaged);
    assert(said.length > 0, 'no message for the damaged file');
    const core = said[0].replace(/\s+/g, '');
    assert(desktop.stderr.replace(/\s+/g, '').includes(core.slice(0, 12)),
      `the page said "${said[0]}", the command line "${desktop.stderr.trim()}"`);
    sameBytes(await ui.saveAs('kept.q83'), good, 'the document after the refusal');
    await context.close();
  }],

  ['ends a read on a pulled cable with the message and keeps the document', async () => {
    await rig.startSim([...model, '--load', radioFile]);
    const {page, context} = await rig.openPage();
    const ui = new Ui(page);
    const before = await ui.saveAs('before.q83');
    rig.bridge.pullAfter(400);
    const said = await ui.command('mnuRead');
    rig.bridge.reset();
    assert(rig.bridge.state.fromRadio > 0, `the read never reached the radio: ${said.join(' | ')}`);
    assert(said.length > 0 && !said.some((m) => m.includes('读频完成')),
      `the pulled read said: ${said.join(' | ')}`);
    sameBytes(await ui.saveAs('after.q83'), before, 'the document after the pulled read');
    await context.close();
    await rig.stopSim();
  }],

  ['warns of a newer radio until told not to, and names the port by its USB ids', async () => {
    await rig.startSim([...model, '--version', '3.0', '--load', radioFile]);
    const {page, context} = await rig.openPage();
    const ui = new Ui(page);
    const panel = await ui.text('sbPanel_3');
    const first = await ui.command('mnuRead', {warning: {ok: true, tick: true}});
    assert(ui.warnings.length === 1 && ui.warnings[0].includes('更新版本'),
      `the newer radio was warned of as: ${ui.warnings.join(' | ')}`);
    const again = await ui.command('mnuRead');
    assert(ui.warnings.length === 1, `warned again after "do not show again": ${ui.warnings.join(' | ')}`);
    // A newer radio's read is taken, with the note that the program should be updated.
    assert([...first, ...again].filter((m) => m.includes('升级')).length === 2,
      `the reads said: ${[...first, ...again].join(' | ')}`);
    const granted = await ui.text('sbPanel_3');
    assert(panel !== granted && granted === 'USB 1A86:7523',
      `the port panel showed "${panel}" before the port was granted and "${granted}" after`);
    // The cable check names the port by the same ids in its line.
    const check = await ui.command('mnuPort');
    assert(check.length === 1 && check[0].includes('1A86:7523'), `the cable check said: ${check.join(' | ')}`);
    await context.close();
    await rig.stopSim();
  }],

  ...tuneChecks(rig, model, () => radioFile, figures),

  ['speaks English on request', async () => {
    const {page, context} = await rig.openPage();
    await new Ui(page).command('mnuLangEn');
    const title = await page.evaluate(() => document.body.innerText);
    assert(/File/.test(title) && !/文件/.test(title), 'the English page still shows Chinese menus');
    if (rig.out) await page.screenshot({path: path.join(rig.out, 'page-en.png')});
    await context.close();
  }],

  ['says why the radio commands are missing without Web Serial', async () => {
    const context = await rig.browser.createBrowserContext();
    const page = await context.newPage();
    await page.evaluateOnNewDocument(() => {
      delete Navigator.prototype.serial;
    });
    await page.goto(rig.url, {waitUntil: 'load'});
    await page.evaluate(() => window.qmReady);
    const said = await page.evaluate(() => document.body.innerText);
    assert(/Chrome|Edge/.test(said), 'no line naming the browsers that have Web Serial');
    await context.close();
  }],
  ...listChecks({rig, dataDir, radioFile: () => radioFile}),
];

try {
  await rig.start();
  radioFile = rig.file('radio.q83');
  // The radio's memory differs from the data a page starts with, so a read that never
  // happened cannot pass for one.
  rig.cli(['new', '-o', rig.file('default.q83'), '--model-code', '7']);
  rig.cli(['set', rig.file('default.q83'), '--channels', '5-9', '--fill-from', '445.5', '--step',
    '25', '--busy-lock', '打开', '-o', radioFile]);
  let failed = await runChecks(checks, only);
  if (rig.consoleErrors.length) {
    failed += 1;
    console.log(`FAIL the browser's console had errors:\n  ${rig.consoleErrors.join('\n  ')}`);
  }
  console.log(`figures: ${JSON.stringify(figures)}`);
  process.exitCode = failed ? 1 : 0;
} finally {
  await rig.stop();
}
