// A static server for the page on this machine only (127.0.0.1 is a secure context, as Web
// Serial and the service worker require). node web/serve.mjs [--port N] [--root DIR]
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json; charset=utf-8',
  '.webmanifest': 'application/manifest+json; charset=utf-8',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.ico': 'image/x-icon',
  '.q83': 'application/octet-stream',
};

export function serve({root, port = 0}) {
  const base = path.resolve(root);
  const server = http.createServer((req, res) => {
    let rel;
    try {
      rel = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    } catch (_) {
      res.writeHead(400).end();
      return;
    }
    if (rel.endsWith('/')) rel += 'index.html';
    const file = path.resolve(base, '.' + rel);
    // Only what lies inside the site, whatever the request's dots say.
    if (file !== base && !file.startsWith(base + path.sep)) {
      res.writeHead(403).end();
      return;
    }
    fs.readFile(file, (err, data) => {
      if (err) {
        res.writeHead(404, {'Content-Type': 'text/plain; charset=utf-8'}).end('not found\n');
        return;
      }
      res.writeHead(200, {
        'Content-Type': types[path.extname(file).toLowerCase()] || 'application/octet-stream',
        'Cache-Control': 'no-cache',
      });
      res.end(data);
    });
  });
  return new Promise((resolve) =>
    server.listen(port, '127.0.0.1', () =>
      resolve({server, url: `http://127.0.0.1:${server.address().port}/`})));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const option = (name, fallback) => {
    const i = args.indexOf(name);
    return i >= 0 && i + 1 < args.length ? args[i + 1] : fallback;
  };
  const here = path.dirname(fileURLToPath(import.meta.url));
  const root = option('--root', path.join(here, '..', 'build-web', 'site'));
  if (!fs.existsSync(path.join(root, 'index.html'))) {
    console.error(`serve: ${root}/index.html is missing; build the page with scripts/build-web`);
    process.exit(1);
  }
  const {url} = await serve({root, port: Number(option('--port', '8083'))});
  console.log(url);
}
