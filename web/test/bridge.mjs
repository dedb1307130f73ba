// The far end of the navigator.serial stand-in: each WebSocket the page opens is one open of
// the simulator's terminal, with the bytes passed through unchanged both ways. pull() and
// pullAfter() cut the line as a pulled cable would.
import fs from 'node:fs';
import tty from 'node:tty';
import {WebSocketServer} from 'ws';

export async function startBridge({link, port = 0}) {
  const server = new WebSocketServer({host: '127.0.0.1', port});
  await new Promise((resolve) => server.once('listening', resolve));
  const state = {toRadio: 0, fromRadio: 0, opens: 0, cutAfter: Infinity, sockets: new Set()};

  server.on('connection', (socket, request) => {
    // The stand-in's warm-up at page load, which opens no line (see serial-standin.js).
    if (request.url === '/warm') {
      socket.close();
      return;
    }
    state.opens += 1;
    let fd;
    try {
      fd = fs.openSync(link, fs.constants.O_RDWR | fs.constants.O_NOCTTY);
    } catch (e) {
      socket.close(1011, String(e.code || e));
      return;
    }
    // The terminal side in raw mode, as the desktop program sets its serial port: no echo,
    // no line editing, no CR/LF translation, every byte as it comes.
    const input = new tty.ReadStream(fd);
    input.setRawMode(true);
    state.sockets.add(socket);
    let closed = false;
    const finish = () => {
      if (closed) return;
      closed = true;
      state.sockets.delete(socket);
      input.destroy();  // closes fd
    };
    input.on('data', (chunk) => {
      state.fromRadio += chunk.length;
      if (socket.readyState === socket.OPEN) socket.send(chunk);
    });
    input.on('error', () => {});
    socket.on('message', (data) => {
      const bytes = Buffer.from(data);
      state.toRadio += bytes.length;
      try {
        fs.writeSync(fd, bytes);
      } catch (_) {
        socket.terminate();
      }
      if (state.toRadio + state.fromRadio >= state.cutAfter) socket.terminate();
    });
    socket.on('close', finish);
    socket.on('error', finish);
  });

  return {
    url: `ws://127.0.0.1:${server.address().port}`,
    state,
    // The cable pulled now.
    pull() {
      for (const s of state.sockets) s.terminate();
    },
    // The cable pulled once this many more bytes have crossed it either way.
    pullAfter(bytes) {
      state.cutAfter = state.toRadio + state.fromRadio + bytes;
    },
    reset() {
      state.cutAfter = Infinity;
    },
    async close() {
      for (const s of state.sockets) s.terminate();
      await new Promise((resolve) => server.close(resolve));
    },
  };
}
