// What the core's seams (src/web/web_seams.cpp) ask of the browser: the serial line over Web
// Serial, waits on the browser's timers, the modal question, the progress window and the file
// pickers. Every rule and text stays in the core; this only moves bytes and shows what it is
// given.

/* eslint-disable @typescript-eslint/no-explicit-any */
export interface QmModule {
  FS: any;
  _qm_cancel_progress: () => void;
  ccall: (name: string, ret: string | null, types: string[], args: unknown[], opts?: { async?: boolean }) => any;
  session: () => QmSession;
  qmHost?: Host;
}

export interface QmSession {
  [name: string]: any;
}

// The programming cable's USB serial chips: CH340/CH341, PL2303, CP210x, FTDI.
export const kCableFilters = [
  { usbVendorId: 0x1a86 },
  { usbVendorId: 0x067b },
  { usbVendorId: 0x10c4 },
  { usbVendorId: 0x0403 },
];

// OpenFailure of radio/serial_port.h.
const enum OpenFailure {
  None = 0,
  Absent = 1,
  Busy = 2,
  NoPermission = 3,
  DriverRefused = 4,
  Other = 5,
}

export interface PageUi {
  ask(title: string, text: string, icon: number, buttons: number): Promise<number>;
  warn(title: string, text: string): Promise<number>;
  progress(state: number, caption: string, title: string, maximum: number, position: number, cancellable: boolean): void;
}

type PickedFile = { handle?: any; name: string };

// The picker's file types by the dialog's default extension: CSV channel lists, else the
// program's data files.
const kDataTypes = [{ description: "QM830K", accept: { "application/octet-stream": [".q83", ".z410", ".toml"] } }];
const kCsvTypes = [{ description: "CSV", accept: { "text/csv": [".csv"] } }];
const typesFor = (ext: string) => (ext === "csv" ? kCsvTypes : kDataTypes);

export class Host {
  private port: any = null;
  private reader: any = null;
  private writer: any = null;
  private rx: number[] = [];
  private pendingOut = 0;
  private error = "";
  private lineEnded = false;
  // The browser's handle of each file of the memory file system that the user picked.
  private files = new Map<string, PickedFile>();

  constructor(private readonly mod: QmModule, private readonly ui: PageUi) {}

  // ---- the port the user chose ----
  hasSerial(): boolean {
    return "serial" in navigator;
  }
  async choosePort(): Promise<boolean> {
    const serial = (navigator as any).serial;
    try {
      this.port = await serial.requestPort({ filters: kCableFilters });
      return true;
    } catch {
      // No cable of the common chips, or the user wants another port: every port.
      try {
        this.port = await serial.requestPort();
        return true;
      } catch {
        return false;
      }
    }
  }
  // The port granted on this or an earlier visit, else the browser's chooser (while the
  // click's gesture lasts); false when the user picks none.
  async ensurePort(): Promise<boolean> {
    if (!this.hasSerial()) return false;
    return (await this.grantedPort()) !== null || this.choosePort();
  }
  // The granted port's USB ids as "1A86:7523" ("" when the browser gives none), null before a
  // port is granted; the core words it for the status bar and the messages.
  portLabel(): string | null {
    if (!this.port) return null;
    const info = this.port.getInfo?.() ?? {};
    const hex = (n: number) => n.toString(16).toUpperCase().padStart(4, "0");
    return info.usbVendorId === undefined ? ""
      : info.usbProductId === undefined ? hex(info.usbVendorId)
      : `${hex(info.usbVendorId)}:${hex(info.usbProductId)}`;
  }
  hasPort(): boolean {
    return this.port !== null;
  }
  // Takes back a port granted on an earlier visit, so the status bar names it from the start.
  async restorePort(): Promise<void> {
    if (this.hasSerial()) await this.grantedPort().catch(() => null);
  }
  private async grantedPort(): Promise<any> {
    if (this.port) return this.port;
    const ports = await (navigator as any).serial.getPorts();
    this.port = ports.length > 0 ? ports[0] : null;
    return this.port;
  }

  async serialOpen(baud: number, parity: string, dataBits: number, stopBits: number): Promise<number> {
    this.error = "";
    if (!this.hasSerial()) {
      this.error = "navigator.serial";
      return OpenFailure.Absent;
    }
    const port = await this.grantedPort();
    if (!port) {
      this.error = "";
      return OpenFailure.Absent;
    }
    try {
      await port.open({
        baudRate: baud,
        dataBits,
        stopBits,
        parity: parity === "O" ? "odd" : parity === "E" ? "even" : "none",
      });
    } catch (e: any) {
      this.error = String(e?.message ?? e);
      return e?.name === "InvalidStateError" ? OpenFailure.Busy
        : e?.name === "SecurityError" ? OpenFailure.NoPermission
        : e?.name === "NotFoundError" ? OpenFailure.Absent : OpenFailure.Other;
    }
    this.rx = [];
    this.pendingOut = 0;
    this.lineEnded = false;
    try {
      await port.setSignals({ dataTerminalReady: true, requestToSend: true });
    } catch {
      // A cable without the control lines still carries the data.
    }
    this.writer = port.writable.getWriter();
    this.reader = port.readable.getReader();
    this.pump(this.reader);
    return OpenFailure.None;
  }

  // Everything the port receives goes to the buffer the link polls. A read that ends or
  // throws is a pulled cable: nothing more comes, and the link's waits run out as they do
  // when the radio falls silent.
  private async pump(reader: any): Promise<void> {
    try {
      for (;;) {
        const { value, done } = await reader.read();
        if (done) break;
        if (value) for (const b of value as Uint8Array) this.rx.push(b);
      }
    } catch {
      // fall through: the line is gone
    }
    this.lineEnded = true;
  }

  async serialClose(): Promise<void> {
    const port = this.port;
    try {
      if (this.reader) {
        await this.reader.cancel().catch(() => {});
        this.reader.releaseLock();
      }
      if (this.writer) {
        await this.writer.close().catch(() => {});
        this.writer.releaseLock();
      }
    } catch {
      // a port that went away closes as far as it can
    }
    this.reader = this.writer = null;
    try {
      if (port) await port.close();
    } catch {
      // already closed by the browser (a pulled cable)
    }
  }

  serialWrite(bytes: Uint8Array): boolean {
    if (!this.writer || this.lineEnded) return false;
    this.pendingOut += bytes.length;
    this.writer.write(bytes).then(
      () => { this.pendingOut = Math.max(0, this.pendingOut - bytes.length); },
      () => { this.lineEnded = true; },
    );
    return true;
  }
  serialOutCount(): number {
    return this.pendingOut;
  }
  serialClearOutput(): void {
    // The browser keeps no queue of its own that could be cleared; written bytes are on
    // their way to the system.
  }
  serialInCount(): number {
    return this.rx.length;
  }
  serialClearInput(): void {
    this.rx = [];
  }
  serialRead(max: number): Uint8Array {
    const out = Uint8Array.from(this.rx.slice(0, max));
    this.rx = this.rx.slice(out.length);
    return out;
  }
  serialError(): string {
    return this.error;
  }

  // ---- time ----
  // A wait of 4 ms or more sleeps on a timer to its whole millisecond and yields through a
  // message channel for the rest. Yielding keeps a core busy and slows the very processes the
  // line's bytes pass through, so it stays a short tail. A shorter wait (the link's check,
  // right after a write, that the bytes have gone out) sleeps its whole length and a little
  // over, rather than yield while those bytes are on their way: on the task scheduler where
  // the browser has one, because a plain timer is stretched to 4 ms after a few nested ones.
  private channel = new MessageChannel();
  private yieldOnce(): Promise<void> {
    return new Promise((resolve) => {
      this.channel.port1.onmessage = () => resolve();
      this.channel.port2.postMessage(0);
    });
  }
  private sleep(ms: number): Promise<void> {
    if (typeof scheduler !== "undefined" && scheduler.postTask) {
      return scheduler.postTask(() => {}, { delay: ms });
    }
    return new Promise((r) => setTimeout(r, ms));
  }
  // To a deadline on performance.now()'s time base.
  async delayUntil(end: number): Promise<void> {
    const left = end - performance.now();
    if (left <= 0) return;
    if (left < 4) await this.sleep(Math.ceil(left));
    else await new Promise((r) => setTimeout(r, Math.floor(left)));
    while (performance.now() < end) await this.yieldOnce();
  }

  // ---- the user ----
  ask(title: string, text: string, icon: number, buttons: number): Promise<number> {
    return this.ui.ask(title, text, icon, buttons);
  }
  warn(title: string, text: string): Promise<number> {
    return this.ui.warn(title, text);
  }
  progress(state: number, caption: string, title: string, maximum: number, position: number, cancellable: boolean): void {
    this.ui.progress(state, caption, title, maximum, position, cancellable);
  }

  // ---- files ----
  // A picked file goes into the memory file system under its own name; the core opens it there.
  private place(name: string, bytes: Uint8Array, picked: PickedFile): string {
    const path = "/" + name.replace(/[\\/]/g, "_");
    this.mod.FS.writeFile(path, bytes);
    this.files.set(path, picked);
    return path;
  }

  async pickOpen(_title: string, ext = ""): Promise<string | null> {
    const w = window as any;
    if (w.showOpenFilePicker) {
      try {
        const [handle] = await w.showOpenFilePicker({ types: typesFor(ext) });
        const file = await handle.getFile();
        return this.place(file.name, new Uint8Array(await file.arrayBuffer()), { handle, name: file.name });
      } catch {
        return null;
      }
    }
    const input = document.getElementById("fileOpen") as HTMLInputElement;
    input.accept = Object.values(typesFor(ext)[0].accept).flat().join(",");
    input.value = "";
    const file = await new Promise<File | null>((resolve) => {
      input.onchange = () => resolve(input.files && input.files.length ? input.files[0] : null);
      input.oncancel = () => resolve(null);
      input.click();
    });
    if (!file) return null;
    return this.place(file.name, new Uint8Array(await file.arrayBuffer()), { name: file.name });
  }

  async pickSave(_title: string, suggested: string, ext = ""): Promise<string | null> {
    const name = suggested.split(/[\\/]/).pop() || "QM830K.q83";
    const w = window as any;
    if (w.showSaveFilePicker) {
      try {
        const handle = await w.showSaveFilePicker({ suggestedName: name, types: typesFor(ext) });
        const path = "/" + handle.name.replace(/[\\/]/g, "_");
        this.files.set(path, { handle, name: handle.name });
        return path;
      } catch {
        return null;
      }
    }
    const path = "/" + name;
    this.files.set(path, { name });
    return path;
  }

  async saveToBrowser(path: string): Promise<boolean> {
    const bytes: Uint8Array = this.mod.FS.readFile(path);
    const picked = this.files.get(path) ?? { name: path.slice(1) };
    if (picked.handle && picked.handle.createWritable) {
      try {
        const w = await picked.handle.createWritable();
        await w.write(bytes);
        await w.close();
        return true;
      } catch {
        return false;
      }
    }
    this.download(picked.name, bytes);
    return true;
  }

  offerDownload(path: string): void {
    this.download(path.split("/").pop() || "backup.q83", this.mod.FS.readFile(path));
  }

  private download(name: string, bytes: Uint8Array): void {
    const url = URL.createObjectURL(new Blob([bytes as Uint8Array<ArrayBuffer>], { type: "application/octet-stream" }));
    const a = document.createElement("a");
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }
}
