#!/usr/bin/env bash
# Checks that tools/make-dist signs Velmora.exe when given a certificate: two signed builds are
# the same bytes, osslsigncode accepts the signature, a half-made setting writes no zip, and an
# unsigned build (and VELMORA_EXE itself) carries no certificate table.
#
#   signed_dist_test.sh VELMORA_EXE VERSION WORK_DIR
set -euo pipefail
exe=$1 version=$2 work=$3
make_dist="$(cd "$(dirname "$0")/../.." && pwd)/tools/make-dist"
zip=Velmora-$version.zip
rm -rf "$work" && mkdir -p "$work" && cd "$work"
unset VELMORA_SIGNING_CERT VELMORA_SIGNING_PASSWORD
# A fixed signing time, so that a run that ignores it cannot pass by landing in the same second.
export SOURCE_DATE_EPOCH=1700000000

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 36500 \
  -subj "/CN=Velmora test signer" -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout pass:sesame

for build in one two; do
  VELMORA_SIGNING_CERT=cert.p12 VELMORA_SIGNING_PASSWORD=sesame "$make_dist" "$exe" "$version" $build
  python3 -m zipfile -e $build/$zip $build/unpacked
done
cmp one/$zip two/$zip && cmp one/unpacked/Velmora.exe two/unpacked/Velmora.exe
osslsigncode verify -CAfile cert.pem -in one/unpacked/Velmora.exe | tee verify.txt
grep -q 'Signing time: Nov 14 22:13:20 2023 GMT' verify.txt

# The certificate table's size and offset: the optional header's data directory entry 4.
certificate_table() {
  local optional directories=96
  optional=$(($(od -An -tu4 -j60 -N4 "$1") + 24))
  [ "$(od -An -tx2 -j$optional -N2 "$1" | xargs)" = 020b ] && directories=112  # PE32+
  od -An -tu4 -j$((optional + directories + 4 * 8)) -N8 "$1" | xargs
}
[ "$(certificate_table one/unpacked/Velmora.exe)" != "0 0" ]
"$make_dist" "$exe" "$version" unsigned
python3 -m zipfile -e unsigned/$zip unsigned/unpacked
cmp unsigned/unpacked/Velmora.exe "$exe"
[ "$(certificate_table "$exe")" = "0 0" ] || { echo "$exe has a certificate table" >&2; exit 1; }

# Each half-made setting fails, names what to fix and leaves no zip, not even an earlier one.
while IFS='|' read -r cert password says; do
  mkdir -p failed && cp unsigned/$zip failed/$zip
  if VELMORA_SIGNING_CERT=$cert VELMORA_SIGNING_PASSWORD=$password \
     "$make_dist" "$exe" "$version" failed 2>said.txt; then
    echo "make-dist signed with cert [$cert], password [$password]" >&2 && exit 1
  fi
  [ "$(wc -l <said.txt)" = 1 ] && grep -q "$says" said.txt ||
    { echo "expected one line with \"$says\", got: $(cat said.txt)" >&2; exit 1; }
  [ ! -e failed/$zip ] || { echo "a zip is left with cert [$cert]" >&2; exit 1; }
done <<'CASES'
cert.p12||VELMORA_SIGNING_PASSWORD is not
|sesame|VELMORA_SIGNING_CERT is not
missing.p12|sesame|missing.p12) cannot be read
cert.p12|wrong|VELMORA_SIGNING_PASSWORD is not the password
cert.pem|sesame|is not a PKCS#12
CASES
echo "signed_dist: signed twice to the same bytes, verified; unsigned has no certificate table"
