// Keeps the whole site in the browser's cache so the page opens and works without a network,
// as an installed program does. The list of files and the version come from asset-list.json,
// written by the build: a new build is a new cache, and the old one is dropped once the new
// one is complete, so an update never leaves a page half old and half new.
const LIST = 'asset-list.json';

async function assets() {
  const reply = await fetch(LIST, {cache: 'no-store'});
  if (!reply.ok) throw new Error(`${LIST}: ${reply.status}`);
  return reply.json();  // {version, files: [...]}
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const {version, files} = await assets();
    const cache = await caches.open(`qm830k-${version}`);
    await cache.addAll(['./', ...files]);
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    const {version} = await assets().catch(() => ({version: null}));
    if (version) {
      for (const name of await caches.keys()) {
        if (name.startsWith('qm830k-') && name !== `qm830k-${version}`) await caches.delete(name);
      }
    }
    await self.clients.claim();
  })());
});

// The network first, so a served update is seen at once; the kept copy when the network is
// away. Only the build's own files are kept (at install), so nothing else piles up.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    try {
      return await fetch(request);
    } catch (e) {
      const kept = await caches.match(request, {ignoreSearch: true});
      if (kept) return kept;
      throw e;
    }
  })());
});
