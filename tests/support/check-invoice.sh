#!/bin/sh
# Checks invoice XML files with the independent tools: the Factur-X schema (xmllint) and the
# EN 16931 business rules for CII (the published XSLT, run with Saxon-HE, one JVM for all
# files). Prints every schema error and every failed fatal rule as "FILE: ID: text".
# usage: check-invoice.sh XSD RULES_XSLT XML...
# Exit status: 0 all valid, 1 any invalid, 77 when the schema passes but the rules cannot be
# run (Java, Saxon or the rules missing).
set -u
xsd=$1
rules=$2
shift 2
saxon=/usr/share/java/Saxon-HE.jar

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/svrl"
status=0
n=0
for xml in "$@"; do
    n=$((n + 1))
    cp "$xml" "$work/in/$n.xml" || exit 1
    xmllint --noout --schema "$xsd" "$xml" 2>"$work/xsd.txt" ||
        { grep -v ' fails to validate$' "$work/xsd.txt" | sed "s|^|$xml: XSD: |"; status=1; }
done
skip() {
    echo "SKIPPED: $*"
    [ $status -eq 0 ] && exit 77
    exit $status
}
command -v java >/dev/null 2>&1 || skip "java is not installed"
[ -f "$saxon" ] || skip "$saxon (libsaxonhe-java) is not installed"
[ -f "$rules" ] || skip "no business rules at $rules"
if ! java -cp "$saxon" net.sf.saxon.Transform -s:"$work/in" -xsl:"$rules" -o:"$work/svrl" \
        >"$work/saxon.txt" 2>&1; then
    cat "$work/saxon.txt"
    exit 1
fi
fatal='//*[local-name()="failed-assert"][@flag="fatal"]'
n=0
for xml in "$@"; do
    n=$((n + 1))
    svrl=$work/svrl/$n.xml
    [ -f "$svrl" ] || { echo "$xml: rules: no report"; status=1; continue; }
    count=$(xmllint --xpath "count($fatal)" "$svrl")
    i=1
    while [ "$i" -le "$count" ]; do
        echo "$xml: $(xmllint --xpath "string(($fatal)[$i]/@id)" "$svrl"):" \
             "$(xmllint --xpath "normalize-space(($fatal)[$i])" "$svrl")"
        status=1
        i=$((i + 1))
    done
done
exit $status
