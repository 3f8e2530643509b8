// The bundled invoice page outside the program: jsdom stands in for the browser, and the
// program's own page scripts and Handlebars run the ZUGFeRD command's request in it.
// Run directly (node InvoicePage.js FOLDER) it writes the invoice XML of the untouched page
// and of an edited one into FOLDER, for the schema check.
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { JSDOM } = require('jsdom');

const sourceRoot = path.resolve(__dirname, '../../..');
const handlebarsFile = process.env.KORVENTA_HANDLEBARS_JS ||
    '/usr/share/javascript/handlebars/handlebars.js';
const read = (file) => fs.readFileSync(file, 'utf8');

const sampleJson = read(path.join(sourceRoot, 'pagescripts/SampleInvoice.json'));
const RAM = 'urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100';

// The page once its own script has set it up (after the document is parsed).
async function openInvoicePage() {
  const dom = new JSDOM(read(path.join(sourceRoot, 'resources/ZUGFeRD/simple/index.html')),
                        { runScripts: 'dangerously' });
  const window = dom.window;
  const page = { window, posted: [], answerDialog: null };
  // jsdom has no modal dialogs; the user closes the data dialog as soon as it shows, after
  // page.answerDialog (when set) has turned its text into the text the user leaves there.
  window.HTMLDialogElement.prototype.showModal = function () {
    window.setTimeout(() => {
      const text = this.querySelector('#zugJsonData');
      if (page.answerDialog !== null) text.value = page.answerDialog(text.value);
      this.dispatchEvent(new window.Event('close'));
    }, 0);
  };
  window.HTMLDialogElement.prototype.close = function () {
    this.dispatchEvent(new window.Event('close'));
  };
  window.chrome = { webview: { postMessage: (text) => page.posted.push(JSON.parse(text)) } };
  window.eval(read(handlebarsFile));
  window.eval(read(path.join(sourceRoot, 'pagescripts/CommandDetection.js')));
  window.eval(read(path.join(sourceRoot, 'pagescripts/TemplateRendering.js')));
  if (window.document.readyState === 'loading') {
    await new Promise((resolve) => window.addEventListener('DOMContentLoaded', resolve));
  }
  return page;
}

// Types into a form field (or picks an entry of a list) as a user would, so the page's own
// handlers run.
function type(page, selector, value) {
  const field = page.window.document.querySelector(selector);
  if (field === null) {
    throw new Error('no field ' + selector);
  }
  field.value = value;
  const kind = field.tagName === 'SELECT' ? 'change' : 'input';
  field.dispatchEvent(new page.window.Event(kind, { bubbles: true }));
}

// The field of an invoice line: column 1 name, 2 quantity, 3 price, 4 VAT category (a list),
// 5 VAT rate, 6 exemption reason.
const lineField = (line, column) =>
  `#lines tr:nth-child(${line}) td:nth-child(${column + 1}) :is(input, select)`;

// The text of the printed invoice as a reader sees it: its texts apart, blanks folded.
function paperText(page) {
  const { document, NodeFilter } = page.window;
  const walker = document.createTreeWalker(document.getElementById('paper'),
                                           NodeFilter.SHOW_TEXT);
  const parts = [];
  for (let node = walker.nextNode(); node !== null; node = walker.nextNode()) {
    if (node.parentElement.closest('script') === null) parts.push(node.data);
  }
  return parts.join(' ').replace(/\s+/g, ' ').trim();
}

// The ZUGFeRD command's request with no XML template file beside the page: the posted message.
async function convert(page) {
  const before = page.posted.length;
  await page.window.gkvt_zugFun.renderInAppMode(sampleJson, '', false, true, true, true, true,
                                                'veltrix-cmd');
  if (page.posted.length !== before + 1) {
    throw new Error('the request posted ' + (page.posted.length - before) + ' messages');
  }
  return page.posted[before];
}

function parseXml(page, text) {
  const doc = new page.window.DOMParser().parseFromString(text, 'application/xml');
  const error = doc.getElementsByTagName('parsererror')[0];
  if (error !== undefined) {
    throw new Error('not well-formed XML: ' + error.textContent);
  }
  return doc;
}

// The ram: elements of that name below node, in document order.
const ram = (node, name) => Array.from(node.getElementsByTagNameNS(RAM, name));
const texts = (node, name) => ram(node, name).map((element) => element.textContent);

function editedInvoice(page) {
  type(page, lineField(1, 2), '2,5');
  type(page, lineField(1, 3), '9,95');
  type(page, '#buyer-name', 'Müller & Söhne <Nord>');
  type(page, '#buyer-contact', '');
}

// Invoices that must pass the schema and the business rules, by file name, and one that
// must fail them: a standard rated line at 0 %.
const validInvoices = {
  'sample.xml': () => {},
  'edited.xml': editedInvoice,
  'zero-rated.xml': (page) => type(page, lineField(2, 4), 'Z'),
  'exempt.xml': (page) => {
    type(page, lineField(2, 4), 'E');
    type(page, lineField(2, 6), 'Steuerfrei nach § 4 Nr. 14 UStG');
  },
  'reverse-charge.xml': (page) => {
    type(page, '#buyer-vatid', 'ATU12345678');
    type(page, lineField(1, 4), 'AE');
    type(page, lineField(2, 4), 'AE');
  },
  'intra-community.xml': (page) => {
    type(page, '#buyer-vatid', 'FR12345678901');
    type(page, lineField(1, 4), 'K');
    type(page, lineField(2, 4), 'K');
  },
  'export.xml': (page) => {
    type(page, lineField(1, 4), 'G');
    type(page, lineField(2, 4), 'G');
  },
  'not-subject.xml': (page) => {
    type(page, lineField(1, 4), 'O');
    type(page, lineField(2, 4), 'O');
  },
};
const invalidInvoices = {
  'standard-at-zero.xml': (page) => type(page, lineField(2, 5), '0'),
};

async function writeInvoices(folder) {
  for (const [name, edit] of Object.entries({ ...validInvoices, ...invalidInvoices })) {
    const page = await openInvoicePage();
    edit(page);
    const subfolder = path.join(folder, name in validInvoices ? 'valid' : 'invalid');
    fs.mkdirSync(subfolder, { recursive: true });
    fs.writeFileSync(path.join(subfolder, name), (await convert(page)).facx);
  }
}

module.exports = { sampleJson, openInvoicePage, type, lineField, paperText, convert, parseXml,
                   ram, texts, editedInvoice };

if (require.main === module) {
  writeInvoices(process.argv[2]).catch((error) => {
    console.error(error);
    process.exit(1);
  });
}
