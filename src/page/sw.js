// sw.js: the page's service worker, which keeps the page's files for visits without a network.
// The build writes the cache's name from its files' hash: a new build is a new worker, whose
// cache replaces the last one's whole.
const CACHE = 'valdrune-@EMPREINTE@';
const FICHIERS = [
  './', 'index.html', 'index.js', 'index.wasm', 'index.data', 'arial.ttf',
  'manifest.webmanifest', 'icone-192.png', 'icone-512.png',
];

self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(CACHE).then((c) => c.addAll(FICHIERS)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
    .then((noms) => Promise.all(noms.filter((n) => n != CACHE).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The network first, so that an update is seen at once; the kept files when it fails. The
// address's query (?defi=N) chooses the mode, not the file.
self.addEventListener('fetch', (e) => {
  if (e.request.method != 'GET' || new URL(e.request.url).origin != location.origin) return;
  e.respondWith(fetch(e.request).catch(() =>
    caches.open(CACHE).then((c) => c.match(e.request, {ignoreSearch: true}))
      .then((r) => r || Response.error())));
});
