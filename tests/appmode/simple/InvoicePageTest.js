// The bundled invoice page as the ZUGFeRD command sees it: the data its form gives, the page
// commands it carries and the invoice XML its template renders.
'use strict';

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { sampleJson, openInvoicePage, type, lineField, convert, parseXml, ram, texts,
        editedInvoice } = require('./InvoicePage.js');

const RSM = 'urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100';
const UDT = 'urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100';

async function invoiceXml(page) {
  return parseXml(page, (await convert(page)).facx);
}

const headerTotals = (doc) =>
  ram(doc, 'SpecifiedTradeSettlementHeaderMonetarySummation')[0];
const headerTotal = (doc, name) => texts(headerTotals(doc), name)[0];
const lineTotals = (doc) =>
  ram(doc, 'SpecifiedTradeSettlementLineMonetarySummation')
      .map((summation) => texts(summation, 'LineTotalAmount')[0]);
const vatBreakdown = (doc) =>
  ram(ram(doc, 'ApplicableHeaderTradeSettlement')[0], 'ApplicableTradeTax').map((tax) => ({
    rate: texts(tax, 'RateApplicablePercent')[0],
    basis: texts(tax, 'BasisAmount')[0],
    tax: texts(tax, 'CalculatedAmount')[0],
  }));
const cents = (text) => {
  assert.match(text, /^-?\d+\.\d\d$/, 'an amount with two decimals');
  return Math.round(Number(text) * 100);
};
const sum = (amounts) => amounts.reduce((total, amount) => total + cents(amount), 0);

describe('the untouched invoice page', () => {
  test('gives the sample invoice as its data', () => {
    const page = openInvoicePage();
    assert.deepEqual(JSON.parse(JSON.stringify(page.window.korventaPlugin.genJsonData())),
                     JSON.parse(sampleJson));
  });

  test('posts the invoice number as document title and the EN 16931 profile', async () => {
    const message = await convert(openInvoicePage());
    assert.equal(message.type, 'JSONCMDS');
    assert.deepEqual(message.cmds, { DocTitle: 'Rechnung 471103', AnnZUGProfile: 'EN 16931' });
  });

  test('renders a Cross Industry Invoice under the EN 16931 guideline', async () => {
    const doc = await invoiceXml(openInvoicePage());
    assert.equal(doc.documentElement.namespaceURI, RSM);
    assert.equal(doc.documentElement.localName, 'CrossIndustryInvoice');
    assert.deepEqual(texts(ram(doc, 'GuidelineSpecifiedDocumentContextParameter')[0], 'ID'),
                     ['urn:cen.eu:en16931:2017']);
    assert.deepEqual(texts(doc, 'LineID'), ['1', '2']);
  });

  test('renders every date in format 102', async () => {
    const doc = await invoiceXml(openInvoicePage());
    const dates = Array.from(doc.getElementsByTagNameNS(UDT, 'DateTimeString'));
    assert.deepEqual(dates.map((date) => [date.getAttribute('format'), date.textContent]),
                     [['102', '20241115'], ['102', '20241124'], ['102', '20241225']]);
  });

  test('renders the totals of the sample invoice', async () => {
    const doc = await invoiceXml(openInvoicePage());
    assert.equal(headerTotal(doc, 'LineTotalAmount'), '473.00');
    assert.equal(headerTotal(doc, 'TaxBasisTotalAmount'), '473.00');
    assert.equal(headerTotal(doc, 'TaxTotalAmount'), '56.87');
    assert.equal(ram(headerTotals(doc), 'TaxTotalAmount')[0].getAttribute('currencyID'), 'EUR');
    assert.equal(headerTotal(doc, 'GrandTotalAmount'), '529.87');
    assert.equal(headerTotal(doc, 'DuePayableAmount'), '529.87');
  });

  test('renders one VAT breakdown per rate', async () => {
    const doc = await invoiceXml(openInvoicePage());
    assert.deepEqual(vatBreakdown(doc), [{ rate: '19', basis: '198.00', tax: '37.62' },
                                         { rate: '7', basis: '275.00', tax: '19.25' }]);
  });

  test('renders totals that agree with its lines and VAT breakdown', async () => {
    const doc = await invoiceXml(openInvoicePage());
    const breakdown = vatBreakdown(doc);
    const lineTotal = cents(headerTotal(doc, 'LineTotalAmount'));
    const taxTotal = cents(headerTotal(doc, 'TaxTotalAmount'));
    assert.equal(sum(lineTotals(doc)), lineTotal);
    assert.equal(sum(breakdown.map((group) => group.basis)),
                 cents(headerTotal(doc, 'TaxBasisTotalAmount')));
    assert.equal(sum(breakdown.map((group) => group.tax)), taxTotal);
    assert.equal(cents(headerTotal(doc, 'GrandTotalAmount')), lineTotal + taxTotal);
    assert.equal(cents(headerTotal(doc, 'DuePayableAmount')),
                 cents(headerTotal(doc, 'GrandTotalAmount')) -
                     cents(headerTotal(doc, 'TotalPrepaidAmount')));
  });
});

describe('an edited invoice page', () => {
  test('a new invoice number becomes the document ID and the document title', async () => {
    const page = openInvoicePage();
    type(page, '#doc-id', 'RE-2024-0815');
    const message = await convert(page);
    assert.equal(message.cmds.DocTitle, 'Rechnung RE-2024-0815');
    const document = parseXml(page, message.facx).getElementsByTagNameNS(RSM, 'ExchangedDocument');
    assert.deepEqual(texts(document[0], 'ID'), ['RE-2024-0815']);
  });

  test('a changed quantity recomputes the line, VAT and grand totals', async () => {
    const page = openInvoicePage();
    type(page, lineField(1, 2), '10');
    const doc = await invoiceXml(page);
    assert.deepEqual(lineTotals(doc), ['99.00', '275.00']);
    assert.deepEqual(vatBreakdown(doc), [{ rate: '19', basis: '99.00', tax: '18.81' },
                                         { rate: '7', basis: '275.00', tax: '19.25' }]);
    assert.equal(headerTotal(doc, 'LineTotalAmount'), '374.00');
    assert.equal(headerTotal(doc, 'TaxTotalAmount'), '38.06');
    assert.equal(headerTotal(doc, 'GrandTotalAmount'), '412.06');
    assert.equal(headerTotal(doc, 'DuePayableAmount'), '412.06');
    assert.equal(page.window.document.getElementById('grand-total').textContent, '412.06');
  });

  test('lines of one VAT rate share one breakdown', async () => {
    const page = openInvoicePage();
    type(page, lineField(2, 4), '19');
    const doc = await invoiceXml(page);
    assert.deepEqual(vatBreakdown(doc), [{ rate: '19', basis: '473.00', tax: '89.87' }]);
    assert.equal(headerTotal(doc, 'GrandTotalAmount'), '562.87');
  });

  test('numbers typed with decimal commas and grouped thousands reach the XML as plain decimals', async () => {
    const page = openInvoicePage();
    type(page, lineField(1, 2), '2,5');
    type(page, lineField(1, 3), '9,95');
    const line = ram(await invoiceXml(page), 'IncludedSupplyChainTradeLineItem')[0];
    assert.deepEqual(texts(line, 'BilledQuantity'), ['2.5']);
    assert.deepEqual(texts(line, 'ChargeAmount'), ['9.95', '9.95']);
    assert.deepEqual(texts(line, 'LineTotalAmount'), ['24.88']);

    type(page, lineField(1, 3), '1.234,56');
    const grouped = ram(await invoiceXml(page), 'IncludedSupplyChainTradeLineItem')[0];
    assert.deepEqual(texts(grouped, 'ChargeAmount'), ['1234.56', '1234.56']);
    assert.deepEqual(texts(grouped, 'LineTotalAmount'), ['3086.40']);
  });

  test('markup characters typed into a field are escaped in the XML', async () => {
    const page = openInvoicePage();
    type(page, '#buyer-name', 'Müller & Söhne <Nord> "Süd"');
    const buyer = ram(await invoiceXml(page), 'BuyerTradeParty')[0];
    assert.deepEqual(texts(buyer, 'Name'), ['Müller & Söhne <Nord> "Süd"']);
  });

  test('a cleared contact person leaves the buyer without a contact', async () => {
    const page = openInvoicePage();
    editedInvoice(page);
    const buyer = ram(await invoiceXml(page), 'BuyerTradeParty')[0];
    assert.deepEqual(ram(buyer, 'DefinedTradeContact'), []);
    assert.deepEqual(texts(buyer, 'LineOne'), ['Kundenstraße 15']);
  });
});
