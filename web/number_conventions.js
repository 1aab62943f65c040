// The decimal and group separators of a locale, as the browser formats
// numbers there; the module takes them as a value, like the desktop views
// pass the system's.
export function numberConventions(locale) {
    const parts = new Intl.NumberFormat(locale).formatToParts(1234567.5);
    const separator = (type, fallback) => parts.find((part) => part.type === type)?.value ?? fallback;
    return { decimalSeparator: separator('decimal', '.'), thousandsSeparator: separator('group', ',') };
}

// The browser's, read once as soon as the page names this file (an async
// script): the first Intl call in a page costs tens of milliseconds, which
// are best spent while the page's other files still load.
export const browserConventions = typeof navigator === 'object' ? numberConventions(navigator.language) : null;
