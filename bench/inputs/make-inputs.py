#!/usr/bin/env python3
"""Writes the benchmark's inputs beside this script (run it again after changing it; the
outputs are committed): a one-page invoice with CSS backgrounds, a 30-page document, and 50
invoices both as one Handlebars template with 50 data files and as 50 already filled pages.

The filled pages come from the same template through the small renderer below, so every tool
lays out the same markup."""
import copy
import html
import json
import pathlib
import re
import shutil
from decimal import ROUND_HALF_UP, Decimal

HERE = pathlib.Path(__file__).resolve().parent
SAMPLE = HERE.parent.parent / "pagescripts" / "SampleInvoice.json"
CENT = Decimal("0.01")

# A4 everywhere, since the engines' default paper differs; backgrounds forced on, since some
# engines leave them out of print by default.
STYLE = """<style>
@page { size: A4; margin: 12mm; }
* { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { font-family: "DejaVu Sans", sans-serif; font-size: 10pt; color: #222; margin: 0; }
header { background: #1f4e79; color: #fff; padding: 8mm 10mm; }
header h1 { margin: 0 0 2mm; font-size: 18pt; }
table { width: 100%; border-collapse: collapse; }
td, th { padding: 2mm; text-align: left; vertical-align: top; }
.parties { margin: 8mm 0; }
.parties td { padding: 0; }
.items, .totals { margin: 4mm 0; }
.items th { background: #dde6f0; }
.items td, .totals td { border-bottom: 1px solid #e4e4e4; }
.items tbody tr:nth-child(even) td { background: #f1f5fa; }
.num, .parties .meta { text-align: right; }
.totals { width: 45%; margin-left: 55%; }
.totals .grand td { background: #1f4e79; color: #fff; font-weight: bold; }
.note { white-space: pre-line; font-size: 8pt; color: #555; }
section:not(:last-child) { page-break-after: always; }
</style>"""

# Rows inside a table body sit between comments: a browser moves loose text out of a table
# while parsing, comments stay where they are and Handlebars still sees the markers.
INVOICE_TEMPLATE = """<header><h1>Rechnung {{doc.id}}</h1>{{seller.name}} · {{seller.line1}} · {{seller.post}} {{seller.city}}</header>
<table class="parties"><tr>
<td>{{buyer.name}}<br>{{buyer.line1}}<br>{{buyer.line2}}<br>{{buyer.post}} {{buyer.city}}</td>
<td class="meta">Rechnungsnummer {{doc.id}}<br>USt-IdNr. {{seller.vatid}}<br>{{seller.email}}</td>
</tr></table>
<table class="items">
<thead><tr><th>Pos.</th><th>GTIN</th><th>Artikel</th><th class="num">Menge</th><th class="num">Preis EUR</th><th class="num">USt %</th><th class="num">Betrag EUR</th></tr></thead>
<tbody><!-- {{#each line}} --><tr><td>{{id}}</td><td>{{gid}}</td><td>{{name}}</td><td class="num">{{qty}}</td><td class="num">{{price}}</td><td class="num">{{vatrate}}</td><td class="num">{{total}}</td></tr><!-- {{/each}} --></tbody>
</table>
<table class="totals">
<tbody>
<tr><td>Summe Positionen</td><td class="num">{{ahts.ltotal}}</td></tr>
<!-- {{#each ahts.vat}} --><tr><td>USt {{rate}} % auf {{basis}}</td><td class="num">{{tax}}</td></tr><!-- {{/each}} -->
<tr class="grand"><td>Gesamtbetrag EUR</td><td class="num">{{ahts.gtotal}}</td></tr>
</tbody>
</table>
<p>{{ahts.desc}}</p>
<!-- {{#each doc.note}} --><p class="note">{{cont}}</p><!-- {{/each}} -->
"""

# A complete EN 16931 invoice (Factur-X profile EN 16931): passes the schema and the business
# rules for every data file written below, so a validating run measures valid invoices.
XML_TEMPLATE = """<?xml version="1.0" encoding="UTF-8"?>
<rsm:CrossIndustryInvoice xmlns:rsm="urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100" xmlns:ram="urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100" xmlns:udt="urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100">
  <rsm:ExchangedDocumentContext>
    <ram:GuidelineSpecifiedDocumentContextParameter><ram:ID>urn:cen.eu:en16931:2017</ram:ID></ram:GuidelineSpecifiedDocumentContextParameter>
  </rsm:ExchangedDocumentContext>
  <rsm:ExchangedDocument>
    <ram:ID>{{doc.id}}</ram:ID>
    <ram:TypeCode>{{doc.code}}</ram:TypeCode>
    <ram:IssueDateTime><udt:DateTimeString format="102">{{doc.date}}</udt:DateTimeString></ram:IssueDateTime>
    {{#each doc.note}}
    <ram:IncludedNote><ram:Content>{{cont}}</ram:Content>{{#if scode}}<ram:SubjectCode>{{scode}}</ram:SubjectCode>{{/if}}</ram:IncludedNote>
    {{/each}}
  </rsm:ExchangedDocument>
  <rsm:SupplyChainTradeTransaction>
    {{#each line}}
    <ram:IncludedSupplyChainTradeLineItem>
      <ram:AssociatedDocumentLineDocument><ram:LineID>{{id}}</ram:LineID></ram:AssociatedDocumentLineDocument>
      <ram:SpecifiedTradeProduct><ram:GlobalID schemeID="0160">{{gid}}</ram:GlobalID><ram:Name>{{name}}</ram:Name></ram:SpecifiedTradeProduct>
      <ram:SpecifiedLineTradeAgreement><ram:NetPriceProductTradePrice><ram:ChargeAmount>{{price}}</ram:ChargeAmount></ram:NetPriceProductTradePrice></ram:SpecifiedLineTradeAgreement>
      <ram:SpecifiedLineTradeDelivery><ram:BilledQuantity unitCode="{{unit}}">{{qty}}</ram:BilledQuantity></ram:SpecifiedLineTradeDelivery>
      <ram:SpecifiedLineTradeSettlement>
        <ram:ApplicableTradeTax><ram:TypeCode>VAT</ram:TypeCode><ram:CategoryCode>S</ram:CategoryCode><ram:RateApplicablePercent>{{vatrate}}</ram:RateApplicablePercent></ram:ApplicableTradeTax>
        <ram:SpecifiedTradeSettlementLineMonetarySummation><ram:LineTotalAmount>{{total}}</ram:LineTotalAmount></ram:SpecifiedTradeSettlementLineMonetarySummation>
      </ram:SpecifiedLineTradeSettlement>
    </ram:IncludedSupplyChainTradeLineItem>
    {{/each}}
    <ram:ApplicableHeaderTradeAgreement>
      <ram:SellerTradeParty>
        <ram:ID>{{seller.id}}</ram:ID>
        <ram:GlobalID schemeID="0088">{{seller.gid}}</ram:GlobalID>
        <ram:Name>{{seller.name}}</ram:Name>
        <ram:PostalTradeAddress><ram:PostcodeCode>{{seller.post}}</ram:PostcodeCode><ram:LineOne>{{seller.line1}}</ram:LineOne><ram:CityName>{{seller.city}}</ram:CityName><ram:CountryID>{{seller.country}}</ram:CountryID></ram:PostalTradeAddress>
        <ram:URIUniversalCommunication><ram:URIID schemeID="EM">{{seller.email}}</ram:URIID></ram:URIUniversalCommunication>
        <ram:SpecifiedTaxRegistration><ram:ID schemeID="FC">{{seller.regid}}</ram:ID></ram:SpecifiedTaxRegistration>
        <ram:SpecifiedTaxRegistration><ram:ID schemeID="VA">{{seller.vatid}}</ram:ID></ram:SpecifiedTaxRegistration>
      </ram:SellerTradeParty>
      <ram:BuyerTradeParty>
        <ram:Name>{{buyer.name}}</ram:Name>
        <ram:PostalTradeAddress><ram:PostcodeCode>{{buyer.post}}</ram:PostcodeCode><ram:LineOne>{{buyer.line2}}</ram:LineOne><ram:CityName>{{buyer.city}}</ram:CityName><ram:CountryID>{{buyer.country}}</ram:CountryID></ram:PostalTradeAddress>
      </ram:BuyerTradeParty>
    </ram:ApplicableHeaderTradeAgreement>
    <ram:ApplicableHeaderTradeDelivery>
      <ram:ActualDeliverySupplyChainEvent><ram:OccurrenceDateTime><udt:DateTimeString format="102">{{ahtd.date}}</udt:DateTimeString></ram:OccurrenceDateTime></ram:ActualDeliverySupplyChainEvent>
    </ram:ApplicableHeaderTradeDelivery>
    <ram:ApplicableHeaderTradeSettlement>
      <ram:InvoiceCurrencyCode>EUR</ram:InvoiceCurrencyCode>
      {{#each ahts.vat}}
      <ram:ApplicableTradeTax><ram:CalculatedAmount>{{tax}}</ram:CalculatedAmount><ram:TypeCode>VAT</ram:TypeCode><ram:BasisAmount>{{basis}}</ram:BasisAmount><ram:CategoryCode>S</ram:CategoryCode><ram:RateApplicablePercent>{{rate}}</ram:RateApplicablePercent></ram:ApplicableTradeTax>
      {{/each}}
      <ram:SpecifiedTradePaymentTerms><ram:Description>{{ahts.desc}}</ram:Description><ram:DueDateDateTime><udt:DateTimeString format="102">{{ahts.duedate}}</udt:DateTimeString></ram:DueDateDateTime></ram:SpecifiedTradePaymentTerms>
      <ram:SpecifiedTradeSettlementHeaderMonetarySummation>
        <ram:LineTotalAmount>{{ahts.ltotal}}</ram:LineTotalAmount>
        <ram:TaxBasisTotalAmount>{{ahts.btotal}}</ram:TaxBasisTotalAmount>
        <ram:TaxTotalAmount currencyID="EUR">{{ahts.tax}}</ram:TaxTotalAmount>
        <ram:GrandTotalAmount>{{ahts.gtotal}}</ram:GrandTotalAmount>
        <ram:TotalPrepaidAmount>{{ahts.prepaid}}</ram:TotalPrepaidAmount>
        <ram:DuePayableAmount>{{ahts.due}}</ram:DuePayableAmount>
      </ram:SpecifiedTradeSettlementHeaderMonetarySummation>
    </ram:ApplicableHeaderTradeSettlement>
  </rsm:SupplyChainTradeTransaction>
</rsm:CrossIndustryInvoice>
"""

# Articles added after the sample's two lines: (GTIN, name, price, VAT rate).
ARTICLES = [
    ("4012345001242", "Ordner breit, blau", "3.45", "19"),
    ("4012345001259", "Kugelschreiber, 10 Stück", "4.20", "19"),
    ("4000050986435", "Apfelsaft 1 l", "1.29", "7"),
    ("4012345001266", "Kopierpapier A4, 500 Blatt", "5.99", "19"),
    ("4000050986442", "Kaffeebohnen 1 kg", "14.90", "7"),
    ("4012345001273", "Haftnotizen gelb", "2.10", "19"),
    ("4000050986459", "Mineralwasser 0,75 l", "0.89", "7"),
]


def lookup(context, path):
    value = context
    for key in path.split("."):
        value = value.get(key, "") if isinstance(value, dict) else ""
    return value


def render(template, context):
    """The part of Handlebars the templates use: {{path}} (escaped) and {{#each path}}."""
    def each(match):
        return "".join(render(match.group(2), item) for item in lookup(context, match.group(1)))
    template = re.sub(r"\{\{#each ([\w.]+)\}\}(.*?)\{\{/each\}\}", each, template, flags=re.S)
    return re.sub(r"\{\{([\w.]+)\}\}", lambda m: html.escape(str(lookup(context, m.group(1)))),
                  template)


def money(value):
    return f"{value.quantize(CENT, ROUND_HALF_UP):.2f}"


def invoice_data(base, number):
    """The sample with more lines and other quantities (number 0), or with its own number and
    buyer too; totals recomputed."""
    data = copy.deepcopy(base)
    if number:
        data["doc"]["id"] = f"R-2024-{number:03d}"
        data["buyer"]["name"] = f"Kunde {number:03d} GmbH"
    template_line = data["line"][0]
    for gid, name, price, rate in ARTICLES[:2 + number % 6]:
        line = dict(template_line, id=str(len(data["line"]) + 1), gid=gid, name=name,
                    price=price, gross=price, vatrate=rate)
        data["line"].append(line)
    bases = {}
    for index, line in enumerate(data["line"]):
        line["qty"] = str((number * 7 + index * 13) % 40 + 1)
        total = Decimal(line["price"]) * Decimal(line["qty"])
        line["total"] = money(total)
        bases[line["vatrate"]] = bases.get(line["vatrate"], Decimal(0)) + total
    summary = data["ahts"]
    summary["vat"] = [
        {"tax": money(basis * Decimal(rate) / 100), "basis": money(basis), "rate": rate}
        for rate, basis in sorted(bases.items(), key=lambda item: -int(item[0]))]
    lines = sum(Decimal(line["total"]) for line in data["line"])
    tax = sum(Decimal(vat["tax"]) for vat in summary["vat"])
    summary["ltotal"] = summary["btotal"] = money(lines)
    summary["tax"] = money(tax)
    summary["gtotal"] = money(lines + tax)
    summary["due"] = money(lines + tax - Decimal(summary["prepaid"]))
    return data


def page(title, body):
    return (f"<!DOCTYPE html>\n<html lang=\"de\"><head><meta charset=\"utf-8\"><title>{title}</title>\n"
            f"{STYLE}</head>\n<body>\n{body}</body></html>\n")


def long_document():
    sections = []
    for chapter in range(1, 31):
        text = "".join(
            f"<p>Absatz {n} von Kapitel {chapter}: Lieferungen und Leistungen werden nach "
            "Aufwand abgerechnet; alle Beträge verstehen sich zuzüglich der gesetzlichen "
            "Umsatzsteuer. Abweichende Vereinbarungen bedürfen der Schriftform.</p>"
            for n in range(1, 6))
        rows = "".join(
            f"<tr><td>{chapter}.{row}</td><td>Leistung {row} in Kapitel {chapter}</td>"
            f"<td class=\"num\">{row * 3}</td><td class=\"num\">{chapter * row * 1.25:.2f}</td></tr>"
            for row in range(1, 13))
        sections.append(
            f"<section><h1>Kapitel {chapter}</h1>{text}<table class=\"items\"><thead><tr><th>Nr.</th>"
            "<th>Leistung</th><th class=\"num\">Stunden</th><th class=\"num\">Betrag EUR</th>"
            f"</tr></thead><tbody>{rows}</tbody></table></section>\n")
    return page("Langes Dokument", "".join(sections))


def main():
    base = json.loads(SAMPLE.read_text("utf-8"))
    (HERE / "invoice.html").write_text(
        page("Rechnung", render(INVOICE_TEMPLATE, invoice_data(base, 0))), "utf-8")
    (HERE / "long.html").write_text(long_document(), "utf-8")
    invoices = HERE / "invoices"
    for folder in (invoices / "data", HERE / "pages"):
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
    (invoices / "template.html").write_text(page("Rechnung", INVOICE_TEMPLATE), "utf-8")
    (invoices / "template.xml").write_text(XML_TEMPLATE, "utf-8")
    for number in range(1, 51):
        data = invoice_data(base, number)
        (invoices / "data" / f"{number:03d}.json").write_text(
            json.dumps(data, ensure_ascii=False, indent=2) + "\n", "utf-8")
        (HERE / "pages" / f"{number:03d}.html").write_text(
            page(f"Rechnung {data['doc']['id']}", render(INVOICE_TEMPLATE, data)), "utf-8")


if __name__ == "__main__":
    main()
