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

function openInvoicePage() {
  const dom = new JSDOM(read(path.join(sourceRoot, 'resources/ZUGFeRD/simple/index.html')),
                        { runScripts: 'dangerously' });
  const window = dom.window;
  // jsdom has no modal dialogs; the user closes the data dialog as soon as it shows.
  window.HTMLDialogElement.prototype.showModal = function () {
    window.setTimeout(() => this.dispatchEvent(new window.Event('close')), 0);
  };
  window.HTMLDialogElement.prototype.close = function () {
    this.dispatchEvent(new window.Event('close'));
  };
  const posted = [];
  window.chrome = { webview: { postMessage: (text) => posted.push(JSON.parse(text)) } };
  window.eval(read(handlebarsFile));
  window.eval(read(path.join(sourceRoot, 'pagescripts/CommandDetection.js')));
  window.eval(read(path.join(sourceRoot, 'pagescripts/TemplateRendering.js')));
  return { window, posted };
}

// Types into a form field as a user would, so the page's own handlers run.
function type(page, selector, value) {
  const field = page.window.document.querySelector(selector);
  if (field === null) {
    throw new Error('no field ' + selector);
  }
  field.value = value;
  field.dispatchEvent(new page.window.Event('input', { bubbles: true }));
}

// The field of an invoice line: column 1 name, 2 quantity, 3 price, 4 VAT rate.
const lineField = (line, column) =>
  `#lines tr:nth-child(${line}) td:nth-child(${column + 1}) input`;

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

async function writeInvoices(folder) {
  const untouched = openInvoicePage();
  fs.writeFileSync(path.join(folder, 'sample.xml'), (await convert(untouched)).facx);
  const edited = openInvoicePage();
  editedInvoice(edited);
  fs.writeFileSync(path.join(folder, 'edited.xml'), (await convert(edited)).facx);
}

module.exports = { sampleJson, openInvoicePage, type, lineField, convert, parseXml, ram, texts,
                   editedInvoice };

if (require.main === module) {
  writeInvoices(process.argv[2]).catch((error) => {
    console.error(error);
    process.exit(1);
  });
}
