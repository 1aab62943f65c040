// The calculator as a WebAssembly module, for browsers and Node 18+ alike.
// The numbers, messages, reports and the window's behaviour all come from the
// same C++ core the desktop windows and karbelon-cli use; this file only
// carries texts across (UTF-8 with lengths) and turns answers into objects.

const notLoaded = 'karbelon: call load() first';
const defaultConventions = Object.freeze({ decimalSeparator: '.', thousandsSeparator: ',' });

const encoder = new TextEncoder();
const decoder = new TextDecoder('utf-8', { fatal: false });

let loading = null;
let exports = null;
let bytes = new Uint8Array(0);
let words = new Uint32Array(0);
let doubles = new Float64Array(0);
// In Node, Buffer decodes short UTF-8 texts about three times faster than
// TextDecoder does; both give U+FFFD for what is not UTF-8.
const NodeBuffer = globalThis.Buffer;
let nodeBytes = null;

// JS objects the module calls back (views, measures), by the number it knows them by.
const hostObjects = new Map();
let nextHandle = 1;

// Growing the memory detaches its old buffer, and views of a detached buffer
// are empty: a cheap test where asking for memory.buffer is not.
function memoryBytes() {
  if (bytes.length === 0) {
    const { buffer } = exports.memory;
    bytes = new Uint8Array(buffer);
    words = new Uint32Array(buffer);
    doubles = new Float64Array(buffer);
    nodeBytes = NodeBuffer === undefined ? null : NodeBuffer.from(buffer);
  }
  return bytes;
}

function readText(pointer, length) {
  const start = pointer >>> 0;
  const end = start + (length >>> 0);
  memoryBytes();
  return nodeBytes === null ? decoder.decode(bytes.subarray(start, end)) : nodeBytes.toString('utf8', start, end);
}

// In Node, Buffer makes a string of UTF-16 units several times faster than
// it (or TextDecoder) decodes UTF-8, so there the module hands the answer of
// calculate() over as UTF-16 units as well, when they are well-formed.
const wantUnits = NodeBuffer === undefined ? 0 : 1;
const notConverted = 0xffffffff;
// Buffer's own ucs2Slice (in every Node release so far) saves the detour
// through toString's encoding lookup; toString is the fallback.
const ucs2Slice =
  typeof NodeBuffer?.prototype.ucs2Slice === 'function'
    ? NodeBuffer.prototype.ucs2Slice
    : function ucs2Slice(start, end) {
        return this.toString('utf16le', start, end);
      };

function readUnits(pointer, count) {
  const start = pointer >>> 0;
  memoryBytes();
  return ucs2Slice.call(nodeBytes, start, start + 2 * count);
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

// Bytes of a text in UTF-8 as TextEncoder writes it (a lone surrogate
// becomes U+FFFD, three bytes).
function utf8Length(text) {
  let length = text.length;
  for (let i = 0; i < text.length; ++i) {
    const unit = text.charCodeAt(i);
    if (unit >= 0x80) {
      if (unit < 0x800) {
        length += 1;
      } else if (unit >= 0xd800 && unit <= 0xdbff && i + 1 < text.length &&
                 (text.charCodeAt(i + 1) & 0xfc00) === 0xdc00) {
        length += 2; // a pair: two units, four bytes
        ++i;
      } else {
        length += 2;
      }
    }
  }
  return length;
}

// Writes the texts into the module's exchange buffer as N 32-bit lengths
// followed by the UTF-8 texts, and returns the buffer's address. One
// encodeInto for all of them: the call, not the bytes, is what costs.
const textLengths = [];
// Far beyond any box's text, and well inside the 4 GiB a 32-bit module can
// address even after the copies the core makes.
const maximumTextBytes = 512 * 1024 * 1024;

function writeTexts(texts) {
  const header = 4 * texts.length;
  let total = 0;
  for (let i = 0; i < texts.length; ++i) {
    textLengths[i] = utf8Length(texts[i]);
    total += textLengths[i];
  }
  if (total > maximumTextBytes) {
    throw new RangeError('karbelon: the texts are too large (more than 512 MiB in UTF-8)');
  }
  const pointer = exchangeBuffer(header + total);
  memoryBytes();
  for (let i = 0; i < texts.length; ++i) {
    words[(pointer >>> 2) + i] = textLengths[i];
  }
  const start = pointer + header;
  const { written } = encoder.encodeInto(texts.join(''), bytes.subarray(start, start + total));
  if (written !== total) {
    throw new Error('karbelon: UTF-8 length mismatch'); // a bug here, never the caller's
  }
  return pointer;
}

// Writes a short text as UTF-8 at output[at], exactly as TextEncoder does
// (a lone surrogate becomes U+FFFD), and returns where it ends: for a few
// characters a loop here is cheaper than a native call.
function encodeShort(text, output, at) {
  for (let i = 0; i < text.length; ++i) {
    let unit = text.charCodeAt(i);
    if (unit < 0x80) {
      output[at++] = unit;
      continue;
    }
    if (unit < 0x800) {
      output[at++] = 0xc0 | (unit >> 6);
      output[at++] = 0x80 | (unit & 0x3f);
      continue;
    }
    if (unit >= 0xd800 && unit <= 0xdfff) {
      const next = i + 1 < text.length ? text.charCodeAt(i + 1) : 0;
      if (unit <= 0xdbff && (next & 0xfc00) === 0xdc00) {
        const point = 0x10000 + ((unit - 0xd800) << 10) + (next - 0xdc00);
        output[at++] = 0xf0 | (point >> 18);
        output[at++] = 0x80 | ((point >> 12) & 0x3f);
        output[at++] = 0x80 | ((point >> 6) & 0x3f);
        output[at++] = 0x80 | (point & 0x3f);
        ++i;
        continue;
      }
      unit = 0xfffd;
    }
    output[at++] = 0xe0 | (unit >> 12);
    output[at++] = 0x80 | ((unit >> 6) & 0x3f);
    output[at++] = 0x80 | (unit & 0x3f);
  }
  return at;
}

// Where the six texts of a calculation are written when they are short
// (every box as typed): the exchange buffer is asked for once and reused
// while it is large enough. At most three bytes a UTF-16 unit.
const shortRequestUnits = 4096;
const shortRequestBytes = 4 * 6 + 3 * shortRequestUnits;
let requestBlock = 0;

// Writes one text of a block at start, its length in the header's slot, and
// returns where the next text starts.
function writeShortText(output, slot, text, start) {
  const end = encodeShort(text, output, start);
  words[slot] = end - start;
  return end;
}

// The block: six 32-bit lengths, then the six texts back to back.
function writeShortTexts(spell, hp, mp, defence, decimal, thousands) {
  if (requestBlock === 0) {
    requestBlock = exports.karbelon_buffer(shortRequestBytes) >>> 0;
  }
  const output = memoryBytes();
  const header = requestBlock >>> 2;
  let next = writeShortText(output, header, spell, requestBlock + 24);
  next = writeShortText(output, header + 1, hp, next);
  next = writeShortText(output, header + 2, mp, next);
  next = writeShortText(output, header + 3, defence, next);
  next = writeShortText(output, header + 4, decimal, next);
  writeShortText(output, header + 5, thousands, next);
  return requestBlock;
}

// The exchange buffer moves when anything else resizes it.
function exchangeBuffer(size) {
  requestBlock = 0;
  return exports.karbelon_buffer(size) >>> 0;
}

// The reply to view.controlText, left in the exchange buffer for the module.
function writeReply(text) {
  const pointer = exchangeBuffer(3 * text.length);
  const memory = memoryBytes();
  return encoder.encodeInto(text, memory.subarray(pointer, pointer + 3 * text.length)).written;
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

const outcomeNames = ['figures', 'message', 'defence-reset'];

// JSON has no infinity or NaN: the CLI writes null, and so does this.
const jsonNumber = (value) => (Number.isFinite(value) ? value : null);

// The request's members, in order, then the two separators: the texts a
// calculation takes.
function requestTexts(request, members, conventions) {
  requireLoaded();
  requireObject(request, 'request');
  const texts = members.map((member) => requireString(request[member], member));
  texts.push(...conventionTexts(conventions));
  return texts;
}

const compareMembers = ['hp', 'mp', 'defence']; // every spell of the table instead of one

function figuresOf(text, record) {
  const at = record >>> 3; // the record is 8-byte aligned: it starts with doubles
  return {
    outcome: 'figures',
    base: jsonNumber(doubles[at]),
    rate: jsonNumber(doubles[at + 1]),
    actual: jsonNumber(doubles[at + 2]),
    cooldown: jsonNumber(doubles[at + 3]),
    report: text,
  };
}

export function calculate(request, conventions) {
  requireLoaded();
  requireObject(request, 'request');
  // Checked in this order, the request's members before the conventions.
  const spell = requireString(request.spell, 'spell');
  const hp = requireString(request.hp, 'hp');
  const mp = requireString(request.mp, 'mp');
  const defence = requireString(request.defence, 'defence');
  let decimal = defaultConventions.decimalSeparator;
  let thousands = defaultConventions.thousandsSeparator;
  if (conventions !== undefined) {
    [decimal, thousands] = conventionTexts(conventions);
  }
  const units = spell.length + hp.length + mp.length + defence.length + decimal.length + thousands.length;
  const block =
    units <= shortRequestUnits
      ? writeShortTexts(spell, hp, mp, defence, decimal, thousands)
      : writeTexts([spell, hp, mp, defence, decimal, thousands]);
  // The record: four doubles, then the outcome kind, the text's address and
  // size, and the address and count of its UTF-16 units.
  const record = exports.karbelon_calculate(block, wantUnits) >>> 0;
  memoryBytes();
  const at = record >>> 2;
  const outcome = outcomeNames[words[at + 8]];
  const unitCount = words[at + 12];
  const text =
    unitCount === notConverted
      ? readText(words[at + 9], words[at + 10])
      : readUnits(words[at + 11], unitCount);
  if (outcome === 'figures') {
    return figuresOf(text, record);
  }
  return outcome === 'message' ? { outcome, message: text } : { outcome };
}

export function compareSpells(request, conventions) {
  const texts = requestTexts(request, compareMembers, conventions);
  exports.karbelon_compare_spells(writeTexts(texts));
  return JSON.parse(readResult());
}

let controlTableText = null;

export function controlTable() {
  requireLoaded();
  if (controlTableText === null) {
    exports.karbelon_control_table();
    controlTableText = readResult();
  }
  return JSON.parse(controlTableText); // a fresh copy: callers may change theirs
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
