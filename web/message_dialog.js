// The modal message box: caption, error icon, text and one "확인" button.
// showModal() makes the rest of the page inert; the focus goes back to where
// it was when the box closes (by the button or by Escape).

export function createMessageDialog(document) {
    const dialog = document.createElement('dialog');
    dialog.id = 'MessageBox';
    dialog.className = 'message-box';
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-labelledby', 'MessageBox-caption');
    dialog.setAttribute('aria-describedby', 'MessageBox-text');

    const titleBar = document.createElement('div');
    titleBar.className = 'title-bar';
    const caption = document.createElement('span');
    caption.id = 'MessageBox-caption';
    titleBar.append(caption);

    const body = document.createElement('div');
    body.className = 'message-body';
    const icon = document.createElement('img');
    icon.src = 'error-icon.svg';
    icon.alt = '오류';
    icon.width = 32;
    icon.height = 32;
    const text = document.createElement('p');
    text.id = 'MessageBox-text';
    body.append(icon, text);

    const buttons = document.createElement('div');
    buttons.className = 'message-buttons';
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.textContent = '확인';
    buttons.append(ok);

    dialog.append(titleBar, body, buttons);
    document.body.append(dialog);

    let returnFocus = null;
    ok.addEventListener('click', () => dialog.close());
    dialog.addEventListener('close', () => {
        if (returnFocus?.isConnected) {
            returnFocus.focus();
        }
        returnFocus = null;
    });

    function show(message, title) {
        caption.textContent = title;
        text.textContent = message;
        if (dialog.open) {
            return;
        }
        returnFocus = document.activeElement;
        // The box takes the focus. A caret left in a text box of megabytes
        // would cost Chromium half a second as the page turns inert.
        document.getSelection()?.removeAllRanges();
        dialog.showModal();
        ok.focus();
    }

    return { show, element: dialog };
}
