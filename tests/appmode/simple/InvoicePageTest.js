// The bundled invoice page as the ZUGFeRD command sees it: the data its form gives, the page
// commands it carries and the invoice XML its template renders.
'use strict';

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { sampleJson, openInvoicePage, type, lineField, paperText, convert, parseXml, ram, texts,
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
// The breakdown with the category and the exemption, for the category tests.
const categoryBreakdown = (doc) =>
  ram(ram(doc, 'ApplicableHeaderTradeSettlement')[0], 'ApplicableTradeTax').map((tax) => ({
    code: texts(tax, 'CategoryCode')[0],
    rate: texts(tax, 'RateApplicablePercent')[0],
    basis: texts(tax, 'BasisAmount')[0],
    tax: texts(tax, 'CalculatedAmount')[0],
    reason: texts(tax, 'ExemptionReason')[0],
    reasonCode: texts(tax, 'ExemptionReasonCode')[0],
  }));
const lineCategories = (doc) =>
  ram(doc, 'SpecifiedLineTradeSettlement').map((line) => [
    texts(line, 'CategoryCode')[0], texts(line, 'RateApplicablePercent')[0]]);
const cents = (text) => {
  assert.match(text, /^-?\d+\.\d\d$/, 'an amount with two decimals');
  return Math.round(Number(text) * 100);
};
const sum = (amounts) => amounts.reduce((total, amount) => total + cents(amount), 0);

describe('the untouched invoice page', () => {
  test('gives the sample invoice as its data, every line and breakdown standard rated', async () => {
    const page = (await openInvoicePage());
    const expected = JSON.parse(sampleJson);
    for (const line of expected.line) line.vatcode = 'S';
    for (const group of expected.ahts.vat) group.code = 'S';
    assert.deepEqual(JSON.parse(JSON.stringify(page.window.korventaPlugin.genJsonData())),
                     expected);
  });

  test('posts the invoice number as document title and the EN 16931 profile', async () => {
    const message = await convert((await openInvoicePage()));
    assert.equal(message.type, 'JSONCMDS');
    assert.deepEqual(message.cmds, { DocTitle: 'Rechnung 471103', AnnZUGProfile: 'EN 16931' });
  });

  test('renders a Cross Industry Invoice under the EN 16931 guideline', async () => {
    const doc = await invoiceXml((await openInvoicePage()));
    assert.equal(doc.documentElement.namespaceURI, RSM);
    assert.equal(doc.documentElement.localName, 'CrossIndustryInvoice');
    assert.deepEqual(texts(ram(doc, 'GuidelineSpecifiedDocumentContextParameter')[0], 'ID'),
                     ['urn:cen.eu:en16931:2017']);
    assert.deepEqual(texts(doc, 'LineID'), ['1', '2']);
  });

  test('renders every date in format 102', async () => {
    const doc = await invoiceXml((await openInvoicePage()));
    const dates = Array.from(doc.getElementsByTagNameNS(UDT, 'DateTimeString'));
    assert.deepEqual(dates.map((date) => [date.getAttribute('format'), date.textContent]),
                     [['102', '20241115'], ['102', '20241124'], ['102', '20241225']]);
  });

  test('renders the totals of the sample invoice', async () => {
    const doc = await invoiceXml((await openInvoicePage()));
    assert.equal(headerTotal(doc, 'LineTotalAmount'), '473.00');
    assert.equal(headerTotal(doc, 'TaxBasisTotalAmount'), '473.00');
    assert.equal(headerTotal(doc, 'TaxTotalAmount'), '56.87');
    assert.equal(ram(headerTotals(doc), 'TaxTotalAmount')[0].getAttribute('currencyID'), 'EUR');
    assert.equal(headerTotal(doc, 'GrandTotalAmount'), '529.87');
    assert.equal(headerTotal(doc, 'DuePayableAmount'), '529.87');
  });

  test('renders one VAT breakdown per rate', async () => {
    const doc = await invoiceXml((await openInvoicePage()));
    assert.deepEqual(vatBreakdown(doc), [{ rate: '19', basis: '198.00', tax: '37.62' },
                                         { rate: '7', basis: '275.00', tax: '19.25' }]);
  });

  test('renders totals that agree with its lines and VAT breakdown', async () => {
    const doc = await invoiceXml((await openInvoicePage()));
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
    const page = (await openInvoicePage());
    type(page, '#doc-id', 'RE-2024-0815');
    const message = await convert(page);
    assert.equal(message.cmds.DocTitle, 'Rechnung RE-2024-0815');
    const document = parseXml(page, message.facx).getElementsByTagNameNS(RSM, 'ExchangedDocument');
    assert.deepEqual(texts(document[0], 'ID'), ['RE-2024-0815']);
  });

  test('a changed quantity recomputes the line, VAT and grand totals', async () => {
    const page = (await openInvoicePage());
    type(page, lineField(1, 2), '10');
    const doc = await invoiceXml(page);
    assert.deepEqual(lineTotals(doc), ['99.00', '275.00']);
    assert.deepEqual(vatBreakdown(doc), [{ rate: '19', basis: '99.00', tax: '18.81' },
                                         { rate: '7', basis: '275.00', tax: '19.25' }]);
    assert.equal(headerTotal(doc, 'LineTotalAmount'), '374.00');
    assert.equal(headerTotal(doc, 'TaxTotalAmount'), '38.06');
    assert.equal(headerTotal(doc, 'GrandTotalAmount'), '412.06');
    assert.equal(headerTotal(doc, 'DuePayableAmount'), '412.06');
    assert.equal(page.window.document.getElementById('grand-total').textContent, '412,06');
  });

  test('lines of one VAT rate share one breakdown', async () => {
    const page = (await openInvoicePage());
    type(page, lineField(2, 5), '19');
    const doc = await invoiceXml(page);
    assert.deepEqual(vatBreakdown(doc), [{ rate: '19', basis: '473.00', tax: '89.87' }]);
    assert.equal(headerTotal(doc, 'GrandTotalAmount'), '562.87');
  });

  test('numbers typed with decimal commas and grouped thousands reach the XML as plain decimals', async () => {
    const page = (await openInvoicePage());
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
    const page = (await openInvoicePage());
    type(page, '#buyer-name', 'Müller & Söhne <Nord> "Süd"');
    const buyer = ram(await invoiceXml(page), 'BuyerTradeParty')[0];
    assert.deepEqual(texts(buyer, 'Name'), ['Müller & Söhne <Nord> "Süd"']);
  });

  test('a cleared contact person leaves the buyer without a contact', async () => {
    const page = (await openInvoicePage());
    editedInvoice(page);
    const buyer = ram(await invoiceXml(page), 'BuyerTradeParty')[0];
    assert.deepEqual(ram(buyer, 'DefinedTradeContact'), []);
    assert.deepEqual(texts(buyer, 'LineOne'), ['Kundenstraße 15']);
  });
});

describe('the printed invoice', () => {
  test('is plain text in German forms, without a single input box', async () => {
    const page = await openInvoicePage();
    await convert(page);
    const paper = page.window.document.getElementById('paper');
    assert.equal(paper.querySelectorAll('input, select, textarea').length, 0);
    const text = paperText(page);
    for (const expected of ['Rechnung 471103', 'Kunden AG Mitte', 'Erika Mustermann',
                            'Rechnungsdatum 15.11.2024', 'Lieferdatum 24.11.2024',
                            '1 Trennblätter A4 20 9,90 19 % 198,00',
                            '2 Joghurt Banan 50 5,50 7 % 275,00', 'Summe netto 473,00',
                            'USt. 19 % auf 198,00 37,62', 'Rechnungsbetrag EUR 529,87']) {
      assert.ok(text.includes(expected), `"${expected}" in: ${text}`);
    }
  });

  test('shows amounts in thousands with points before it is ever converted', async () => {
    const page = await openInvoicePage();
    type(page, lineField(1, 3), '1.234,56');
    assert.ok(paperText(page).includes('1 Trennblätter A4 20 1.234,56 19 % 24.691,20'),
              paperText(page));
  });

  test('a dialog edit changes the paper, the document title and the XML together', async () => {
    const page = await openInvoicePage();
    page.answerDialog = (text) => {
      const data = JSON.parse(text);
      data.doc.id = 'RE-2024-0999';
      data.buyer.name = 'Müller & Söhne Großhandelsgesellschaft für Befestigungstechnik mbH';
      data.line[1].name = 'Schrauben & Dübel';
      data.ahts.gtotal = '1972.17';
      return JSON.stringify(data);
    };
    const message = await convert(page);
    assert.equal(message.cmds.DocTitle, 'Rechnung RE-2024-0999');
    const doc = parseXml(page, message.facx);
    assert.deepEqual(texts(doc.getElementsByTagNameNS(RSM, 'ExchangedDocument')[0], 'ID'),
                     ['RE-2024-0999']);
    assert.equal(headerTotal(doc, 'GrandTotalAmount'), '1972.17');
    const text = paperText(page);
    for (const expected of ['Rechnung RE-2024-0999',
                            'Müller & Söhne Großhandelsgesellschaft für Befestigungstechnik mbH',
                            'Schrauben & Dübel', 'Rechnungsbetrag EUR 1.972,17']) {
      assert.ok(text.includes(expected), `"${expected}" in: ${text}`);
    }
    assert.ok(!text.includes('471103'), text);
  });

  test('the form shows the edited data again and stays editable after the request', async () => {
    const page = await openInvoicePage();
    page.answerDialog = (text) => text.replace('"471103"', '"RE-5"');
    await convert(page);
    const document = page.window.document;
    assert.equal(document.getElementById('doc-id').value, 'RE-5');
    assert.equal(document.querySelector(lineField(1, 1)).value, 'Trennblätter A4');
    page.answerDialog = null;
    type(page, lineField(1, 2), '10');
    assert.ok(paperText(page).includes('1 Trennblätter A4 10 9,90 19 % 99,00'), paperText(page));
    const message = await convert(page);
    assert.equal(message.cmds.DocTitle, 'Rechnung RE-5');
    assert.equal(headerTotal(parseXml(page, message.facx), 'LineTotalAmount'), '374.00');
  });

  test('text typed like a template expression stays text', async () => {
    const page = await openInvoicePage();
    type(page, '#doc-id', '{{doc.id}} {{#each');
    type(page, '#buyer-name', '{{{buyer.name}}}');
    const message = await convert(page);
    assert.equal(message.cmds.DocTitle, 'Rechnung {{doc.id}} {{#each');
    assert.ok(paperText(page).includes('{{{buyer.name}}}'), paperText(page));
  });

  test('data that the dialog leaves unreadable posts nothing and leaves the form whole', async () => {
    const page = await openInvoicePage();
    page.answerDialog = () => '{"doc": ';
    await assert.rejects(convert(page));
    assert.equal(page.window.document.querySelectorAll('#lines tr').length, 2);
    assert.ok(paperText(page).includes('Rechnung 471103'), paperText(page));
  });

  test('outside data replaces the form, the paper and what the page gives', async () => {
    const page = await openInvoicePage();
    const outside = JSON.parse(sampleJson);
    outside.doc.id = 'B-17';
    outside.buyer.name = 'Zweite Kundin GmbH';
    outside.line = [outside.line[0]];
    page.window.korventaPlugin.loadJsonData(outside);
    assert.ok(paperText(page).includes('Rechnung B-17'), paperText(page));
    assert.ok(paperText(page).includes('Zweite Kundin GmbH'), paperText(page));
    const data = page.window.korventaPlugin.genJsonData();
    assert.equal(data.doc.id, 'B-17');
    assert.equal(data.line.length, 1);
    assert.equal(data.ahts.gtotal, '235.62');
  });
});

test('outside data without a part of the invoice is refused and the form stays as it was', async () => {
  const page = await openInvoicePage();
  const outside = JSON.parse(sampleJson);
  delete outside.seller;
  assert.throws(() => page.window.korventaPlugin.loadJsonData(outside), /no "seller"/);
  assert.equal(page.window.korventaPlugin.genJsonData().doc.id, '471103');
});

describe('VAT categories chosen per line', () => {
  test('a zero rated line has rate 0, no tax and a breakdown of its own', async () => {
    const page = await openInvoicePage();
    type(page, lineField(2, 4), 'Z');
    const doc = await invoiceXml(page);
    assert.deepEqual(lineCategories(doc), [['S', '19'], ['Z', '0']]);
    assert.deepEqual(categoryBreakdown(doc), [
      { code: 'S', rate: '19', basis: '198.00', tax: '37.62', reason: undefined,
        reasonCode: undefined },
      { code: 'Z', rate: '0', basis: '275.00', tax: '0.00', reason: undefined,
        reasonCode: undefined }]);
    assert.equal(headerTotal(doc, 'GrandTotalAmount'), '510.62');
    assert.ok(paperText(page).includes('2 Joghurt Banan 50 5,50 Z 0 % 275,00'), paperText(page));
  });

  test('a line chosen zero rated and then standard rated again gets the standard rate', async () => {
    const page = await openInvoicePage();
    type(page, lineField(2, 4), 'Z');
    type(page, lineField(2, 4), 'S');
    assert.deepEqual(lineCategories(await invoiceXml(page)), [['S', '19'], ['S', '19']]);
  });

  test('an exempt line carries the reason typed for it', async () => {
    const page = await openInvoicePage();
    type(page, lineField(2, 4), 'E');
    type(page, lineField(2, 6), 'Steuerfrei nach § 4 Nr. 14 UStG');
    const doc = await invoiceXml(page);
    assert.deepEqual(categoryBreakdown(doc)[1],
                     { code: 'E', rate: '0', basis: '275.00', tax: '0.00',
                       reason: 'Steuerfrei nach § 4 Nr. 14 UStG', reasonCode: undefined });
    assert.ok(paperText(page).includes('Steuerfrei nach § 4 Nr. 14 UStG'), paperText(page));
  });

  test('lines of one category and rate share one breakdown, each category its own', async () => {
    const page = await openInvoicePage();
    type(page, '#buyer-vatid', 'FR12345678901');
    type(page, lineField(1, 4), 'K');
    type(page, lineField(2, 4), 'K');
    const doc = await invoiceXml(page);
    assert.deepEqual(categoryBreakdown(doc), [
      { code: 'K', rate: '0', basis: '473.00', tax: '0.00',
        reason: 'Steuerfreie innergemeinschaftliche Lieferung', reasonCode: 'VATEX-EU-IC' }]);
    const buyer = ram(doc, 'BuyerTradeParty')[0];
    assert.deepEqual(texts(ram(buyer, 'SpecifiedTaxRegistration')[0], 'ID'), ['FR12345678901']);
    assert.deepEqual(texts(ram(doc, 'ShipToTradeParty')[0], 'CountryID'), ['DE']);
    assert.equal(headerTotal(doc, 'TaxTotalAmount'), '0.00');
  });

  test('supplies not subject to VAT carry no rate and no VAT identifier', async () => {
    const page = await openInvoicePage();
    type(page, lineField(1, 4), 'O');
    type(page, lineField(2, 4), 'O');
    const doc = await invoiceXml(page);
    assert.deepEqual(lineCategories(doc), [['O', undefined], ['O', undefined]]);
    assert.deepEqual(categoryBreakdown(doc), [
      { code: 'O', rate: undefined, basis: '473.00', tax: '0.00', reason: 'Nicht steuerbar',
        reasonCode: 'VATEX-EU-O' }]);
    const seller = ram(doc, 'SellerTradeParty')[0];
    assert.deepEqual(ram(seller, 'ID').filter((id) => id.getAttribute('schemeID') === 'VA'), []);
  });
});
