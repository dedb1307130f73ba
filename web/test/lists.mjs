// The page's channel lists and row commands beside the desktop command line: the CSV import
// and export, copy and paste of rows and the bulk edit, each compared with the bytes the
// command line gives for the same work.
import fs from 'node:fs';
import path from 'node:path';
import {assert, sameBytes} from './rig.mjs';
import {Ui} from './ui.mjs';

// The file the next picker hands the page.
const offer = (page, name, bytes) => page.evaluate((n, b) => window.__qmHarness.open.push({name: n, base64: b}),
  name, Buffer.from(bytes).toString('base64'));

// mnuFileImportCsv with the file and the dialog's two choices; returns the messages.
async function importCsv(ui, name, bytes, {from = '', clearRest = false} = {}) {
  await offer(ui.page, name, bytes);
  await ui.click('mnuFileImportCsv');
  await ui.page.waitForSelector('#dlgImportCsv[open]', {timeout: 5000});
  await ui.page.$eval('#txtFromLocation', (el, v) => (el.value = v), from);
  await ui.page.$eval('#chkClearRest', (el, v) => (el.checked = v), clearRest);
  return ui.command('dlgImportCsv_cmdOK');
}

// A press on row heading `row` (1..16), with the keys held as given.
const heading = (ui, row, {shift = false, ctrl = false} = {}) => ui.page.$eval('#gridChan',
  (grid, r, sh, c) => grid.rows[r].cells[0].dispatchEvent(new MouseEvent('mousedown',
    {bubbles: true, button: 0, shiftKey: sh, ctrlKey: c})), row, shift, ctrl).then(() => ui.idle());

// What the page puts on the browser's clipboard goes to window.__clip instead.
const catchClipboard = (page) => page.evaluate(() => {
  window.__clip = null;
  navigator.clipboard.writeText = async (t) => {
    window.__clip = t;
  };
});

export function listChecks({rig, dataDir, radioFile}) {
  const chirp = path.join(dataDir, 'chirp');
  return [
    ['imports both channel lists as the desktop does', async () => {
      const {page, context} = await rig.openPage();
      const ui = new Ui(page);
      const lists = [['US FRS and GMRS Channels.csv', {}],
        ['EU LPD and PMR Channels.csv', {from: '71', clearRest: true}]];
      for (const [name, choice] of lists) {
        const csv = path.join(chirp, name);
        const expected = rig.file(`imported-${lists.findIndex((l) => l[0] === name)}.q83`);
        const cli = rig.cli(['import-csv', radioFile(), csv, '-o', expected,
          ...(choice.from ? ['--from-location', choice.from] : []), ...(choice.clearRest ? ['--clear-rest'] : [])]);
        await ui.open('radio.q83', fs.readFileSync(radioFile()));
        const said = await importCsv(ui, name, fs.readFileSync(csv), choice);
        const count = /导入(\d+)个信道/.exec(cli.stderr)[1];
        assert(said.length === 1 && said[0].includes(`导入${count}个信道。`),
          `${name}: the page said ${said.join(' | ')}, the command line ${cli.stderr}`);
        sameBytes(await ui.saveAs(`page-${path.basename(expected)}`), fs.readFileSync(expected), `${name} imported`);
      }
      // The CSV picker offers CSV files.
      const types = await page.evaluate(() => JSON.stringify(window.__qmHarness.openPickerOptions.types));
      assert(types.includes('.csv') && !types.includes('.q83'), `the import's picker offered ${types}`);
      await context.close();
    }],

    ['refuses a bad CSV with the desktop message and keeps the channels', async () => {
      const bad = 'Location,Name,Frequency\r\n1,A,abc\r\n2,B,12.5\r\n';
      fs.writeFileSync(rig.file('bad.csv'), bad);
      const cli = rig.cli(['import-csv', radioFile(), rig.file('bad.csv'), '-o', rig.file('never.q83')], {allowFail: true});
      assert(cli.status !== 0, 'the command line took the bad list');
      const {page, context} = await rig.openPage();
      const ui = new Ui(page);
      await ui.open('radio.q83', fs.readFileSync(radioFile()));
      const before = await ui.saveAs('before-bad.q83');
      // A start that is not a number is not taken: the dialog stays open.
      await offer(page, 'bad.csv', Buffer.from(bad));
      await ui.click('mnuFileImportCsv');
      await page.waitForSelector('#dlgImportCsv[open]', {timeout: 5000});
      await page.$eval('#txtFromLocation', (el) => (el.value = '7x'));
      await ui.click('dlgImportCsv_cmdOK');
      assert(await page.$eval('#dlgImportCsv', (d) => d.open), 'the dialog took the start "7x"');
      await page.$eval('#txtFromLocation', (el) => (el.value = ''));
      const said = await ui.command('dlgImportCsv_cmdOK');
      // The command line's lines: the notes, then "[QM830K] error (file)".
      const lines = cli.stderr.trim().split('\n');
      const error = lines[lines.length - 1].replace(/^\[QM830K\] /, '').replace(/ \(.*\)$/, '');
      const notes = lines.slice(0, -1);
      assert(said.length === 1 && said[0].startsWith(error) && notes.every((n) => said[0].includes(n)),
        `the page said "${said.join(' | ')}", the command line "${cli.stderr.trim()}"`);
      sameBytes(await ui.saveAs('after-bad.q83'), before, 'the document after the refused list');
      await context.close();
    }],

    ['exports the channels as the desktop does', async () => {
      rig.cli(['export-csv', radioFile(), rig.file('cli.csv')]);
      const {page, context} = await rig.openPage();
      const ui = new Ui(page);
      await ui.open('radio.q83', fs.readFileSync(radioFile()));
      await page.evaluate(() => {
        window.__qmHarness.saveAs = 'page.csv';
      });
      const said = await ui.command('mnuFileExportCsv');
      const saved = await page.evaluate(() => window.__qmHarness.saved['page.csv']);
      assert(saved !== undefined, `nothing exported: ${said.join(' | ')}`);
      sameBytes(Buffer.from(saved, 'base64'), fs.readFileSync(rig.file('cli.csv')), 'the exported list');
      const suggested = await page.evaluate(() => window.__qmHarness.savePickerOptions.suggestedName);
      assert(suggested === 'radio.csv', `the export suggested "${suggested}"`);
      assert(said.length === 1 && /导出\d+个信道。/.test(said[0]), `the export said ${said.join(' | ')}`);
      await context.close();
    }],

    ['copies rows 1-2 onto rows 5-6', async () => {
      const {page, context} = await rig.openPage();
      const ui = new Ui(page);
      await ui.open('radio.q83', fs.readFileSync(radioFile()));
      await catchClipboard(page);
      await heading(ui, 1);
      await heading(ui, 2, {shift: true});
      await page.focus('#gridChan');
      await page.keyboard.down('Control');
      await page.keyboard.press('KeyC');
      await page.keyboard.up('Control');
      await ui.idle();
      const clip = await page.evaluate(() => window.__clip);
      // The text form is the export's header and rows 1 and 2.
      rig.cli(['export-csv', radioFile(), rig.file('all.csv')]);
      const exported = fs.readFileSync(rig.file('all.csv'), 'utf8').split('\r\n');
      assert(clip === exported.slice(0, 3).join('\r\n') + '\r\n', `the clipboard got ${JSON.stringify(clip)}`);
      await heading(ui, 5);
      await heading(ui, 6, {shift: true});
      const chosen = await page.$$eval('#gridChan th.selected', (hs) => hs.map((h) => h.parentElement.rowIndex));
      assert(chosen.join() === '5,6', `rows ${chosen} chosen`);
      await page.$eval('#gridChan', (grid, t) => {
        const data = new DataTransfer();
        data.setData('text/plain', t);
        grid.dispatchEvent(new ClipboardEvent('paste', {clipboardData: data, bubbles: true}));
      }, clip);
      await ui.idle();
      const saved = await ui.saveAs('pasted.q83');
      // The same records as rows 1 and 2, as the window's paste of its own copy gives them:
      // what the text form of the data says for channels 5 and 6 is what it says for 1 and 2.
      rig.cli(['convert', radioFile(), rig.file('radio.toml')]);
      const toml = fs.readFileSync(rig.file('radio.toml'), 'utf8');
      fs.writeFileSync(rig.file('expected-paste.toml'), copyChannelsInToml(toml, [1, 2], [5, 6]));
      rig.cli(['convert', rig.file('expected-paste.toml'), rig.file('expected-paste.q83')]);
      sameBytes(saved, fs.readFileSync(rig.file('expected-paste.q83')), 'the file after the paste');
      await context.close();
    }],

    ['cuts and clears chosen rows, and chooses every row', async () => {
      const {page, context} = await rig.openPage();
      const ui = new Ui(page);
      await ui.open('radio.q83', fs.readFileSync(radioFile()));
      await catchClipboard(page);
      const key = async (k, ctrl = true) => {
        await page.focus('#gridChan');
        if (ctrl) await page.keyboard.down('Control');
        await page.keyboard.press(k);
        if (ctrl) await page.keyboard.up('Control');
        await ui.idle();
      };
      await key('KeyA');
      const all = await page.$$eval('#gridChan th.selected', (hs) => hs.length);
      assert(all === 16, `Ctrl+A chose ${all} rows`);
      await heading(ui, 5);
      await heading(ui, 6, {shift: true});
      await key('KeyX');
      const clip = await page.evaluate(() => window.__clip);
      rig.cli(['export-csv', radioFile(), rig.file('cut.csv')]);
      const exported = fs.readFileSync(rig.file('cut.csv'), 'utf8').split('\r\n');
      assert(clip === [exported[0], exported[5], exported[6]].join('\r\n') + '\r\n',
        `the cut put ${JSON.stringify(clip)} on the clipboard`);
      await heading(ui, 8);
      await key('Delete', false);
      // The three channels switched off and nothing else changed: the text form says so.
      rig.cli(['convert', radioFile(), rig.file('cut.toml')]);
      const toml = fs.readFileSync(rig.file('cut.toml'), 'utf8').split('\n[[channel]]\n')
        .map((b) => (/^channel = (5|6|8)$/m.test(b) ? b.replace(/^in_use = true$/m, 'in_use = false') : b))
        .join('\n[[channel]]\n');
      fs.writeFileSync(rig.file('expected-cut.toml'), toml);
      rig.cli(['convert', rig.file('expected-cut.toml'), rig.file('expected-cut.q83')]);
      sameBytes(await ui.saveAs('cut.q83'), fs.readFileSync(rig.file('expected-cut.q83')), 'the file after the cut and the clear');
      await context.close();
    }],

    ['applies a bulk edit as the command line does, and refuses what it refuses', async () => {
      const expected = rig.file('bulk.q83');
      rig.cli(['set', radioFile(), '--channels', '2-4', '--power', '低', '--rx-signal', 'DCS 023',
        '--fill-from', '446.00625', '--step', '12.5', '-o', expected]);
      const refused = rig.cli(['set', radioFile(), '--channels', '2-4', '--rx-signal', 'DCS 999',
        '-o', rig.file('never.q83')], {allowFail: true});
      assert(refused.status !== 0, 'the command line took "DCS 999"');
      const {page, context} = await rig.openPage();
      const ui = new Ui(page);
      await ui.open('radio.q83', fs.readFileSync(radioFile()));
      await heading(ui, 2);
      await heading(ui, 4, {shift: true});
      await ui.click('mnuEditBulk');
      await page.waitForSelector('#dlgBulkEdit[open]', {timeout: 5000});
      const named = await ui.text('lblBulkChannels');
      assert(named.includes('2-4'), `the dialog names "${named}"`);
      const set = (id, value) => page.$eval(`#${id}`, (el, v) => {
        if (el.type === 'checkbox') el.checked = v;
        else if (el.tagName === 'SELECT') el.selectedIndex = v;
        else el.value = v;
        el.dispatchEvent(new Event(el.type === 'checkbox' || el.tagName === 'SELECT' ? 'change' : 'input', {bubbles: true}));
      }, value);
      await set('chkBulkPower', true);
      await set('cboBulkPower', 1);
      await set('chkBulkRxSignal', true);
      await set('txtBulkRxSignal', 'DCS 999');
      await set('chkBulkFill', true);
      await set('txtBulkFillFrom', '446.00625');
      const said = await ui.command('dlgBulkEdit_cmdOK');
      const cliSaid = refused.stderr.trim();
      assert(said.length === 1 && cliSaid.includes(said[0].split('\n')[0]),
        `the page said "${said.join(' | ')}", the command line "${cliSaid}"`);
      assert(await page.$eval('#dlgBulkEdit', (d) => d.open), 'the dialog closed on a refused value');
      assert(await page.$eval('#txtBulkRxSignal', (el) => el.classList.contains('marked')), 'the refused field is not marked');
      await set('txtBulkRxSignal', 'DCS 023');
      const done = await ui.command('dlgBulkEdit_cmdOK');
      assert(!(await page.$eval('#dlgBulkEdit', (d) => d.open)), `the dialog stayed open: ${done.join(' | ')}`);
      sameBytes(await ui.saveAs('page-bulk.q83'), fs.readFileSync(expected), 'the file after the bulk edit');
      await context.close();
    }],
  ];
}

// The text form with the channel tables `to` made copies of the tables `from`.
function copyChannelsInToml(toml, from, to) {
  const mark = '\n[[channel]]\n';
  const [head, ...blocks] = toml.split(mark);
  // Each block: its own lines up to the next table header, then whatever follows.
  const parsed = blocks.map((b) => {
    const end = b.search(/^\[/m);
    const body = end < 0 ? b : b.slice(0, end);
    return {body, rest: b.slice(body.length), n: Number(/^channel = (\d+)$/m.exec(body)[1])};
  });
  const byNumber = new Map(parsed.map((p) => [p.n, p]));
  from.forEach((f, k) => {
    byNumber.get(to[k]).body = byNumber.get(f).body.replace(/^channel = \d+$/m, `channel = ${to[k]}`);
  });
  return [head, ...parsed.map((p) => p.body + p.rest)].join(mark);
}
