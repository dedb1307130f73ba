// Put before the page's own scripts by the browser tests (page.evaluateOnNewDocument). It
// gives the page a navigator.serial with the standard Web Serial interface whose one port
// carries the bytes over a WebSocket to web/test/bridge.mjs and on to the simulator's
// terminal, because this machine's Chromium has no serial hardware of its own. It also
// stands in for the File System Access pickers, so the tests hand the page files to open
// and collect what it saves without a dialog.
//
// The test sets window.__qmHarness = {bridge: 'ws://127.0.0.1:PORT', denyPort: false,
// warm: true, granted: false} before this runs (both are injected together): warm when a
// bridge listens, granted for a port the user chose on an earlier visit.
(() => {
  const harness = (window.__qmHarness = window.__qmHarness || {});
  const granted = 'qm830k-test-port-granted';

  // The chip the stand-in port claims to be: a CH340, one of the four common cable chips.
  const info = {usbVendorId: 0x1a86, usbProductId: 0x7523};

  const lost = () => new DOMException('The device has been lost.', 'NetworkError');

  class StandInPort extends EventTarget {
    constructor() {
      super();
      this.readable = null;
      this.writable = null;
      this.socket = null;
      this.signals = {};
    }
    getInfo() {
      return {...info};
    }
    async open(options) {
      if (this.socket) throw new DOMException('The port is already open.', 'InvalidStateError');
      if (!options || !(options.baudRate > 0)) throw new TypeError('baudRate is required');
      harness.openOptions = {...options};
      const socket = new WebSocket(harness.bridge);
      socket.binaryType = 'arraybuffer';
      await new Promise((resolve, reject) => {
        socket.onopen = resolve;
        socket.onerror = () => reject(new DOMException('Failed to open serial port.', 'NetworkError'));
      });
      this.socket = socket;
      const port = this;
      let down = null;
      this.readable = new ReadableStream({
        start(controller) {
          socket.onmessage = (e) => controller.enqueue(new Uint8Array(e.data));
          down = () => {
            try {
              controller.error(lost());
            } catch (_) {
              // already closed by the page
            }
          };
        },
        cancel() {},
      });
      this.writable = new WritableStream({
        write(chunk) {
          if (socket.readyState !== WebSocket.OPEN) throw lost();
          socket.send(chunk instanceof Uint8Array ? chunk : new Uint8Array(chunk));
        },
      });
      socket.onclose = () => {
        if (port.socket !== socket) return;  // closed by the page itself
        down();
        port.socket = null;
        port.dispatchEvent(new Event('disconnect'));
        navigator.serial.dispatchEvent(new Event('disconnect'));
      };
    }
    async setSignals(signals) {
      if (!this.socket) throw new DOMException('The port is closed.', 'InvalidStateError');
      Object.assign(this.signals, signals);
    }
    async close() {
      // As the real port does: a stream still held by a reader or writer keeps it open.
      if ((this.readable && this.readable.locked) || (this.writable && this.writable.locked)) {
        throw new TypeError('Cannot close a port whose streams are locked.');
      }
      const socket = this.socket;
      this.socket = null;
      this.readable = null;
      this.writable = null;
      if (socket) socket.close();
    }
  }

  const port = new StandInPort();

  // A page's first WebSocket costs Chromium some 25 ms more than the next ones; a serial port
  // has no such cost, so one connection made and dropped at load takes it before any open.
  if (harness.warm) {
    const warm = new WebSocket(harness.bridge + '/warm');
    warm.onerror = () => {};
  }

  class StandInSerial extends EventTarget {
    async requestPort(options) {
      harness.requestOptions = options || {};
      if (harness.denyPort) throw new DOMException('No port selected by the user.', 'NotFoundError');
      const filters = (options && options.filters) || [];
      const matches = filters.length === 0 || filters.some((f) =>
        (f.usbVendorId === undefined || f.usbVendorId === info.usbVendorId) &&
        (f.usbProductId === undefined || f.usbProductId === info.usbProductId));
      if (!matches) throw new DOMException('No port selected by the user.', 'NotFoundError');
      localStorage.setItem(granted, '1');
      return port;
    }
    async getPorts() {
      return harness.granted || localStorage.getItem(granted) ? [port] : [];
    }
  }

  Object.defineProperty(navigator, 'serial', {value: new StandInSerial(), configurable: true});

  // File System Access pickers: the test queues files to open (harness.open, a list of
  // {name, base64}) and reads what was saved from harness.saved (name -> base64).
  harness.saved = harness.saved || {};
  harness.open = harness.open || [];
  const toBase64 = (bytes) => {
    let s = '';
    for (const b of bytes) s += String.fromCharCode(b);
    return btoa(s);
  };
  const fromBase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

  class StandInFileHandle {
    constructor(name, bytes) {
      this.kind = 'file';
      this.name = name;
      this.bytes = bytes;
    }
    async getFile() {
      return new File([this.bytes], this.name);
    }
    async createWritable() {
      const handle = this;
      const parts = [];
      return {
        async write(data) {
          if (data instanceof Blob) data = new Uint8Array(await data.arrayBuffer());
          else if (typeof data === 'string') data = new TextEncoder().encode(data);
          else if (data instanceof ArrayBuffer) data = new Uint8Array(data);
          else if (ArrayBuffer.isView(data)) data = new Uint8Array(data.buffer, data.byteOffset, data.byteLength);
          parts.push(data);
        },
        async close() {
          const total = parts.reduce((n, p) => n + p.length, 0);
          const all = new Uint8Array(total);
          let at = 0;
          for (const p of parts) {
            all.set(p, at);
            at += p.length;
          }
          if (harness.refuseSave) throw new DOMException('The request is not allowed.', 'NotAllowedError');
          handle.bytes = all;
          harness.saved[handle.name] = toBase64(all);
        },
        async abort() {},
      };
    }
    async queryPermission() {
      return 'granted';
    }
    async requestPermission() {
      return 'granted';
    }
  }

  window.showOpenFilePicker = async (options) => {
    harness.openPickerOptions = options || {};
    const next = harness.open.shift();
    if (!next) throw new DOMException('The user aborted a request.', 'AbortError');
    return [new StandInFileHandle(next.name, fromBase64(next.base64))];
  };
  window.showSaveFilePicker = async (options) => {
    harness.savePickerOptions = options || {};
    const name = harness.saveAs || (options && options.suggestedName) || 'untitled';
    if (harness.cancelSave) throw new DOMException('The user aborted a request.', 'AbortError');
    return new StandInFileHandle(name, new Uint8Array());
  };
})();
