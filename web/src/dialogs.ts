// The page's modal dialogs: the question box the core's Prompter asks through, the progress
// window of the radio commands and the model dialog.
import type { QmSession } from "./host";

const $ = (id: string) => document.getElementById(id) as HTMLElement;

// The dialogs' own words in the page's language, looked up while no action runs: the question
// box and the progress window show while one does, when the module answers no query at once.
const kTexts: [string, string][] = [
  ["是(&Y)", "QtPrompter"], ["否(&N)", "QtPrompter"], ["确定", "QtPrompter"], ["取消", "QtPrompter"],
  ["取消", "qm::ui::FrmProgress"],
];
const texts = new Map<string, string>();
export function refreshTexts(s: QmSession): void {
  for (const [text, context] of kTexts) texts.set(context + "\n" + text, s.tr(text, context));
}
const tr = (text: string, context: string) => texts.get(context + "\n" + text) ?? text;

// A menu or button text without its accelerator mark: "文件(&F)" shows "文件(F)", "&File" "File".
export function label(text: string): string {
  return text.replace(/&(.)/g, "$1");
}

export function closeMenus(): void {
  document.querySelectorAll("#menuBar .menu.open").forEach((m) => m.classList.remove("open"));
}

// Icon and Buttons of base/prompter.h; the answer is its Answer (Ok, Yes, No, Cancel).
const kIcons = ["", "ℹ️", "⚠️", "⛔", "❓"];
const kButtons: [string, string, number][] = [
  ["cmdPromptYes", "是(&Y)", 1],
  ["cmdPromptNo", "否(&N)", 2],
  ["cmdPromptOK", "确定", 0],
  ["cmdPromptCancel", "取消", 3],
];
const kShown = [["cmdPromptOK"], ["cmdPromptYes", "cmdPromptNo"], ["cmdPromptYes", "cmdPromptNo", "cmdPromptCancel"]];

export function ask(title: string, text: string, icon: number, buttons: number): Promise<number> {
  const dlg = $("dlgPrompt") as HTMLDialogElement;
  $("lblPromptTitle").textContent = title;
  $("lblPrompt").textContent = text;
  $("imgPrompt").textContent = kIcons[icon] ?? "";
  const shown = kShown[buttons] ?? kShown[0];
  return new Promise((resolve) => {
    const done = (answer: number) => {
      dlg.onclose = null;
      dlg.close();
      resolve(answer);
    };
    for (const [id, text, answer] of kButtons) {
      const b = $(id) as HTMLButtonElement;
      b.hidden = !shown.includes(id);
      b.textContent = label(tr(text, "QtPrompter"));
      b.onclick = () => done(answer);
    }
    // Escape is the box's way out: Cancel where it has one, else No, else OK.
    dlg.oncancel = (e) => {
      e.preventDefault();
      done(buttons === 2 ? 3 : buttons === 1 ? 2 : 0);
    };
    dlg.showModal();
    ($(shown[0]) as HTMLButtonElement).focus();
  });
}

// state 0 opens, 1 moves the bar, 2 closes.
export function progress(state: number, caption: string, title: string, maximum: number, position: number, cancellable: boolean): void {
  const dlg = $("frmProgress") as HTMLDialogElement;
  const bar = $("prbRdOrWt") as HTMLProgressElement;
  if (state === 0) {
    $("frmProgressTitle").textContent = title;
    $("lblProgress").textContent = caption;
    const cancel = $("cmdCancel") as HTMLButtonElement;
    cancel.hidden = !cancellable;
    cancel.textContent = tr("取消", "qm::ui::FrmProgress");
    bar.max = Math.max(maximum, 1);
    bar.value = 0;
    dlg.oncancel = (e) => e.preventDefault();
    if (!dlg.open) dlg.showModal();
  } else if (state === 1) {
    bar.value = position;
  } else if (dlg.open) {
    dlg.close();
  }
}

// frmRadio: the model list, its band and the CPU version; OK hands the chosen model on.
export function showModelDialog(s: QmSession, chosen: (model: number) => void): void {
  const dlg = $("frmRadio") as HTMLDialogElement;
  const ctx = "qm::ui::FrmRadio";
  const tr = (text: string, context: string) => s.tr(text, context);
  $("frmRadioTitle").textContent = tr("机型信息", ctx);
  $("lblModel").textContent = tr("机型：", ctx);
  $("lblBandCaption").textContent = tr("频率范围：", ctx);
  $("lblCPUCaption").textContent = tr("CPU版本：", ctx);
  $("lblCPU").textContent = s.radioVersion();
  const list = $("cboModel") as HTMLSelectElement;
  list.textContent = "";
  for (let m = 0; m < s.modelCount(); ++m) list.add(new Option(s.modelName(m)));
  list.selectedIndex = s.currentModel();
  const band = () => ($("lblFreqBand").textContent = s.modelBand(list.selectedIndex));
  band();
  list.onchange = band;
  const ok = $("CmdOK") as HTMLButtonElement, cancel = $("CmdCancel") as HTMLButtonElement;
  ok.textContent = label(tr("确定(&O)", ctx));
  cancel.textContent = label(tr("取消(&C)", ctx));
  ok.onclick = () => {
    dlg.close();
    chosen(list.selectedIndex);
  };
  cancel.onclick = () => dlg.close();
  dlg.showModal();
}
