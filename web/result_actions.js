// What stands under the report, outside the panel: the buttons that copy the
// report, copy the comparison, or share a link, with a status line that
// screen readers announce; and a hidden live region that reads each new
// report aloud once.
import { pageTexts } from './page_texts.js';

// Rows of cell texts as a spreadsheet pastes them: tabs between cells.
export function tabSeparated(rows) {
    return rows.map((cells) => cells.join('\t')).join('\n');
}

// sources: reportText() the result box's text, tableRows() the comparison's
// rows of cell texts, shareData() {title, text, url} with url null where the
// request is too long for a link.
export function createResultActions(document, { reportText, tableRows, shareData }) {
    const { navigator } = document.defaultView;
    const group = document.createElement('div');
    group.className = 'result-actions';
    group.setAttribute('role', 'group');
    group.setAttribute('aria-label', pageTexts.actionsName);
    const buttons = document.createElement('div');
    buttons.className = 'result-buttons';
    const status = document.createElement('p');
    status.id = 'share-status';
    status.setAttribute('role', 'status');
    group.append(buttons, status);

    const say = (text) => status.replaceChildren(text);

    async function copy(text, done) {
        try {
            await navigator.clipboard.writeText(text);
            say(done);
        } catch {
            say(pageTexts.copyFailed);
        }
    }

    // The system's share sheet where there is one; a cancelled sheet says
    // nothing, a refused one falls back to copying the link.
    async function share() {
        const data = shareData();
        if (data.url === null) {
            say(pageTexts.linkTooLong);
            return;
        }
        if (typeof navigator.share === 'function' && (navigator.canShare?.(data) ?? true)) {
            try {
                await navigator.share(data);
                say(pageTexts.shared);
                return;
            } catch (error) {
                if (error?.name === 'AbortError') {
                    say('');
                    return;
                }
            }
        }
        await copy(data.url, pageTexts.linkCopied);
    }

    const actions = [
        ['copy-report', pageTexts.copyReport, () => copy(reportText(), pageTexts.reportCopied)],
        ['copy-table', pageTexts.copyTable, () => copy(tabSeparated(tableRows()), pageTexts.tableCopied)],
        ['share-link', pageTexts.shareLink, share],
    ];
    for (const [id, text, act] of actions) {
        const button = document.createElement('button');
        button.type = 'button';
        button.id = id;
        button.textContent = text;
        button.disabled = true;
        button.addEventListener('click', act);
        buttons.append(button);
    }

    const announcer = document.createElement('div');
    announcer.id = 'report-announcer';
    announcer.className = 'visually-hidden';
    announcer.setAttribute('aria-live', 'polite');
    announcer.setAttribute('aria-atomic', 'true');

    // After each calculation that shows a report: the buttons work from now
    // on, an earlier confirmation goes, and the report is read aloud.
    function reportShown(report) {
        for (const button of buttons.children) {
            button.disabled = false;
        }
        say('');
        announcer.replaceChildren(report);
    }

    return { element: group, announcer, reportShown };
}
