// The page's first script. The build writes it into index.html's head, after
// the links that request the page's other files and before the stylesheet,
// so it runs while those files are still loading. A script of its own file
// would hold back the other requests until it arrived, and a module or async
// script only runs after the first paint; both put this work in the way.
// It starts the two slow things that need nothing else of the page: compiling
// the module, and reading the browser's number separators (a page's first
// Intl.NumberFormat costs tens of milliseconds). app.js takes both from
// globalThis.karbelonStart.
'use strict';

globalThis.karbelonStart = (() => {
    // The decimal and group separators of a locale, as the browser formats
    // numbers there; the module takes them as a value, like the desktop
    // views pass the system's.
    const numberConventions = (locale) => {
        let format;
        try {
            format = new Intl.NumberFormat(locale);
        } catch {
            format = new Intl.NumberFormat(); // a tag Intl rejects: the browser's default
        }
        const parts = format.formatToParts(1234567.5);
        const separator = (type, fallback) => parts.find((part) => part.type === type)?.value ?? fallback;
        return { decimalSeparator: separator('decimal', '.'), thousandsSeparator: separator('group', ',') };
    };
    // Where streaming compilation fails (a server that sends another MIME
    // type), this gives nothing and load() fetches the module itself; where
    // WebAssembly is switched off, loading fails and the page says so.
    const streaming =
        typeof WebAssembly === 'object' &&
        typeof WebAssembly.compileStreaming === 'function' &&
        typeof fetch === 'function';
    const compiledModule = streaming
        ? WebAssembly.compileStreaming(fetch('karbelon.wasm')).catch(() => undefined)
        : Promise.resolve(undefined);
    return { numberConventions, compiledModule, conventions: numberConventions(navigator.language) };
})();
