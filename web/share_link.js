// A calculation's link: its request's texts in the address fragment, which
// never reaches a server. `#spell=…&hp=…&mp=…&defence=…`, written by the
// rules of URLSearchParams (a blank as '+', all else percent-encoded UTF-8).

// Longer texts stay out of the address: browsers cap it at 2 MB, chats far sooner.
export const longestFragment = 65536;

// The fragment for a request ({field: text}, in the boxes' order), or null
// where it would be longer than a link may be.
export function requestFragment(request) {
    const entries = Object.entries(request);
    // Encoding only lengthens a text, so a long one is refused unencoded.
    if (entries.reduce((length, [field, text]) => length + field.length + text.length + 2, 0) > longestFragment) {
        return null;
    }
    const fragment = `#${new URLSearchParams(entries)}`;
    return fragment.length > longestFragment ? null : fragment;
}

// A form-encoded text decoded, or null where its percent-encoding is broken
// (a stray '%', a cut or invalid UTF-8 sequence).
function decoded(text) {
    try {
        return decodeURIComponent(text.replaceAll('+', ' '));
    } catch {
        return null;
    }
}

// The texts a fragment gives for the named fields, by field: each field's
// first occurrence, exactly as encoded. Unknown fields, a field without '='
// (a cut address) and broken encodings give nothing.
export function fragmentTexts(fragment, fields) {
    const texts = new Map();
    const seen = new Set();
    const body = fragment.startsWith('#') ? fragment.slice(1) : fragment;
    for (const pair of body.split('&')) {
        const equals = pair.indexOf('=');
        const field = equals < 0 ? null : decoded(pair.slice(0, equals));
        if (field === null || !fields.includes(field) || seen.has(field)) {
            continue;
        }
        seen.add(field);
        const text = decoded(pair.slice(equals + 1));
        if (text !== null) {
            texts.set(field, text);
        }
    }
    return texts;
}

// Puts the request's fragment into the address without a history entry and
// gives the link, or takes the fragment out (null) where it is too long, so
// the address never holds another calculation than the one on show.
export function showInAddress(request, window) {
    const fragment = requestFragment(request);
    if (fragment === null) {
        clearAddress(window);
        return null;
    }
    // The same texts again leave the address alone: a change costs Chromium a trip to its browser process.
    if (window.location.hash !== fragment) {
        replaceAddress(window, fragment);
    }
    return new URL(fragment, window.location.href).href;
}

// The address without a calculation, still without a history entry.
export function clearAddress(window) {
    replaceAddress(window, `${window.location.pathname}${window.location.search}`);
}

// A browser may refuse (a sandboxed frame) or drop (too many in a row) an
// address change; the page goes on, and the link is still the request's.
function replaceAddress({ history }, address) {
    try {
        history.replaceState(history.state, '', address);
    } catch {
        // The address keeps what it held.
    }
}
