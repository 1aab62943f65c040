// An editable combo box after the WAI-ARIA "Editable Combobox without
// Autocomplete" pattern: the text stays as typed, the list is never filtered,
// Enter adds nothing, and choosing an entry only sets the text.

// Gives the box of that id its behaviour: its markup (comboboxMarkup in
// form_markup.js) is written into the page at build time.
export function attachCombobox(document, id) {
    const input = document.getElementById(id);
    const root = input.parentElement;
    const button = root.querySelector('.combobox-button');
    const listbox = document.getElementById(`${id}-list`);

    let activeIndex = -1;
    const options = () => [...listbox.children];

    function setActive(index) {
        activeIndex = index;
        options().forEach((option, at) => option.setAttribute('aria-selected', String(at === index)));
        if (index < 0) {
            input.removeAttribute('aria-activedescendant');
            return;
        }
        const option = options()[index];
        input.setAttribute('aria-activedescendant', option.id);
        option.scrollIntoView({ block: 'nearest' });
    }

    function isOpen() {
        return !listbox.hidden;
    }

    function open(activate) {
        listbox.hidden = false;
        input.setAttribute('aria-expanded', 'true');
        button.setAttribute('aria-expanded', 'true');
        setActive(activate);
    }

    function close() {
        setActive(-1);
        listbox.hidden = true;
        input.setAttribute('aria-expanded', 'false');
        button.setAttribute('aria-expanded', 'false');
    }

    function choose(index) {
        input.value = options()[index].textContent;
        close();
    }

    function step(delta) {
        const count = options().length;
        if (count === 0) {
            return;
        }
        if (!isOpen()) {
            open(delta > 0 ? 0 : count - 1);
            return;
        }
        setActive(activeIndex < 0 ? (delta > 0 ? 0 : count - 1) : (activeIndex + delta + count) % count);
    }

    input.addEventListener('keydown', (event) => {
        switch (event.key) {
        case 'ArrowDown':
            if (event.altKey) {
                if (!isOpen()) {
                    open(-1);
                }
            } else {
                step(1);
            }
            event.preventDefault();
            break;
        case 'ArrowUp':
            if (event.altKey) {
                if (isOpen() && activeIndex >= 0) {
                    choose(activeIndex);
                } else {
                    close();
                }
            } else {
                step(-1);
            }
            event.preventDefault();
            break;
        case 'Enter':
            if (isOpen() && activeIndex >= 0) {
                choose(activeIndex);
                event.preventDefault();
            }
            break;
        case 'Escape':
            if (isOpen()) {
                close();
                event.preventDefault();
            }
            break;
        default:
            break;
        }
    });
    // Typing leaves the list as it is; only the highlighted entry goes.
    input.addEventListener('input', () => setActive(-1));
    input.addEventListener('blur', close);

    // The input keeps the focus while the pointer works the button and list.
    // A finger leaves the focus where it was: put into the box, it would
    // bring up the on-screen keyboard over the list and the buttons.
    const keepFocus = (event) => event.preventDefault();
    let pointerType = '';
    const notePointer = (event) => {
        pointerType = event.pointerType;
    };
    const focusAfterPointer = () => {
        if (pointerType !== 'touch') {
            input.focus();
        }
        pointerType = '';
    };
    for (const target of [button, listbox]) {
        target.addEventListener('pointerdown', notePointer);
        target.addEventListener('mousedown', keepFocus);
    }
    button.addEventListener('click', () => {
        if (isOpen()) {
            close();
        } else {
            open(-1);
        }
        focusAfterPointer();
    });
    listbox.addEventListener('click', (event) => {
        const option = event.target.closest('[role="option"]');
        if (option) {
            choose(options().indexOf(option));
            focusAfterPointer();
        }
    });
    // Without the focus in the box, its blur cannot close the list: a tap
    // anywhere else does. A click elsewhere has taken the focus first.
    document.addEventListener('click', (event) => {
        if (isOpen() && !root.contains(event.target)) {
            close();
        }
    });

    function addOption(text) {
        const option = document.createElement('li');
        option.id = `${id}-option-${listbox.children.length}`;
        option.setAttribute('role', 'option');
        option.setAttribute('aria-selected', 'false');
        option.textContent = text;
        listbox.append(option);
    }

    return { root, input, listbox, addOption, close };
}
