// The page driven as a user drives it: by the controls' names (the window's control names
// are the elements' ids), answering each message box as it comes.
import {sleep} from './rig.mjs';

export class Ui {
  constructor(page, harnessState) {
    this.page = page;
    this.messages = [];  // every message box text, in order
    this.warnings = [];  // every warning dialog text, in order
  }

  async click(id) {
    await this.page.waitForSelector(`#${id}`, {timeout: 5000});
    await this.page.$eval(`#${id}`, (el) => el.click());
  }

  async text(id) {
    return this.page.$eval(`#${id}`, (el) => (el.value !== undefined && el.tagName !== 'BUTTON' ? el.value : el.textContent).trim());
  }

  async promptOpen() {
    return this.page.evaluate(() => {
      const d = document.getElementById('dlgPrompt');
      return !!(d && d.open);
    });
  }

  // Answers the open message box with the first of the buttons given that it shows; returns
  // its text.
  async answer(buttons = ['cmdPromptOK', 'cmdPromptYes']) {
    const said = await this.page.evaluate((wanted) => {
      const d = document.getElementById('dlgPrompt');
      if (!d || !d.open) return null;
      const text = document.getElementById('lblPrompt').textContent.trim();
      for (const id of wanted) {
        const b = document.getElementById(id);
        if (b && !b.hidden && b.offsetParent !== null) {
          b.click();
          return text;
        }
      }
      return {stuck: text};
    }, buttons);
    if (said && said.stuck !== undefined) throw new Error(`no button of ${buttons} in the message "${said.stuck}"`);
    if (said !== null) this.messages.push(said);
    return said;
  }

  // Runs a command and answers its message boxes (each by the answer the callback picks for
  // its text, OK/Yes by default) until the page is idle again; returns the texts.
  async command(id, {pick = () => ['cmdPromptOK', 'cmdPromptYes'], warning = {ok: true, tick: false}, timeoutMs = 60000} = {}) {
    const first = this.messages.length;
    await this.click(id);
    const until = Date.now() + timeoutMs;
    for (;;) {
      const left = until - Date.now();
      if (left <= 0) throw new Error(`${id}: not done after ${timeoutMs} ms`);
      // Woken by the page's own changes rather than by asking it every few milliseconds,
      // which would take the page's time while it talks to the radio.
      await this.page.waitForFunction(() => {
        const open = (d) => !!(document.getElementById(d) && document.getElementById(d).open);
        return open('dlgPrompt') || open('dlgWarn') || !document.body.classList.contains('busy');
      }, {polling: 'mutation', timeout: left}).catch(() => {});
      if (await this.promptOpen()) {
        const text = await this.page.$eval('#lblPrompt', (el) => el.textContent.trim());
        await this.answer(pick(text));
        continue;
      }
      const warned = await this.page.evaluate(({ok, tick}) => {
        const d = document.getElementById('dlgWarn');
        if (!d || !d.open) return null;
        document.getElementById('chkWarning').checked = tick;
        document.getElementById(ok ? 'OKButton' : 'CancelButton').click();
        return document.getElementById('lblWarning').textContent.trim();
      }, warning);
      if (warned !== null) {
        this.warnings.push(warned);
        continue;
      }
      if (!(await this.busy())) {
        await sleep(50);
        if (!(await this.promptOpen()) && !(await this.busy())) break;
      }
    }
    return this.messages.slice(first);
  }

  // command(), timed by the page's own clock from the click to the message box that says
  // `text` (null when none did): the harness's round trips to the browser are not the
  // command's time.
  async timedCommand(id, text, options) {
    await this.page.evaluate((id, text) => {
      const t = (window.__timed = {});
      document.getElementById(id).addEventListener('click', () => (t.start = performance.now()),
        {capture: true, once: true});
      const box = document.getElementById('dlgPrompt');
      const seen = new MutationObserver(() => {
        if (box.open && document.getElementById('lblPrompt').textContent.includes(text)) {
          t.end = performance.now();
          seen.disconnect();
        }
      });
      seen.observe(box, {attributes: true, attributeFilter: ['open']});
    }, id, text);
    const messages = await this.command(id, options);
    const t = await this.page.evaluate(() => window.__timed);
    return {messages, seconds: t.end === undefined ? null : (t.end - t.start) / 1000};
  }

  // A press on a grid cell, as the mouse gives it.
  async press(row, col) {
    await this.page.$eval(`#gridChan_${row}_${col}`, (el) =>
      el.dispatchEvent(new MouseEvent('mousedown', {bubbles: true, button: 0})));
    await this.idle();
  }

  // Waits until no command runs and no message box waits; answers none.
  async idle(timeoutMs = 10000) {
    const until = Date.now() + timeoutMs;
    while (await this.busy()) {
      if (await this.promptOpen()) {
        const text = await this.page.$eval('#lblPrompt', (el) => el.textContent.trim());
        throw new Error(`unexpected message: ${text}`);
      }
      if (Date.now() > until) throw new Error('the page stays busy');
      await sleep(20);
    }
  }

  async busy() {
    return this.page.evaluate(() => document.body.classList.contains('busy'));
  }

  // Hands the page a file for its next Open (through the stand-in picker) and opens it.
  async open(name, bytes, options) {
    await this.page.evaluate((n, b) => window.__qmHarness.open.push({name: n, base64: b}),
      name, Buffer.from(bytes).toString('base64'));
    return this.command('mnuFileOpen', options);
  }

  // Save As under a name; returns the bytes the page wrote.
  async saveAs(name, options) {
    await this.page.evaluate((n) => {
      window.__qmHarness.saveAs = n;
      delete window.__qmHarness.saved[n];
    }, name);
    const said = await this.command('mnuFileSaveAs', options);
    const b64 = await this.page.evaluate((n) => window.__qmHarness.saved[n], name);
    if (b64 === undefined) throw new Error(`nothing saved as ${name}; messages: ${said.join(' | ')}`);
    return Buffer.from(b64, 'base64');
  }
}
