// What the page starts as soon as it names this file (an async script, so
// before its other scripts have loaded); app.js imports this same instance.
// Both take long and need nothing else of the page: compiling the module,
// and reading the browser's number separators (a page's first
// Intl.NumberFormat costs tens of milliseconds).

// The decimal and group separators of a locale, as the browser formats
// numbers there; the module takes them as a value, like the desktop views
// pass the system's.
export function numberConventions(locale) {
    const parts = new Intl.NumberFormat(locale).formatToParts(1234567.5);
    const separator = (type, fallback) => parts.find((part) => part.type === type)?.value ?? fallback;
    return { decimalSeparator: separator('decimal', '.'), thousandsSeparator: separator('group', ',') };
}

const inPage = typeof document === 'object';

// Where streaming compilation fails (a server that sends another MIME type),
// this gives nothing and load() fetches the module itself.
export const compiledModule =
    inPage && typeof WebAssembly.compileStreaming === 'function'
        ? WebAssembly.compileStreaming(fetch('karbelon.wasm')).catch(() => undefined)
        : Promise.resolve(undefined);

export const browserConventions = inPage ? numberConventions(navigator.language) : null;
