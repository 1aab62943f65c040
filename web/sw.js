// Keeps the page's files for offline use. The build writes the version (a
// digest of the files) and the file list, so a new version brings a new cache
// and the old one is dropped.
const cacheVersion = 'development';
const pageFiles = ['./'];

const cachePrefix = 'karbelon-web-';
const cacheName = `${cachePrefix}${cacheVersion}`;

self.addEventListener('install', (event) => {
    event.waitUntil(
        caches
            .open(cacheName)
            .then((cache) => cache.addAll(pageFiles.map((file) => new Request(file, { cache: 'reload' }))))
            .then(() => self.skipWaiting()),
    );
});

self.addEventListener('activate', (event) => {
    event.waitUntil(
        caches
            .keys()
            .then((names) =>
                Promise.all(
                    names
                        .filter((name) => name.startsWith(cachePrefix) && name !== cacheName)
                        .map((name) => caches.delete(name)),
                ),
            )
            .then(() => self.clients.claim()),
    );
});

self.addEventListener('fetch', (event) => {
    const { request } = event;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) {
        return;
    }
    event.respondWith(
        caches
            .open(cacheName)
            .then((cache) => cache.match(request, { ignoreSearch: true }))
            .then((cached) => cached ?? fetch(request)),
    );
});
