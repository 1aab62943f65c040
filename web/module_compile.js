// Starts compiling the module as soon as the page names this file (an async
// script), while the page's other scripts still load; app.js imports the
// same instance of this file and instantiates what it gives. Where streaming
// compilation fails (a server that sends another MIME type), it gives
// nothing and load() fetches the module itself.
export const compiledModule =
    typeof WebAssembly.compileStreaming === 'function'
        ? WebAssembly.compileStreaming(fetch('karbelon.wasm')).catch(() => undefined)
        : Promise.resolve(undefined);
