// The page: the main window's content rendered from the core's session (src/web/session.cpp)
// and the user's clicks and keys sent back to it. Texts, rules and limits all come from the
// core; the page's own words (menus, buttons) are the desktop window's, translated through
// the same translation file.
import { Host, QmModule, QmSession } from "./host";
import { ask, closeMenus, label, progress, refreshTexts, showModelDialog, showSignalDialog, warn } from "./dialogs";
import { listEditItems, listFileItems, wireLists } from "./lists";
import { installTune, renderTune, tuneView } from "./tune";

declare const createQm: (options?: object) => Promise<QmModule>;

const kMainContext = "qm::ui::FrmMain";
const kLanguageKey = "qm830k.language";
const kIniKey = "qm830k.ini";
const kProgramIni = "/app/QM830K.ini";
const kWriteOptionsKey = "qm830k.writeOptions";

let mod: QmModule;
let s: QmSession;
let host: Host;
let running = false;
let current: Promise<void> = Promise.resolve();

const $ = (id: string) => document.getElementById(id) as HTMLElement;

// ---- actions ----
// One action at a time: the core queues it, qm_run runs it and may wait meanwhile for the
// user or the radio; the page renders when it is over.
export function act(queue: () => void): Promise<void> {
  if (running) return Promise.resolve();
  current = run(queue);
  return current;
}

// The signalling dialog's steps follow each other: OK after the check its list's blur began.
export function actAfter(queue: () => void): Promise<void> {
  return current.then(() => act(queue));
}

async function run(queue: () => void): Promise<void> {
  running = true;
  document.body.classList.add("busy");
  try {
    queue();
    await Promise.resolve(mod.ccall("qm_run", null, [], [], { async: true }));
  } finally {
    running = false;
    document.body.classList.remove("busy");
    keepIni();
    try {
      keepRecentFiles();
    } catch {
      // the browser's storage is full: the list keeps what it had
    }
    render();
  }
}

// The files of the recent list stay in the browser's storage, so the list opens them on the
// next visit too; files that left the list are dropped.
const kFilePrefix = "qm830k.file:";
function keepRecentFiles(): void {
  const keep = new Set<string>();
  for (let n = 1; n <= s.recentCount(); ++n) {
    const path = s.recentPath(n);
    if (!path) continue;
    keep.add(kFilePrefix + path);
    try {
      const bytes: Uint8Array = mod.FS.readFile(path);
      localStorage.setItem(kFilePrefix + path, bytes.reduce((t, b) => t + String.fromCharCode(b), ""));
    } catch {
      // not in this visit's files: kept from an earlier one, or gone
    }
  }
  for (let i = localStorage.length - 1; i >= 0; --i) {
    const key = localStorage.key(i);
    if (key && key.startsWith(kFilePrefix) && !keep.has(key)) localStorage.removeItem(key);
  }
}

function restoreRecentFiles(): void {
  for (let i = 0; i < localStorage.length; ++i) {
    const key = localStorage.key(i);
    if (!key || !key.startsWith(kFilePrefix)) continue;
    const path = key.slice(kFilePrefix.length);
    mod.FS.writeFile(path, Uint8Array.from(localStorage.getItem(key) ?? "", (c) => c.charCodeAt(0)));
  }
}

function keepIni(): void {
  try {
    localStorage.setItem(kIniKey, mod.FS.readFile(kProgramIni, { encoding: "binary" }).reduce(
      (t: string, b: number) => t + String.fromCharCode(b), ""));
  } catch {
    // nothing written yet
  }
}

function restoreIni(): void {
  const kept = localStorage.getItem(kIniKey);
  if (kept === null) return;
  mod.FS.mkdirTree("/app");
  mod.FS.writeFile(kProgramIni, Uint8Array.from(kept, (c) => c.charCodeAt(0)));
}

// ---- menus and toolbar ----
type Item = { id: string; text: string; context?: string; run?: () => void; enabled?: () => boolean; checked?: () => boolean } | "-";
type Menu = { id: string; text: string; items: Item[] };

function writeOptions(): { verify: boolean; backup: boolean } {
  try {
    return { verify: false, backup: false, ...JSON.parse(localStorage.getItem(kWriteOptionsKey) ?? "{}") };
  } catch {
    return { verify: false, backup: false };
  }
}
function toggleWriteOption(key: "verify" | "backup"): void {
  const o = writeOptions();
  o[key] = !o[key];
  localStorage.setItem(kWriteOptionsKey, JSON.stringify(o));
}

const serialOk = () => host.hasSerial();

// A radio command: the port granted before, or the browser's chooser first (it needs the
// click's own gesture, so it is asked here and not from inside the command); a port the
// user does not pick ends the command with a message and changes nothing.
async function radio(queue: () => void): Promise<void> {
  if (running) return;
  // With a port granted the command starts within the click, so the link opens while the
  // page redraws rather than after it.
  if (!host.hasPort() && !(await host.ensurePort())) {
    await ask(document.title, s.noPortText(), 2, 0);
    return;
  }
  return act(queue);
}

// The browser's port chooser (it needs the click's own gesture), then the cable check on the
// port granted.
async function choosePort(): Promise<void> {
  if (running) return;
  if (await host.choosePort()) await act(() => s.checkCable());
}

function menus(): Menu[] {
  return [
    { id: "mnuFile", text: "文件(&F)", items: [
      { id: "mnuFileNew", text: "新建(&N)", run: () => act(() => s.newFile()), enabled: () => s.canNew() },
      { id: "mnuFileOpen", text: "打开(&O)", run: () => act(() => s.open()), enabled: () => s.canReplace() },
      "-",
      { id: "mnuFileSave", text: "保存(&S)", run: () => act(() => s.saveFile(false)) },
      { id: "mnuFileSaveAs", text: "另存为(&A)", run: () => act(() => s.saveFile(true)) },
      ...listFileItems(),
      "-",
      { id: "mnuFilePrint", text: "打印(&P)", run: () => printReports() },
      "-",
      ...Array.from({ length: s.recentCount() }, (_, k) => k + 1).map((n) => ({ id: `mnuRecentFile_${n}`, text: "&RecentFile",
        run: () => act(() => s.openRecent(n)), enabled: () => s.canReplace() })),
    ] },
    { id: "mnuEdit", text: "编辑(&E)", items: [
      { id: "mnuEditUndo", text: "撤销(&U)", run: () => act(() => s.undo(true)), enabled: () => s.canUndo() },
      { id: "mnuEditRedo", text: "重做(&R)", run: () => act(() => s.undo(false)), enabled: () => s.canRedo() },
      ...listEditItems(),
    ] },
    { id: "mnuModel", text: "机型(&M)", items: [
      { id: "mnuRadioInfo", text: "机型信息(&M)", run: () => showModelDialog(s, (m) => act(() => s.changeModel(m))),
        enabled: () => s.canReplace() },
    ] },
    { id: "mnuOperate", text: "编程(&O)", items: [
      { id: "mnuRead", text: "读频(&R)", run: () => radio(() => s.read()), enabled: serialOk },
      { id: "mnuWrite", text: "写频(&W)", run: () => {
        const o = writeOptions();
        radio(() => s.write(o.verify, o.backup));
      }, enabled: serialOk },
      "-",
      { id: "mnuVerifyAfterWrite", text: "写频后校验", run: () => toggleWriteOption("verify"),
        checked: () => writeOptions().verify },
      { id: "mnuBackupBeforeWrite", text: "写频前备份", run: () => toggleWriteOption("backup"),
        checked: () => writeOptions().backup },
      "-",
      { id: "mnuTune", text: "调测(&T)", run: () => radio(() => s.tuneEnter()), enabled: serialOk,
        checked: () => tuneView().tuneChecked },
    ] },
    { id: "mnuOption", text: "设置窗口(&P)", items: [
      { id: "mnuChannel", text: "信道窗口(&C)", run: () => act(() => s.channelView()),
        checked: () => tuneView().channelChecked },
      "-",
      { id: "mnuRadio", text: "嵌入信息(&R)", run: () => showEmbed(), enabled: serialOk },
    ] },
    { id: "mnuComm_Port", text: "端口(&C)", items: [
      { id: "mnuPort", text: "选择端口(&P)", run: () => choosePort(), enabled: serialOk },
    ] },
    { id: "mnuLanguage", text: "", items: [
      { id: "mnuLangZh", text: "中文", run: () => setLanguage(false), checked: () => !s.english() },
      { id: "mnuLangEn", text: "English", run: () => setLanguage(true), checked: () => s.english() },
    ] },
  ];
}

const kToolbar: [string, string, () => void, () => boolean][] = [
  ["Open", "打开", () => act(() => s.open()), () => s.canReplace()],
  ["Save", "保存", () => act(() => s.saveFile(false)), () => true],
  ["Print", "打印", () => printReports(), () => true],
  ["Read", "读频", () => radio(() => s.read()), serialOk],
  ["COMport", "端口选择", () => choosePort(), serialOk],
  ["Write", "写频", () => { const o = writeOptions(); radio(() => s.write(o.verify, o.backup)); }, serialOk],
];

const contextOf = (id: string) =>
  id.startsWith("mnuVerify") || id.startsWith("mnuBackup") ? "qm::ui::TechnicianExtras"
  : id.startsWith("mnuEdit") ? "qm::ui::EditCommands" : kMainContext;

function buildMenus(): void {
  const bar = $("menuBar");
  bar.textContent = "";
  for (const m of menus()) {
    const menu = document.createElement("div");
    menu.className = "menu";
    const head = document.createElement("button");
    head.id = m.id;
    head.textContent = m.id === "mnuLanguage" ? (s.english() ? "语言/Language" : "语言/Language(L)") : label(s.tr(m.text, kMainContext));
    head.setAttribute("aria-haspopup", "true");
    head.onclick = (e) => {
      e.stopPropagation();
      const open = menu.classList.contains("open");
      closeMenus();
      if (!open) menu.classList.add("open");
    };
    head.onmouseenter = () => {
      if (bar.querySelector(".menu.open") && !menu.classList.contains("open")) {
        closeMenus();
        menu.classList.add("open");
      }
    };
    const items = document.createElement("div");
    items.className = "items";
    items.setAttribute("role", "menu");
    for (const it of m.items) {
      if (it === "-") {
        items.appendChild(document.createElement("hr"));
        continue;
      }
      const b = document.createElement("button");
      b.id = it.id;
      b.setAttribute("role", "menuitem");
      b.textContent = label(s.tr(it.text, it.context ?? contextOf(it.id)));
      b.onclick = (e) => {
        e.stopPropagation();
        closeMenus();
        it.run?.();
        render();
      };
      items.appendChild(b);
    }
    menu.append(head, items);
    bar.appendChild(menu);
  }
  const tb = $("tbToolBar");
  tb.textContent = "";
  for (const [key, text, run] of kToolbar) {
    const b = document.createElement("button");
    b.id = "tbToolBar_" + key;
    b.textContent = s.tr(text, kMainContext);
    b.title = b.textContent;
    b.onclick = () => run();
    tb.appendChild(b);
  }
}

function renderMenus(): void {
  for (const m of menus()) {
    for (const it of m.items) {
      if (it === "-") continue;
      const b = $(it.id) as HTMLButtonElement;
      b.disabled = it.enabled ? !it.enabled() : false;
      b.classList.toggle("checked", it.checked ? it.checked() : false);
      if (it.checked) b.setAttribute("aria-checked", String(it.checked()));
    }
  }
  for (let n = 1; n <= s.recentCount(); ++n) {
    const b = $(`mnuRecentFile_${n}`);
    const caption = s.recentCaption(n);
    b.hidden = caption === "";
    b.textContent = label(caption);
  }
  // The undo and redo items name their step, as the window's do.
  for (const [id, text, can, name] of [["mnuEditUndo", "撤销 %1(&U)", s.canUndo(), s.undoLabel()],
    ["mnuEditRedo", "重做 %1(&R)", s.canRedo(), s.redoLabel()]] as [string, string, boolean, string][]) {
    const plain = text.replace(" %1", "");
    $(id).textContent = label(can && name ? s.tr(text, "qm::ui::EditCommands").replace("%1", name) : s.tr(plain, "qm::ui::EditCommands"));
  }
  for (const [key, , , enabled] of kToolbar) ($("tbToolBar_" + key) as HTMLButtonElement).disabled = !enabled();
}

// ---- the channel grid ----
const kChecks = ["chkCH", "chkTx", "chkTxEqTx"];

function buildGrid(): void {
  const grid = $("gridChan") as HTMLTableElement;
  grid.textContent = "";
  const rows = s.gridRows(), cols = s.gridCols();
  for (let r = 0; r < rows; ++r) {
    const tr = grid.insertRow();
    for (let c = 0; c < cols; ++c) {
      const cell = document.createElement(r === 0 || c === 0 ? "th" : "td");
      if (r > 0 && c > 0) {
        cell.id = `gridChan_${r}_${c}`;
        cell.onmousedown = (e) => {
          e.preventDefault();
          pressCell(r, c);
        };
      } else if (r === 0) {
        cell.style.minWidth = `${Math.round(s.columnWidth(c) / 15) - 10}px`;
      }
      tr.appendChild(cell);
    }
    for (let k = 0; k < kChecks.length; ++k) {
      const cell = document.createElement(r === 0 ? "th" : "td");
      cell.className = "chk";
      if (r === 0) {
        cell.id = `lblCheck_${k}`;
      } else {
        const box = document.createElement("input");
        box.type = "checkbox";
        box.id = `${kChecks[k]}_${r - 1}`;
        box.onclick = (e) => {
          e.preventDefault();
          act(() => s.clickCheck(k, r - 1));
        };
        cell.appendChild(box);
      }
      tr.appendChild(cell);
    }
  }
  grid.onkeydown = (e) => {
    if (running || e.target !== grid) return;
    const code = e.key === "Enter" ? 13 : e.key === " " ? 32 : e.key.length === 1 ? e.key.charCodeAt(0) : 0;
    if (code === 13 || code === 32 || (code >= 48 && code <= 57)) {
      e.preventDefault();
      act(() => s.keyPress(code)).then(afterPress);
    }
  };
}

function pressCell(r: number, c: number): void {
  act(() => s.pressCell(r, c)).then(afterPress);
}

// A press may open the frequency editor (the grid shows it) or the signalling dialog.
function afterPress(): void {
  if (s.signalOpen()) {
    showSignalDialog(s, actAfter).then(afterPress);
    return;
  }
  if (s.editorVisible()) {
    const ed = $("txtChFreq") as HTMLInputElement;
    ed.focus();
    ed.setSelectionRange(s.editorSelStart(), s.editorSelStart() + s.editorSelLength());
  } else {
    $("gridChan").focus();
  }
}

function renderGrid(): void {
  const rows = s.gridRows(), cols = s.gridCols();
  const grid = $("gridChan") as HTMLTableElement;
  for (let c = 0; c < cols; ++c) grid.rows[0].cells[c].textContent = s.header(c);
  for (let k = 0; k < kChecks.length; ++k) $(`lblCheck_${k}`).textContent = s.checkLabel(k);
  for (let r = 1; r < rows; ++r) {
    grid.rows[r].cells[0].textContent = s.rowHeader(r);
    for (let c = 1; c < cols; ++c) {
      const cell = grid.rows[r].cells[c];
      cell.textContent = s.cellText(r, c);
      cell.style.color = s.cellTextColor(r, c);
      cell.style.background = s.cellBackground(r, c);
      cell.title = s.cellNote(r, c);
      cell.classList.toggle("cur", r === s.currentRow() && c === s.currentCol());
    }
    for (let k = 0; k < kChecks.length; ++k) {
      const box = $(`${kChecks[k]}_${r - 1}`) as HTMLInputElement;
      box.checked = s.check(k, r - 1);
      box.disabled = !s.checkEnabled(k, r - 1);
    }
  }
  const ed = $("txtChFreq") as HTMLInputElement;
  if (s.editorVisible()) {
    const cell = $(`gridChan_${s.editorRow()}_${s.editorCol()}`);
    ed.style.left = `${cell.offsetLeft}px`;
    ed.style.top = `${cell.offsetTop}px`;
    ed.style.width = `${cell.offsetWidth}px`;
    ed.style.height = `${cell.offsetHeight}px`;
    if (ed.value !== s.editorValue()) ed.value = s.editorValue();
    ed.hidden = false;
  } else {
    ed.hidden = true;
  }
}

function wireEditor(): void {
  const ed = $("txtChFreq") as HTMLInputElement;
  ed.addEventListener("keydown", (e) => {
    if (running) return;
    if (e.key === "Enter") {
      e.preventDefault();
      act(() => s.editorEnter()).then(afterPress);
    } else if (e.key === "Escape") {
      e.preventDefault();
      act(() => s.editorEscape()).then(afterPress);
    }
  });
  // Each typed character goes through the editor's filter: dropped, or replaced by the one
  // the editor takes for it.
  ed.addEventListener("beforeinput", (e) => {
    if (e.inputType !== "insertText" || !e.data) return;
    let out = "";
    for (const ch of e.data) {
      const k = s.editorKey(ch.codePointAt(0) ?? 0);
      if (k >= 0) out += String.fromCharCode(k);
    }
    if (out === e.data) return;
    e.preventDefault();
    if (out) ed.setRangeText(out, ed.selectionStart ?? 0, ed.selectionEnd ?? 0, "end");
    act(() => s.editorText(ed.value));
  });
  ed.addEventListener("input", () => act(() => s.editorText(ed.value)));
  ed.addEventListener("blur", () => {
    if (!ed.hidden && !running && s.editorVisible()) act(() => s.editorLostFocus());
  });
}

// ---- the radio-wide functions ----
// The labels' ids by Fn: the desktop's control names, the array Label1 numbered in the frame's
// order.
const labelIds: string[] = [];

function buildFunctions(): void {
  const host = $("functionColumns");
  host.textContent = "";
  const n = s.functionCount();
  let column: HTMLElement | null = null;
  let label1 = 0;
  for (let k = 0; k < n; ++k) {
    if (k % 4 === 0) {
      column = document.createElement("div");
      column.className = "fnColumn";
      host.appendChild(column);
    }
    const fn = s.functionAt(k);
    const lbl = document.createElement("label");
    const name = s.functionLabelControl(fn);
    lbl.id = labelIds[fn] = name === "Label1" ? `Label1_${label1++}` : name;
    const list = document.createElement("select");
    list.id = s.functionControl(fn);
    lbl.htmlFor = list.id;
    list.onchange = () => act(() => s.chooseFunction(fn, list.selectedIndex));
    column!.append(lbl, list);
  }
}

function renderFunctions(): void {
  const n = s.functionCount();
  for (let k = 0; k < n; ++k) {
    const fn = s.functionAt(k);
    const list = $(s.functionControl(fn)) as HTMLSelectElement;
    $(labelIds[fn]).textContent = s.functionLabel(fn);
    const count = s.functionItemCount(fn);
    const items: string[] = [];
    for (let i = 0; i < count; ++i) items.push(s.functionItem(fn, i));
    if (list.dataset.items !== items.join("\n")) {
      list.textContent = "";
      for (const t of items) list.add(new Option(t));
      list.dataset.items = items.join("\n");
    }
    list.selectedIndex = s.functionPosition(fn);
    list.classList.toggle("rejected", s.functionRejected(fn));
    list.title = s.functionRejected(fn) ? s.tr("读入的值无效，请重新选择", "qm::ui::FunctionPanel") : "";
  }
}

// ---- the embedded information ----
async function showEmbed(): Promise<void> {
  await act(() => s.embedOpen());
  const dlg = $("frmEmbed") as HTMLDialogElement;
  const box = $("rtxtbEmbed") as HTMLTextAreaElement;
  const ctx = "qm::ui::FrmEmbed";
  const t = (text: string) => label(s.tr(text, ctx));
  $("frmEmbedTitle").textContent = t("嵌入信息");
  $("fraEmbedCaption").textContent = t("用户自定义信息");
  $("Label1").textContent = t("对讲机ID：");
  $("lblDate").textContent = t("最近写频日期：");
  const buttons: [string, string][] = [["cmdReadInfo", "读取(&R)"], ["cmdWriteInfo", "写入(&W)"],
    ["frmEmbed_cmdOK", "关闭(&C)"], ["frmEmbed_cmdCancel", "取消"]];
  for (const [id, text] of buttons) $(id).textContent = t(text);
  const show = () => {
    box.value = s.embedText();
    $("lblRadioID").textContent = s.embedRadioId();
    $("lblLastTime").textContent = s.embedLastTime();
  };
  show();
  // Each edit goes through the area's length rule; a refused character comes back out.
  box.oninput = () => {
    const caret = box.selectionStart ?? box.value.length;
    act(() => s.embedEdit(box.value, caret)).then(() => {
      if (box.value !== s.embedText()) {
        box.value = s.embedText();
        box.setSelectionRange(s.embedCaret(), s.embedCaret());
      }
    });
  };
  $("cmdReadInfo").onclick = () => radio(() => s.embedRead()).then(show);
  $("cmdWriteInfo").onclick = () => radio(() => s.embedWrite()).then(show);
  const close = (keep: boolean) => {
    s.embedClose(keep);
    dlg.close();
    render();
  };
  $("frmEmbed_cmdOK").onclick = () => close(true);
  $("frmEmbed_cmdCancel").onclick = () => close(false);
  dlg.oncancel = (e) => {
    e.preventDefault();
    close(false);
  };
  dlg.showModal();
  box.focus();
  box.select();
}

// ---- print ----
// The core lays the reports out as pages of positioned texts in twips (20 to the point); the
// page places them as the window's painter does and hands them to the browser's print.
async function printReports(): Promise<void> {
  await act(() => s.print());
  const area = $("printArea");
  area.textContent = "";
  const pt = (twips: number) => `${twips / 20}pt`;
  for (const page of JSON.parse(s.reportPages()) as { w: number; h: number; e: [number, number, number, string, boolean, number][] }[]) {
    const sheet = document.createElement("div");
    sheet.className = "sheet";
    sheet.style.width = pt(page.w);
    sheet.style.height = pt(page.h);
    for (const [kind, x, y, text, right, x2] of page.e) {
      const el = document.createElement("div");
      if (kind === 2) {
        el.className = "rule";
        el.style.left = pt(x);
        el.style.width = pt(x2 - x);
        el.style.top = pt(y);
      } else {
        el.className = "text";
        el.textContent = text;
        el.style.top = pt(y);
        if (right) el.style.right = pt(page.w - x);
        else el.style.left = pt(x);
      }
      sheet.appendChild(el);
    }
    area.appendChild(sheet);
  }
  window.print();
}

// ---- the whole window ----
// Only while no action runs: a query made while one waits would be answered only once it is
// over (the module hands every call made meanwhile a promise).
export function render(): void {
  if (running) return;
  refreshTexts(s);
  document.title = s.caption();
  document.documentElement.lang = s.english() ? "en" : "zh-CN";
  $("fraChannelCaption").textContent = s.tr("信道设置", kMainContext);
  $("frmScanCaption").textContent = s.tr("整机功能", "qm::ui::FunctionPanel");
  $("lblRadioCaption").textContent = s.tr("机型：", kMainContext);
  $("lblFreqRangeCaption").textContent = s.tr("频率范围：", kMainContext);
  $("lblRadio").textContent = s.modelName(s.labelModel());
  $("lblFreqRange").textContent = s.modelBand(s.labelModel());
  $("sbPanel_2").textContent = s.statusBand();
  $("sbPanel_3").textContent = host.hasSerial() ? s.statusPort() : "";
  const noSerial = $("lblNoSerial");
  noSerial.hidden = host.hasSerial();
  noSerial.textContent = s.noSerialText();
  renderMenus();
  renderGrid();
  renderFunctions();
  renderTune();
}

function setLanguage(english: boolean): void {
  s.setEnglish(english);
  localStorage.setItem(kLanguageKey, english ? "en" : "zh");
  buildMenus();
  render();
}

function tick(): void {
  const now = new Date();
  const two = (n: number) => String(n).padStart(2, "0");
  $("sbPanel_4").textContent = `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
  $("sbPanel_5").textContent = `${two(now.getHours())}:${two(now.getMinutes())}:${two(now.getSeconds())}`;
}

async function start(): Promise<void> {
  const [m, translations] = await Promise.all([
    createQm(),
    fetch("qm830k_en.json").then((r) => r.text()),
  ]);
  mod = m;
  host = new Host(mod, { ask, warn, progress });
  mod.qmHost = host;
  restoreIni();
  restoreRecentFiles();
  s = mod.session();
  s.loadTranslations(translations);
  s.setEnglish(localStorage.getItem(kLanguageKey) === "en");
  buildMenus();
  buildGrid();
  wireLists(s, act, actAfter, () => running);
  wireEditor();
  buildFunctions();
  installTune({ s, act, actAfter, busy: () => running });
  document.addEventListener("click", () => closeMenus());
  // The window's shortcuts; the row keys stay the grid's own.
  document.addEventListener("keydown", (e) => {
    if (running || !(e.ctrlKey || e.metaKey) || document.querySelector("dialog[open]")) return;
    const item = ({ p: "mnuFilePrint", n: "mnuFileNew", o: "mnuFileOpen", s: "mnuFileSave", r: "mnuRead", w: "mnuWrite", z: "mnuEditUndo", y: "mnuEditRedo" } as Record<string, string>)[e.key.toLowerCase()];
    if (!item) return;
    e.preventDefault();
    const b = $(item) as HTMLButtonElement;
    if (!b.disabled) b.click();
  });
  // Cancel is pressed while the read waits: straight to the module's export, since the
  // module's callers (the bound session, ccall) answer only once the waiting action is over.
  $("cmdCancel").onclick = () => mod._qm_cancel_progress();
  await host.restorePort();
  render();
  tick();
  setInterval(tick, 1000);
  if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
  (window as any).qmSession = s;
}

(window as any).qmReady = start();
