// Tune mode in the page against the paced simulator, beside the desktop command line doing
// the same on a second radio: the tune channel table edited and written, one item adjusted a
// few steps and stored, tune mode left; both radios must then hold the same bytes. The tune
// report printed meanwhile must carry the texts of the desktop's tune report.
import fs from 'node:fs';
import path from 'node:path';
import {spawnSync} from 'node:child_process';
import {assert, sameBytes} from './rig.mjs';
import {Ui} from './ui.mjs';

const item = 'SqlOpen';
const steps = 3;

// The texts of a PDF page by page, without their spacing (the report places each text
// itself, so the extraction's gaps mean nothing).
function pdfPages(file) {
  const r = spawnSync('pdftotext', ['-enc', 'UTF-8', file, '-'], {encoding: 'utf8'});
  if (r.status !== 0) throw new Error(`pdftotext ${file}: ${r.stderr}`);
  return r.stdout.split('\f').filter((p) => p.trim()).map((p) => p.replace(/\s+/g, ''));
}

// The item's stored value as the desktop's tune-show prints it.
function storedValue(rig) {
  const line = rig.cli(['tune-show', '--device', rig.link]).stdout.split('\n')
    .find((l) => l.startsWith(item + ' '));
  assert(line, `tune-show printed no line for ${item}`);
  return Number(line.trim().split(/\s+/)[1]);
}

export function tuneChecks(rig, model, radioFile, figures) {
  return [
    ['tunes an item and writes the tune table as the command line does; prints the tune report', async () => {
      // The desktop's edit: tune channel 1 switched on, through the data file's text form.
      const radio = radioFile();
      rig.cli(['convert', radio, rig.file('tune.toml')]);
      const toml = fs.readFileSync(rig.file('tune.toml'), 'utf8');
      const first = toml.indexOf('[[tune_channel]]');
      const edited = toml.slice(0, first) + toml.slice(first).replace(/\bin_use = false/, 'in_use = true');
      assert(edited !== toml, 'the text form has no switched-off tune channel to switch on');
      fs.writeFileSync(rig.file('tune-on.toml'), edited);
      rig.cli(['convert', rig.file('tune-on.toml'), rig.file('tune-on.q83')]);

      await rig.startSim([...model, '--load', radio]);
      const value = Math.min(storedValue(rig) + steps, 255);
      rig.cli(['tune-write', rig.file('tune-on.q83'), '--yes', '--device', rig.link]);
      rig.cli(['tune-adjust', '--item', item, '--channel', '1', '--value', String(value), '--store',
        '--yes', '--device', rig.link]);
      const byCli = await rig.stopSim();

      await rig.startSim(['--pace', ...model, '--load', radio]);
      const {page, context} = await rig.openPage();
      const ui = new Ui(page);
      // The report names the selected model: the page selects the radio's, as the desktop's
      // print of the file does.
      await ui.open('radio.q83', fs.readFileSync(radio));
      const t0 = performance.now();
      const entered = await ui.command('mnuTune');
      assert(await page.$eval('#tuneView', (el) => !el.hidden), `no tune view: ${entered.join(' | ')}`);
      assert(await page.$eval('#fraChannel', (el) => el.hidden), 'the channel grid stays in the tune view');
      await ui.click('chkTuneCH_0');
      await ui.idle();
      await ui.click('optTestCh_0');
      await ui.idle();
      if (rig.out) await page.screenshot({path: path.join(rig.out, 'tune-table.png')});
      const written = await ui.command('cmdSaveTnFq');
      assert(written.some((m) => m.includes('写入数据完成')), `the table write said: ${written.join(' | ')}`);

      // The tune report of the table the page shows, beside the desktop's of the same data.
      await page.evaluate(() => {
        window.print = () => (window.__printed = (window.__printed || 0) + 1);
      });
      await ui.command('mnuFilePrint');
      const sheets = await page.$$eval('#printArea .sheet', (ss) => ss.map((s) =>
        [...s.querySelectorAll('.text')].map((t) => t.textContent.replace(/\s+/g, '')).filter(Boolean)));
      assert(await page.evaluate(() => window.__printed) === 1, 'the browser was not asked to print');
      rig.cli(['print', rig.file('tune-on.q83'), '--pdf', rig.file('tune.pdf'), '--tune', '--tune-channel', '1']);
      const desktop = pdfPages(rig.file('tune.pdf'));
      assert(sheets.length === desktop.length, `${sheets.length} pages printed, the desktop prints ${desktop.length}`);
      sheets.forEach((texts, p) => {
        const missing = texts.filter((t) => !desktop[p].includes(t));
        assert(texts.length > 20 && missing.length === 0,
          `page ${p + 1}: ${texts.length} texts, not in the desktop's report: ${missing.slice(0, 5).join(', ')}`);
      });

      // The item, three steps up by the keyboard, stored.
      await ui.click(`TreeView2_${item}`);
      await ui.idle();
      assert(await page.$eval('#fraTune', (el) => !el.hidden), 'no item panel');
      await page.focus('#hsbTune');
      for (let k = 0; k < steps; k++) await page.keyboard.press('ArrowRight');
      await ui.idle();
      const shown = await ui.text('lblTuneVal');
      if (rig.out) await page.screenshot({path: path.join(rig.out, 'tune-item.png')});
      assert(Number(shown) === value, `the item shows ${shown} after ${steps} steps, the desktop stores ${value}`);
      await ui.command('fraTune_cmdOK');
      const left = await ui.command('mnuChannel');
      figures.tune = {page: (performance.now() - t0) / 1000};
      assert(await page.$eval('#fraChannel', (el) => !el.hidden), `the channel view is not back: ${left.join(' | ')}`);
      const byPage = await rig.stopSim();
      sameBytes(byPage, byCli, 'the radio after the page tuned it');
      await context.close();
    }],
  ];
}
