// The page's modal dialogs: the question box the core's Prompter asks through, the progress
// window of the radio commands and the model dialog.
import type { QmSession } from "./host";

const $ = (id: string) => document.getElementById(id) as HTMLElement;

// The dialogs' own words in the page's language, looked up while no action runs: the question
// box and the progress window show while one does, when the module answers no query at once.
const kTexts: [string, string][] = [
  ["是(&Y)", "QtPrompter"], ["否(&N)", "QtPrompter"], ["确定", "QtPrompter"], ["取消", "QtPrompter"],
  ["取消", "qm::ui::FrmProgress"],
  ["下次不再提示          (下次重启软件时再跳出提示框)", "qm::ui::DlgWarn"], ["确定(&O)", "qm::ui::DlgWarn"],
  ["取消(&C)", "qm::ui::DlgWarn"],
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

// dlgWarn, the warning with its "do not show again" box: 1 for OK, plus 2 when the box was
// ticked; 0 for Cancel or Escape.
export function warn(title: string, text: string): Promise<number> {
  const dlg = $("dlgWarn") as HTMLDialogElement;
  const ctx = "qm::ui::DlgWarn";
  $("dlgWarnTitle").textContent = title;
  $("lblWarning").textContent = text;
  const box = $("chkWarning") as HTMLInputElement;
  box.checked = false;
  $("chkWarningText").textContent = tr("下次不再提示          (下次重启软件时再跳出提示框)", ctx);
  const ok = $("OKButton") as HTMLButtonElement, cancel = $("CancelButton") as HTMLButtonElement;
  ok.textContent = label(tr("确定(&O)", ctx));
  cancel.textContent = label(tr("取消(&C)", ctx));
  return new Promise((resolve) => {
    const done = (answer: number) => {
      dlg.oncancel = null;
      dlg.close();
      resolve(answer);
    };
    ok.onclick = () => done(1 | (box.checked ? 2 : 0));
    cancel.onclick = () => done(0);
    dlg.oncancel = (e) => {
      e.preventDefault();
      done(0);
    };
    dlg.showModal();
    ok.focus();
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

// frmSignal over the session's signalling entry: the option buttons, the two editable lists
// and the invert box; a list's check runs when it loses the focus, OK and Cancel close.
export function showSignalDialog(s: QmSession, act: (queue: () => void) => Promise<void>): Promise<void> {
  const dlg = $("frmSignal") as HTMLDialogElement;
  const tone = $("cboChRxQT") as HTMLInputElement, code = $("cboChRxDQT") as HTMLInputElement;
  const invert = $("chkChRxDQT") as HTMLInputElement;
  const fill = (id: string, n: number, item: (k: number) => string) => {
    const list = $(id);
    list.textContent = "";
    for (let k = 0; k < n; ++k) list.appendChild(new Option(item(k)));
  };
  fill("cboChRxQT_list", s.signalToneCount(), (k) => s.signalTone(k));
  fill("cboChRxDQT_list", s.signalCodeCount(), (k) => s.signalCode(k));
  const show = () => {
    for (let i = 0; i < 3; ++i) ($(`optChRxdec_${i}`) as HTMLInputElement).checked = s.signalOption() === i;
    tone.disabled = !s.signalToneEnabled();
    code.disabled = !s.signalCodeEnabled();
    invert.disabled = !s.signalInvertEnabled();
    invert.checked = s.signalInverted();
    tone.value = s.signalToneText();
    code.value = s.signalCodeText();
  };
  for (let i = 0; i < 3; ++i) {
    ($(`optChRxdec_${i}`) as HTMLInputElement).onchange = () => {
      s.signalSelect(i);
      show();
    };
  }
  invert.onchange = () => s.signalSetInverted(invert.checked);
  const wire = (box: HTMLInputElement, key: (c: number) => number, set: (t: string) => void, check: () => void) => {
    box.onbeforeinput = (e) => {
      if (e.inputType !== "insertText" || !e.data) return;
      let out = "";
      for (const ch of e.data) {
        const k = key(ch.codePointAt(0) ?? 0);
        if (k >= 0) out += String.fromCharCode(k);
      }
      if (out === e.data) return;
      e.preventDefault();
      if (out) box.setRangeText(out, box.selectionStart ?? 0, box.selectionEnd ?? 0, "end");
      set(box.value);
    };
    box.oninput = () => set(box.value);
    box.onchange = () => set(box.value);
    box.onblur = () => {
      if (dlg.open && !closing) act(check).then(show);
    };
  };
  let closing = false;
  wire(tone, (c) => s.signalToneKey(c), (t) => s.signalSetTone(t), () => s.signalCheckTone());
  wire(code, (c) => s.signalCodeKey(c), (t) => s.signalSetCode(t), () => s.signalCheckCode());
  const ok = $("frmSignal_cmdOK") as HTMLButtonElement, cancel = $("frmSignal_cmdCancel") as HTMLButtonElement;
  ok.textContent = label(s.tr("确定(&O)", "qm::ui::FrmSignal"));
  cancel.textContent = label(s.tr("取消(&C)", "qm::ui::FrmSignal"));
  show();
  return new Promise((resolve) => {
    const finish = (accepted: boolean) => {
      closing = true;
      dlg.close();
      act(() => s.signalFinish(accepted)).then(resolve);
    };
    ok.onclick = () => finish(true);
    cancel.onclick = () => finish(false);
    dlg.oncancel = (e) => {
      e.preventDefault();
      finish(false);
    };
    dlg.showModal();
  });
}
