// What the browser tests stand on: the site served on 127.0.0.1, the simulator on a pty
// behind the WebSocket bridge, the desktop command line for the bytes to compare with, and
// headless Chromium driven through puppeteer-core with the navigator.serial stand-in.
import {spawn, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import puppeteer from 'puppeteer-core';
import {startBridge} from './bridge.mjs';
import {serve} from '../serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const standIn = fs.readFileSync(path.join(here, 'serial-standin.js'), 'utf8');

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

export class Rig {
  constructor({site, cli, sim, out}) {
    this.site = site;
    this.cliPath = cli;
    this.simPath = sim;
    this.out = out;
    this.work = fs.mkdtempSync(path.join(os.tmpdir(), 'qm830k-web-'));
    this.link = path.join(this.work, 'radio');
    this.sim = null;
    this.consoleErrors = [];
  }

  async start() {
    ({url: this.url, server: this.server} = await serve({root: this.site}));
    this.browser = await puppeteer.launch({
      executablePath: process.env.QM_CHROMIUM || '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--lang=zh-CN'],
      userDataDir: fs.mkdtempSync(path.join(this.work, 'profile-')),
    });
  }

  async stop() {
    await this.stopSim();
    if (this.bridge) await this.bridge.close();
    if (this.browser) await this.browser.close();
    if (this.server) this.server.close();
    fs.rmSync(this.work, {recursive: true, force: true});
  }

  file(name) {
    return path.join(this.work, name);
  }

  // The desktop command line; throws with its messages when it fails, unless allowFail.
  cli(args, {allowFail = false} = {}) {
    const r = spawnSync(this.cliPath, ['--ini', this.file('program.ini'), ...args],
      {encoding: 'utf8', env: {...process.env, QM830K_LANG: 'zh'}});
    if (r.status !== 0 && !allowFail) {
      throw new Error(`qm830k-cli ${args.join(' ')} exited ${r.status}: ${r.stderr}`);
    }
    return r;
  }

  // The image inside a data file, as the desktop reads it.
  image(file) {
    const rows = this.cli(['dump', file]).stdout.trim().split('\n');
    return Buffer.from(rows.map((r) => r.slice(5).trim().split(/\s+/).join('')).join(''), 'hex');
  }

  async startSim(options = []) {
    await this.stopSim();
    fs.rmSync(this.link, {force: true});
    this.simDump = this.file(`sim-${Date.now()}.bin`);
    this.sim = spawn(this.simPath, ['--link', this.link, '--dump', this.simDump,
      '--log', this.file('sim.log'), ...options], {stdio: ['ignore', 'pipe', 'pipe']});
    let said = '';
    this.sim.stderr.on('data', (d) => (said += d));
    for (let i = 0; i < 200 && !fs.existsSync(this.link); i++) await sleep(20);
    if (!fs.existsSync(this.link)) throw new Error(`the simulator did not start: ${said}`);
    if (!this.bridge) this.bridge = await startBridge({link: this.link});
    this.bridge.reset();
  }

  // Stops the simulator and returns the memory it held at the end.
  async stopSim() {
    if (!this.sim) return null;
    const sim = this.sim;
    this.sim = null;
    const exited = new Promise((r) => sim.once('exit', r));
    sim.kill('SIGTERM');
    await exited;
    return fs.existsSync(this.simDump) ? fs.readFileSync(this.simDump) : null;
  }

  // A fresh page with the stand-ins, the site loaded and the core ready (with granted, the
  // port chosen on an earlier visit, as a technician's everyday page has it); returns
  // {page, loadMs}. Every console error and uncaught exception is kept for the last check.
  async openPage({lang, granted = false} = {}) {
    const context = await this.browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({width: 1280, height: 860});
    page.on('console', (m) => {
      if (m.type() === 'error') this.consoleErrors.push(m.text());
    });
    page.on('pageerror', (e) => this.consoleErrors.push(String(e)));
    await page.evaluateOnNewDocument(
      (bridge, warm, granted) => {
        window.__qmHarness = {bridge, warm, granted};
      },
      this.bridge ? this.bridge.url : 'ws://127.0.0.1:9', !!this.bridge, granted);
    await page.evaluateOnNewDocument(standIn);
    const started = Date.now();
    await page.goto(this.url + (lang ? `?lang=${lang}` : ''), {waitUntil: 'load'});
    await page.evaluate(() => window.qmReady);
    return {page, context, loadMs: Date.now() - started};
  }
}

// Each check is a named async function; a failing one is reported and the others still run.
export async function runChecks(checks, only) {
  let failed = 0;
  for (const [name, fn] of checks) {
    if (only && !only.some((o) => name.includes(o))) continue;
    const t0 = Date.now();
    try {
      await fn();
      console.log(`ok   ${name} (${((Date.now() - t0) / 1000).toFixed(1)} s)`);
    } catch (e) {
      failed += 1;
      console.log(`FAIL ${name}: ${e && e.stack ? e.stack : e}`);
    }
  }
  return failed;
}

export function assert(condition, message) {
  if (!condition) throw new Error(message);
}

// Kept where the test writes its pictures, so a difference can be looked at.
let keptPairs = 0;
export function sameBytes(a, b, what, out = process.env.QM_WEB_KEEP) {
  if (out && Buffer.compare(Buffer.from(a), Buffer.from(b)) !== 0) {
    keptPairs += 1;
    fs.mkdirSync(out, {recursive: true});
    fs.writeFileSync(path.join(out, `diff${keptPairs}-got`), a);
    fs.writeFileSync(path.join(out, `diff${keptPairs}-expected`), b);
  }
  if (a.length !== b.length) throw new Error(`${what}: ${a.length} bytes, expected ${b.length}`);
  for (let i = 0; i < a.length; i++) {
    if (a[i] !== b[i]) {
      throw new Error(`${what}: byte 0x${i.toString(16)} is 0x${a[i].toString(16)}, expected 0x${b[i].toString(16)}`);
    }
  }
}

export function run(cmd, args) {
  const r = spawnSync(cmd, args, {encoding: 'utf8'});
  if (r.status !== 0) throw new Error(`${cmd} ${args.join(' ')}: ${r.stderr}`);
  return r.stdout;
}
