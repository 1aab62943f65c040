// The calculator as a WebAssembly module, for browsers and Node 18+ alike.
// The numbers, messages, reports and the window's behaviour all come from the
// same C++ core the desktop windows and karbelon-cli use; this file only
// carries texts across (UTF-8 with lengths) and parses the JSON answers.

const notLoaded = 'karbelon: call load() first';
const defaultConventions = Object.freeze({ decimalSeparator: '.', thousandsSeparator: ',' });

const encoder = new TextEncoder();
const decoder = new TextDecoder();

let loading = null;
let exports = null;

// JS objects the module calls back (views, measures), by the number it knows them by.
const hostObjects = new Map();
let nextHandle = 1;

// A view of the memory as it is now: growing it detaches the old buffer, so
// no view is kept across calls into the module.
function memoryBytes() {
  return new Uint8Array(exports.memory.buffer);
}

function readText(pointer, length) {
  const start = pointer >>> 0;
  return decoder.decode(memoryBytes().subarray(start, start + (length >>> 0)));
}

function readResult() {
  return readText(exports.karbelon_result_data(), exports.karbelon_result_size());
}

function requireLoaded() {
  if (exports === null) {
    throw new Error(notLoaded);
  }
}

function requireString(value, name) {
  if (typeof value !== 'string') {
    throw new TypeError(`${name} must be a string`);
  }
  return value;
}

function requireObject(value, name) {
  if (value === null || typeof value !== 'object') {
    throw new TypeError(`${name} must be an object`);
  }
  return value;
}

function requireOperations(object, name, operations) {
  requireObject(object, name);
  for (const operation of operations) {
    if (typeof object[operation] !== 'function') {
      throw new TypeError(`${name}.${operation} must be a function`);
    }
  }
}

function conventionTexts(conventions) {
  if (conventions === undefined) {
    return [defaultConventions.decimalSeparator, defaultConventions.thousandsSeparator];
  }
  requireObject(conventions, 'conventions');
  const decimal = conventions.decimalSeparator ?? defaultConventions.decimalSeparator;
  const thousands = conventions.thousandsSeparator ?? defaultConventions.thousandsSeparator;
  return [requireString(decimal, 'decimalSeparator'), requireString(thousands, 'thousandsSeparator')];
}

// TextEncoder writes at most three bytes for each UTF-16 unit (a lone
// surrogate becomes U+FFFD, three bytes; a pair four).
const maximumBytesPerUnit = 3;
// Far beyond any box's text, and well inside the 4 GiB a 32-bit module can
// address even after the copies the core makes.
const maximumUnits = 256 * 1024 * 1024;

// Writes the texts into the module's exchange buffer as N 32-bit lengths
// followed by the UTF-8 texts, and returns the buffer's address.
function writeTexts(texts) {
  let units = 0;
  for (const text of texts) {
    units += text.length;
  }
  if (units > maximumUnits) {
    throw new RangeError('karbelon: the texts are too large (more than 256 Mi UTF-16 units)');
  }
  const header = 4 * texts.length;
  const pointer = exports.karbelon_buffer(header + maximumBytesPerUnit * units) >>> 0;
  const memory = memoryBytes();
  const lengths = new DataView(memory.buffer, pointer, header);
  let at = pointer + header;
  texts.forEach((text, index) => {
    const { written } = encoder.encodeInto(text, memory.subarray(at, at + maximumBytesPerUnit * text.length));
    lengths.setUint32(4 * index, written, true);
    at += written;
  });
  return pointer;
}

// The reply to view.controlText, left in the exchange buffer for the module.
function writeReply(text) {
  const room = maximumBytesPerUnit * text.length;
  const pointer = exports.karbelon_buffer(room) >>> 0;
  return encoder.encodeInto(text, memoryBytes().subarray(pointer, pointer + room)).written;
}

function hostObject(handle) {
  return hostObjects.get(handle);
}

function register(object) {
  const handle = nextHandle++;
  hostObjects.set(handle, object);
  return handle;
}

const imports = {
  karbelon: {
    view_control_text(view, name, nameSize) {
      const controlName = readText(name, nameSize);
      const text = hostObject(view).controlText(controlName);
      if (typeof text !== 'string') {
        throw new TypeError(`view.controlText('${controlName}') must return a string`);
      }
      return writeReply(text);
    },
    view_set_control_text(view, name, nameSize, text, textSize) {
      hostObject(view).setControlText(readText(name, nameSize), readText(text, textSize));
    },
    view_append_spell_item(view, text, textSize) {
      hostObject(view).appendSpellItem(readText(text, textSize));
    },
    view_show_error_message(view, text, textSize, caption, captionSize) {
      hostObject(view).showErrorMessage(readText(text, textSize), readText(caption, captionSize));
    },
    view_unload(view) {
      hostObject(view).unload();
    },
    view_open_author_page(view, address, addressSize) {
      hostObject(view).openAuthorPage(readText(address, addressSize));
    },
    measure_report_fits(measure, report, reportSize, size) {
      return hostObject(measure).reportFits(readText(report, reportSize), size) ? 1 : 0;
    },
    measure_caption_fits(measure, name, nameSize, size) {
      return hostObject(measure).captionFits(readText(name, nameSize), size) ? 1 : 0;
    },
  },
};

function isFileUrl(url) {
  return url instanceof URL && url.protocol === 'file:';
}

function resolveSource(source) {
  if (source === undefined) {
    return new URL('./karbelon.wasm', import.meta.url);
  }
  if (typeof source === 'string') {
    const base = globalThis.document?.baseURI ?? import.meta.url;
    return new URL(source, base);
  }
  return source;
}

async function instantiateResponse(response) {
  if (!response.ok) {
    throw new Error(`karbelon: cannot load the module (HTTP ${response.status})`);
  }
  if (typeof WebAssembly.instantiateStreaming === 'function') {
    try {
      return await WebAssembly.instantiateStreaming(response.clone(), imports);
    } catch (error) {
      // A server that sends the module with another MIME type than
      // application/wasm: compile from the bytes instead.
      if (!(error instanceof TypeError)) {
        throw error;
      }
    }
  }
  return WebAssembly.instantiate(await response.arrayBuffer(), imports);
}

async function instantiate(source) {
  // A promise of a source: a page may start fetching or compiling early.
  const resolved = resolveSource(await source);
  if (resolved instanceof WebAssembly.Module) {
    // Compiled already: instantiating is quick, and done at once it lets no
    // other task (a frame, an image) run before the page goes on.
    return { instance: new WebAssembly.Instance(resolved, imports) };
  }
  if (isFileUrl(resolved)) {
    const { readFile } = await import('node:fs/promises');
    return WebAssembly.instantiate(await readFile(resolved), imports);
  }
  if (resolved instanceof URL) {
    return instantiateResponse(await fetch(resolved));
  }
  if (typeof Response !== 'undefined' && resolved instanceof Response) {
    return instantiateResponse(resolved);
  }
  if (resolved instanceof ArrayBuffer || ArrayBuffer.isView(resolved)) {
    return WebAssembly.instantiate(resolved, imports);
  }
  throw new TypeError('source must be a URL, a string, a Response, an ArrayBuffer, a Uint8Array or a WebAssembly.Module');
}

export function load(source) {
  if (loading === null) {
    loading = instantiate(source).then(({ instance }) => {
      instance.exports._initialize();
      exports = instance.exports;
    });
  }
  return loading;
}

// The request's members, in order, then the two separators: the texts a
// calculation takes.
function requestTexts(request, members, conventions) {
  requireLoaded();
  requireObject(request, 'request');
  const texts = members.map((member) => requireString(request[member], member));
  texts.push(...conventionTexts(conventions));
  return texts;
}

const calculateMembers = ['spell', 'hp', 'mp', 'defence'];
const compareMembers = ['hp', 'mp', 'defence']; // every spell of the table instead of one

// One request, answered as karbelon-cli --batch answers its line: for sites
// and bots that calculate without a window.
export function calculate(request, conventions) {
  const texts = requestTexts(request, calculateMembers, conventions);
  exports.karbelon_calculate(writeTexts(texts));
  return JSON.parse(readResult());
}

export function compareSpells(request, conventions) {
  const texts = requestTexts(request, compareMembers, conventions);
  exports.karbelon_compare_spells(writeTexts(texts));
  return JSON.parse(readResult());
}

export function controlTable() {
  requireLoaded();
  exports.karbelon_control_table();
  return JSON.parse(readResult());
}

const viewOperations = [
  'controlText',
  'setControlText',
  'appendSpellItem',
  'showErrorMessage',
  'unload',
  'openAuthorPage',
];

export function createForm1(view, conventions) {
  requireLoaded();
  requireOperations(view, 'view', viewOperations);
  const [decimal, thousands] = conventionTexts(conventions);
  const handle = register(view);
  let form = exports.karbelon_form1_create(handle, writeTexts([decimal, thousands]));
  const live = () => {
    if (form === 0) {
      throw new Error('karbelon: this Form1 was disposed');
    }
    return form;
  };
  return {
    load: () => exports.karbelon_form1_load(live()),
    command1Click: () => exports.karbelon_form1_command1_click(live()),
    command2Click: () => exports.karbelon_form1_command2_click(live()),
    label6Click: () => exports.karbelon_form1_label6_click(live()),
    dispose() {
      if (form !== 0) {
        exports.karbelon_form1_destroy(form);
        hostObjects.delete(handle);
        form = 0;
      }
    },
  };
}

function requireInteger(value, name) {
  if (!Number.isInteger(value) || value < -0x80000000 || value > 0x7fffffff) {
    throw new TypeError(`${name} must be an integer`);
  }
  return value;
}

export function chooseTextSize(measure, systemSize, smallestSize, conventions) {
  requireLoaded();
  requireOperations(measure, 'measure', ['reportFits', 'captionFits']);
  requireInteger(systemSize, 'systemSize');
  requireInteger(smallestSize, 'smallestSize');
  const block = writeTexts(conventionTexts(conventions));
  const handle = register(measure);
  try {
    return exports.karbelon_choose_text_size(handle, systemSize, smallestSize, block);
  } finally {
    hostObjects.delete(handle);
  }
}
