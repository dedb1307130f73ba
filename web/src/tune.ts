// The tune view: the item tree TreeView2, the tune channel panel fraTuneSet (gridTune with its
// option buttons and boxes, txtTuneFreq, cmdSaveTnFq) and the item panel fraTune (the
// channel's data, hsbTune, OK and Cancel), rendered from the session's tuneView() and every
// click, key and step sent to the core's tune controller, which talks to the radio.
import type { QmSession } from "./host";
import { label, showSignalDialog } from "./dialogs";

type Queue = (queue: () => void) => Promise<void>;
interface Deps { s: QmSession; act: Queue; actAfter: Queue; busy: () => boolean }

interface Row { cells: [string, string, string, string][]; test: boolean; testEnabled: boolean;
  off: boolean; offEnabled: boolean; txOff: boolean; txOffEnabled: boolean }
interface View {
  tree: boolean; table: boolean; item: boolean; channels: boolean; tuneChecked: boolean; channelChecked: boolean;
  nodes: { key: string; text: string; parent: string; grey: boolean }[];
  itemCaption: string; channelCaption: string; rxFreq: string; rxSignal: string; txFreq: string; txSignal: string;
  value: number; valueLabel: string; valueMax: number; headers: string[]; rows: Row[]; row: number; col: number;
  editor: { visible: boolean; row: number; col: number; text: string };
}

const kContext = "qm::ui::TunePanel";
const kBoxes = ["optTestCh", "chkTuneCH", "chkTuneTx"];
// TuneStep of tune/tune_controller.h, by the keys a scroll bar takes.
const kSteps: Record<string, number> = { ArrowLeft: 0, ArrowDown: 0, ArrowRight: 1, ArrowUp: 1,
  PageDown: 2, PageUp: 3, Home: 4, End: 5 };

let d: Deps;
const $ = (id: string) => document.getElementById(id) as HTMLElement;

export function tuneView(): View {
  return JSON.parse(d.s.tuneView());
}

// Whether the last render showed the tune view: the radio is then in its tune state.
let tuning = false;

export function installTune(deps: Deps): void {
  d = deps;
  // The page cannot talk to the radio while it unloads, so leaving it in the tune view would
  // leave the radio in its tune state: the browser asks first.
  window.addEventListener("beforeunload", (e) => {
    if (tuning) e.preventDefault();
  });
  buildTree();
  buildGrid();
  wireEditor();
  wireItemPanel();
  $("cmdSaveTnFq").onclick = () => d.act(() => d.s.tuneSave());
  // A click on the panel beside the grid closes the open editors.
  $("fraTuneSet").addEventListener("mousedown", (e) => {
    if (e.target instanceof HTMLInputElement || e.target instanceof HTMLButtonElement) return;
    if (!d.busy()) d.act(() => d.s.tunePanelClick());
  });
}

function buildTree(): void {
  const tree = $("TreeView2");
  tree.textContent = "";
  const lists = new Map<string, HTMLElement>([["", tree]]);
  for (const n of tuneView().nodes) {
    const li = document.createElement("li");
    const b = document.createElement("button");
    b.id = `TreeView2_${n.key}`;
    b.onclick = () => d.act(() => d.s.tuneNode(n.key));
    li.appendChild(b);
    lists.get(n.parent)!.appendChild(li);
    const sub = document.createElement("ul");
    li.appendChild(sub);
    lists.set(n.key, sub);
  }
}

function buildGrid(): void {
  const grid = $("gridTune") as HTMLTableElement;
  grid.textContent = "";
  const v = tuneView();
  const head = grid.insertRow();
  head.appendChild(document.createElement("th"));
  for (let c = 0; c < v.headers.length; ++c) {
    const th = document.createElement("th");
    th.id = `gridTune_0_${c + 1}`;
    head.appendChild(th);
  }
  v.rows.forEach((row, i) => {
    const tr = grid.insertRow();
    const th = document.createElement("th");
    th.textContent = String(i + 1);
    tr.appendChild(th);
    row.cells.forEach((_, c) => {
      const td = document.createElement("td");
      td.id = `gridTune_${i + 1}_${c + 1}`;
      td.onmousedown = (e) => {
        e.preventDefault();
        e.stopPropagation();
        if (!d.busy()) d.act(() => d.s.tunePress(i + 1, c + 1)).then(afterPress);
      };
      tr.appendChild(td);
    });
    kBoxes.forEach((name, k) => {
      const td = document.createElement("td");
      td.className = "chk";
      const box = document.createElement("input");
      box.type = k === 0 ? "radio" : "checkbox";
      box.id = `${name}_${i}`;
      box.onclick = (e) => {
        e.preventDefault();
        d.act(() => d.s.tuneBox(k, i));
      };
      td.appendChild(box);
      tr.appendChild(td);
    });
  });
  grid.onkeydown = (e) => {
    if (d.busy() || e.target !== grid) return;
    const code = e.key === "Enter" ? 13 : e.key === " " ? 32 : 0;
    if (!code) return;
    e.preventDefault();
    d.act(() => d.s.tuneKey(code)).then(afterPress);
  };
}

// A press may open the frequency editor or the signalling dialog.
function afterPress(): void {
  if (d.s.signalOpen()) {
    showSignalDialog(d.s, d.actAfter).then(afterPress);
    return;
  }
  const ed = $("txtTuneFreq") as HTMLInputElement;
  if (tuneView().editor.visible) {
    ed.focus();
    ed.select();
  } else {
    $("gridTune").focus();
  }
}

function wireEditor(): void {
  const ed = $("txtTuneFreq") as HTMLInputElement;
  ed.addEventListener("keydown", (e) => {
    if (d.busy()) return;
    if (e.key === "Enter") {
      e.preventDefault();
      d.act(() => d.s.tuneEditorEnter()).then(() => $("gridTune").focus());
    } else if (e.key === "ArrowUp" || e.key === "ArrowDown") {
      e.preventDefault();
      d.act(() => d.s.tuneEditorStep(e.key === "ArrowUp"));
    }
  });
  ed.addEventListener("beforeinput", (e) => {
    if (e.inputType !== "insertText" || !e.data) return;
    let out = "";
    for (const ch of e.data) {
      const k = d.s.tuneEditorKey(ch.codePointAt(0) ?? 0);
      if (k >= 0) out += String.fromCharCode(k);
    }
    if (out === e.data) return;
    e.preventDefault();
    if (out) ed.setRangeText(out, ed.selectionStart ?? 0, ed.selectionEnd ?? 0, "end");
    d.act(() => d.s.tuneEditorText(ed.value));
  });
  ed.addEventListener("input", () => d.act(() => d.s.tuneEditorText(ed.value)));
  ed.addEventListener("blur", () => {
    if (!ed.hidden && !d.busy()) d.act(() => d.s.tuneEditorLostFocus());
  });
}

function wireItemPanel(): void {
  const bar = $("hsbTune") as HTMLInputElement;
  // A step is held back, not dropped, while the radio answers the one before: each waits for
  // the step before it and for the action running.
  let held: Promise<void> = Promise.resolve();
  const step = (k: number) => (held = held.then(() => d.actAfter(() => d.s.tuneStep(k))));
  bar.addEventListener("keydown", (e) => {
    if (!(e.key in kSteps)) return;
    e.preventDefault();
    step(kSteps[e.key]);
  });
  // Dragging shows the value; the radio gets it where the thumb is let go.
  bar.addEventListener("input", () => ($("lblTuneVal").textContent = bar.value));
  bar.addEventListener("change", () => (held = held.then(() => d.actAfter(() => d.s.tuneScroll(Number(bar.value))))));
  $("hsbTune_less").onclick = () => step(kSteps.ArrowLeft);
  $("hsbTune_more").onclick = () => step(kSteps.ArrowRight);
  $("fraTune_cmdOK").onclick = () => d.act(() => d.s.tuneOk(true));
  $("fraTune_cmdCancel").onclick = () => d.act(() => d.s.tuneOk(false));
}

// After the window's render: the views, the menus tune mode hides, and the tune view itself.
export function renderTune(): void {
  const v = tuneView();
  const tr = (text: string) => d.s.tr(text, kContext);
  const shown = v.tree || v.table || v.item;
  tuning = shown;
  $("tuneView").hidden = !shown;
  $("fraChannel").hidden = !v.channels;
  $("frmScan").hidden = !v.channels;
  const edit = d.s.editMenusShown();
  $("mnuModel").parentElement!.hidden = !edit;
  for (const id of ["mnuWrite", "mnuRadio"]) {
    $(id).hidden = !edit;
    ($(id) as HTMLButtonElement).disabled ||= !edit;
  }
  if (!shown) return;

  $("TreeView2").hidden = !v.tree;
  for (const n of v.nodes) {
    const b = $(`TreeView2_${n.key}`);
    b.textContent = n.text;
    b.classList.toggle("grey", n.grey);
  }

  $("fraTuneSet").hidden = !v.table;
  $("fraTuneSetCaption").textContent = tr("调测信道");
  $("cmdSaveTnFq").textContent = tr("写入调测信道");
  v.headers.forEach((h, c) => ($(`gridTune_0_${c + 1}`).textContent = h));
  v.rows.forEach((row, i) => {
    row.cells.forEach(([text, color, background, note], c) => {
      const cell = $(`gridTune_${i + 1}_${c + 1}`);
      cell.textContent = text;
      cell.style.color = color;
      cell.style.background = background;
      cell.title = note;
      cell.classList.toggle("cur", i + 1 === v.row && c + 1 === v.col);
    });
    const states: [boolean, boolean][] = [[row.test, row.testEnabled], [row.off, row.offEnabled], [row.txOff, row.txOffEnabled]];
    kBoxes.forEach((name, k) => {
      const box = $(`${name}_${i}`) as HTMLInputElement;
      box.checked = states[k][0];
      box.disabled = !states[k][1];
    });
  });
  const ed = $("txtTuneFreq") as HTMLInputElement;
  if (v.editor.visible) {
    const cell = $(`gridTune_${v.editor.row}_${v.editor.col}`);
    ed.style.left = `${cell.offsetLeft}px`;
    ed.style.top = `${cell.offsetTop}px`;
    ed.style.width = `${cell.offsetWidth}px`;
    ed.style.height = `${cell.offsetHeight}px`;
    if (ed.value !== v.editor.text) ed.value = v.editor.text;
    ed.hidden = false;
  } else {
    ed.hidden = true;
  }

  $("fraTune").hidden = !v.item;
  $("fraTuneCaption").textContent = v.itemCaption;
  $("fraTuneCHCaption").textContent = v.channelCaption;
  for (const [id, text, value] of [["lblRxfreq", "接收频率(MHz): ", v.rxFreq], ["lblRxCTC", "接收CTC/DCS: ", v.rxSignal],
    ["lblTxFreq", "发射频率(MHz): ", v.txFreq], ["lblTxCTC", "发射CTC/DCS: ", v.txSignal]]) {
    $(`${id}Caption`).textContent = tr(text);
    $(id).textContent = value;
  }
  const bar = $("hsbTune") as HTMLInputElement;
  bar.max = String(v.valueMax);
  bar.value = String(v.value);
  bar.setAttribute("aria-label", v.itemCaption || tr("调测值"));
  $("lblTuneVal").textContent = v.valueLabel;
  $("fraTune_cmdOK").textContent = label(tr("确定"));
  $("fraTune_cmdCancel").textContent = label(tr("取消"));
}
