// The channel lists and the row commands: CSV import and export (File menu), copy, paste and
// the bulk edit of chosen rows (Edit menu), and the row headings' selection they work on.
// The session does the work and says everything; this picks files, keeps the selection as
// the window's grid keeps it and shows the two small dialogs.
import type { QmSession } from "./host";
import { label, showSignalDialog } from "./dialogs";

type Act = (queue: () => void) => Promise<void>;
export type ListItem = { id: string; text: string; context: string; run: () => void } | "-";

const kExtras = "qm::ui::TechnicianExtras";
const kEdit = "qm::ui::EditCommands";
const kBulk = "qm::ui::DlgBulkEdit";
const kChannels = 16;

const $ = (id: string) => document.getElementById(id) as HTMLElement;
const box = (id: string) => $(id) as HTMLInputElement;

let s: QmSession;
let act: Act;
let actAfter: Act;

// ---- the row selection, as the window's grid keeps it ----
// A press on a row heading chooses that row, Shift+press the rows from the last plain press,
// Ctrl+press adds a row or takes a chosen one out; a press on a cell chooses none.
let selected = new Set<number>();
let anchor = 0;

function showSelection(): void {
  const grid = $("gridChan") as HTMLTableElement;
  for (let r = 1; r <= kChannels && r < grid.rows.length; ++r) {
    const head = grid.rows[r].cells[0];
    head.classList.toggle("selected", selected.has(r - 1));
    head.setAttribute("aria-selected", String(selected.has(r - 1)));
  }
}

function pressHeading(row: number, shift: boolean, ctrl: boolean): void {
  const ch = row - 1;
  if (shift) {
    const base = ctrl ? selected : new Set<number>();
    for (let k = Math.min(anchor, ch); k <= Math.max(anchor, ch); ++k) base.add(k);
    selected = base;
  } else {
    anchor = ch;
    if (ctrl && selected.has(ch)) {
      selected.delete(ch);
      showSelection();
      return;
    }
    if (!ctrl) selected = new Set<number>();
    selected.add(ch);
  }
  showSelection();
  act(() => s.selectRow(row));
}

// The chosen channels as the session takes them ("0,1,5"; empty: the current cell's row).
const rows = () => [...selected].sort((a, b) => a - b).join(",");

// ---- CSV ----
// The file first, then the choices; a start that is not a whole number keeps the dialog open.
async function importCsv(): Promise<void> {
  await act(() => s.csvPick());
  if (!s.csvPicked()) return;
  const dlg = $("dlgImportCsv") as HTMLDialogElement;
  const t = (text: string) => label(s.tr(text, kExtras));
  $("dlgImportCsvTitle").textContent = t("导入CSV");
  $("lblFromLocation").textContent = t("起始Location:");
  $("lblClearRest").textContent = t("其余信道关闭");
  $("dlgImportCsv_cmdOK").textContent = t("确定(&O)");
  $("dlgImportCsv_cmdCancel").textContent = t("取消(&C)");
  const from = box("txtFromLocation");
  from.placeholder = t("第一行");
  const choice = await new Promise<{ from: string; clearRest: boolean } | null>((resolve) => {
    const done = (value: { from: string; clearRest: boolean } | null) => {
      dlg.close();
      resolve(value);
    };
    $("dlgImportCsv_cmdOK").onclick = () => {
      if (s.csvChoiceOk(from.value)) done({ from: from.value, clearRest: box("chkClearRest").checked });
      else from.select();
    };
    $("dlgImportCsv_cmdCancel").onclick = () => done(null);
    dlg.oncancel = (e) => {
      e.preventDefault();
      done(null);
    };
    dlg.showModal();
    from.focus();
  });
  if (choice) await act(() => s.csvImport(choice.from, choice.clearRest));
}

// ---- copy and paste ----
// The text form goes to the browser's clipboard where the page may write it; the session
// keeps both forms as the page's own clipboard.
async function toBrowserClipboard(): Promise<void> {
  try {
    await navigator.clipboard.writeText(s.copiedText());
  } catch {
    // not permitted here: the page's own clipboard still has it
  }
}

async function copy(): Promise<void> {
  await act(() => s.copyRows(rows()));
  await toBrowserClipboard();
}

// 剪切 copies, then switches the rows off; 清除 only switches them off. Both need chosen rows.
async function cut(): Promise<void> {
  if (!selected.size) return;
  await act(() => s.switchOffRows(rows(), true));
  await toBrowserClipboard();
}
const clear = () => (selected.size ? act(() => s.switchOffRows(rows(), false)) : Promise.resolve());
function selectAll(): void {
  selected = new Set(Array.from({ length: kChannels }, (_, k) => k));
  showSelection();
}

function pasteText(text: string): Promise<void> {
  return act(() => s.pasteRows(rows(), text, true));
}

// The menu's paste reads the browser's clipboard where it may, else the page's own.
async function pasteFromMenu(): Promise<void> {
  let text: string | null = null;
  try {
    text = await navigator.clipboard.readText();
  } catch {
    text = null;
  }
  if (text === null) await act(() => s.pasteRows(rows(), "", false));
  else await pasteText(text);
}

// ---- the bulk edit ----
// The ticked choices as the session reads them; each list's position, or null.
const kChoices = ["Bandwidth", "Power", "Scan", "BusyLock", "TxInhibit"];
const kLabels: [string, string][] = [
  ["chkBulkBandwidth", "带宽"], ["chkBulkPower", "发射功率"], ["chkBulkScan", "扫描"],
  ["chkBulkBusyLock", "繁忙锁定"], ["chkBulkRxSignal", "接收CTC/DCS"], ["chkBulkTxSignal", "发射CTC/DCS"],
  ["chkBulkTxInhibit", "禁发"], ["chkBulkTxEqRx", "发射频率 = 接收频率"], ["chkBulkFill", "按步进填充频率"],
  ["chkBulkFillTx", "发射频率也填充"],
];
// BulkField's inputs, by its number (1 rx, 2 tx, 3 the start, 4 the step).
const kFields = ["", "txtBulkRxSignal", "txtBulkTxSignal", "txtBulkFillFrom", "txtBulkFillStep"];

function fillList(id: string, entries: string[]): void {
  const list = $(id) as HTMLSelectElement;
  list.textContent = "";
  for (const e of entries) list.add(new Option(e));
  list.selectedIndex = 0;
}

async function bulkEdit(): Promise<void> {
  const dlg = $("dlgBulkEdit") as HTMLDialogElement;
  const t = (text: string) => label(s.tr(text, kBulk));
  $("dlgBulkEditTitle").textContent = t("批量修改");
  $("lblBulkChannels").textContent = t("修改信道：%1（只修改勾选的项目）").replace("%1", s.bulkChannels(rows()));
  $("fraBulkFieldsCaption").textContent = t("信道设置");
  for (const [id, text] of kLabels) (box(id).nextElementSibling as HTMLElement).textContent = t(text);
  $("lblBulkFillFrom").textContent = t("起始频率(MHz)");
  $("lblBulkFillStep").textContent = t("步进(kHz)");
  $("dlgBulkEdit_cmdOK").textContent = t("确定(&O)");
  $("dlgBulkEdit_cmdCancel").textContent = t("取消(&C)");
  for (let k = 0; k < 4; ++k) fillList(`cboBulk${kChoices[k]}`, [s.bulkEntry(k, 0), s.bulkEntry(k, 1)]);
  fillList("cboBulkTxInhibit", [t("允许发射"), t("禁止发射")]);
  box("txtBulkFillFrom").placeholder = s.bulkFillHint();
  box("txtBulkFillStep").value = s.bulkFillStep();
  box("txtBulkRxSignal").value = box("txtBulkTxSignal").value = "OFF";
  box("txtBulkFillFrom").value = "";
  for (const id of ["chkBulkBandwidth", "chkBulkPower", "chkBulkScan", "chkBulkBusyLock", "chkBulkRxSignal",
    "chkBulkTxSignal", "chkBulkTxInhibit", "chkBulkTxEqRx", "chkBulkFill", "chkBulkFillTx"]) box(id).checked = false;
  // A field is used only while its box is ticked, as in the window.
  const links: [string, string[]][] = [
    ...kChoices.map((c) => [`chkBulk${c}`, [`cboBulk${c}`]] as [string, string[]]),
    ["chkBulkRxSignal", ["txtBulkRxSignal"]], ["chkBulkTxSignal", ["txtBulkTxSignal"]],
    ["chkBulkFill", ["txtBulkFillFrom", "txtBulkFillStep", "chkBulkFillTx"]],
  ];
  const enable = () => {
    for (const [check, ids] of links) for (const id of ids) box(id).disabled = !box(check).checked;
  };
  for (const [check] of links) box(check).onchange = enable;
  enable();
  // "...": the grid's own signalling dialog, so a value is chosen as in a cell.
  for (const id of ["txtBulkRxSignal", "txtBulkTxSignal"]) {
    ($(id + "Pick") as HTMLButtonElement).onclick = async () => {
      s.bulkPickSignal(box(id).value);
      await showSignalDialog(s, actAfter);
      const picked = s.bulkSignalResult();
      if (picked) {
        box(id).value = picked;
        box(id).classList.remove("marked");
      }
    };
  }
  for (const id of kFields.slice(1)) {
    box(id).classList.remove("marked");
    box(id).oninput = () => box(id).classList.remove("marked");
  }
  const controls = () => JSON.stringify({
    choices: kChoices.map((c) => (box(`chkBulk${c}`).checked ? ($(`cboBulk${c}`) as HTMLSelectElement).selectedIndex : null)),
    rx: box("chkBulkRxSignal").checked ? box("txtBulkRxSignal").value : null,
    tx: box("chkBulkTxSignal").checked ? box("txtBulkTxSignal").value : null,
    txEqRx: box("chkBulkTxEqRx").checked,
    fill: box("chkBulkFill").checked
      ? { from: box("txtBulkFillFrom").value, step: box("txtBulkFillStep").value, tx: box("chkBulkFillTx").checked }
      : null,
  });
  const chosen = rows();
  await new Promise<void>((resolve) => {
    const close = () => {
      dlg.close();
      resolve();
    };
    $("dlgBulkEdit_cmdOK").onclick = async () => {
      await act(() => s.bulkApply(chosen, controls()));
      if (!s.bulkOpen()) {
        close();
        return;
      }
      // The value the core could not take: marked, and ready to be typed over.
      const field = kFields[s.bulkField()];
      if (field) {
        box(field).classList.add("marked");
        box(field).style.setProperty("--mark", s.bulkMarkColor());
        box(field).focus();
        box(field).select();
      }
    };
    $("dlgBulkEdit_cmdCancel").onclick = close;
    dlg.oncancel = (e) => {
      e.preventDefault();
      close();
    };
    dlg.showModal();
  });
}

// ---- the menus' items and the grid's wiring ----
export function listFileItems(): ListItem[] {
  return [
    { id: "mnuFileImportCsv", text: "导入CSV(&I)...", context: kExtras, run: () => importCsv() },
    { id: "mnuFileExportCsv", text: "导出CSV(&E)...", context: kExtras, run: () => act(() => s.csvExport()) },
  ];
}

export function listEditItems(): ListItem[] {
  return [
    "-",
    { id: "mnuEditCut", text: "剪切(&T)", context: kEdit, run: () => cut() },
    { id: "mnuEditCopy", text: "复制(&C)", context: kEdit, run: () => copy() },
    { id: "mnuEditPaste", text: "粘贴(&P)", context: kEdit, run: () => pasteFromMenu() },
    { id: "mnuEditClear", text: "清除(&D)", context: kEdit, run: () => clear() },
    "-",
    { id: "mnuEditSelectAll", text: "全选(&A)", context: kEdit, run: () => selectAll() },
    { id: "mnuEditBulk", text: "批量修改...", context: kEdit, run: () => bulkEdit() },
  ];
}

// Row headings choose rows; a press on a cell chooses none. Ctrl+C copies while the grid has
// the focus, and a paste on the grid pastes the text it carries.
export function wireLists(session: QmSession, action: Act, after: Act, busy: () => boolean): void {
  s = session;
  act = action;
  actAfter = after;
  const grid = $("gridChan") as HTMLTableElement;
  grid.addEventListener("mousedown", (e) => {
    const cell = (e.target as HTMLElement).closest("th, td") as HTMLTableCellElement | null;
    if (!cell || busy() || e.button !== 0) return;
    const row = (cell.parentElement as HTMLTableRowElement).rowIndex;
    if (row >= 1 && cell.cellIndex === 0 && cell.tagName === "TH") {
      e.preventDefault();
      grid.focus();
      pressHeading(row, e.shiftKey, e.ctrlKey || e.metaKey);
    } else if (cell.id.startsWith("gridChan_") && selected.size) {
      selected = new Set<number>();
      showSelection();
    }
  }, true);
  // The row keys are the grid's own, as in the window: Ctrl+X, C and A, and Delete.
  grid.addEventListener("keydown", (e) => {
    if (busy() || e.target !== grid) return;
    const ctrl = e.ctrlKey || e.metaKey;
    const run = e.key === "Delete" && !ctrl ? clear
      : ctrl ? ({ x: cut, c: copy, a: selectAll } as Record<string, () => unknown>)[e.key.toLowerCase()] : undefined;
    if (!run) return;
    e.preventDefault();
    e.stopPropagation();
    run();
  });
  grid.addEventListener("paste", (e) => {
    if (busy()) return;
    e.preventDefault();
    pasteText(e.clipboardData?.getData("text/plain") ?? "");
  });
}
