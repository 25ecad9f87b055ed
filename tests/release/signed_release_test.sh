#!/usr/bin/env bash
# The signed release from the key holder's signature to a keeper's check, with all it needs made
# here: a throwaway root and a 30-day code-signing certificate, the key in a SoftHSM2 token, and
# an RFC 3161 timestamp server on 127.0.0.1 (openssl ts behind Python's http.server), stopped at
# the end however the test ends. Runs what make signature, make dist and make verify run.
#
#   signed_release_test.sh VELMORA_EXE VERSION WORK_DIR
set -euo pipefail
exe=$(realpath "$1") version=$2 work=$3
tools="$(cd "$(dirname "$0")/../.." && pwd)/tools"
zip=Velmora-$version.zip
rm -rf "$work" && mkdir -p "$work" && cd "$work"
unset VELMORA_SIGNING_CERT VELMORA_SIGNING_KEY VELMORA_SIGNING_PKCS11_MODULE \
  VELMORA_SIGNING_PASSWORD VELMORA_TIMESTAMP_URL VELMORA_SIGNATURE
export SOURCE_DATE_EPOCH=1700000000
# Unlike any other word here, so that finding it in the output means it leaked.
pin="pin-5810-velmora"

# A certificate NAME from the throwaway root, for DAYS, with the given extensions.
certificate() {
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" \
    -subj "/CN=Velmora test $1" 2>/dev/null
  openssl x509 -req -in "$1.csr" -CA root.pem -CAkey root.key -CAcreateserial -days "$2" \
    -extfile <(printf '%s\n' basicConstraints=CA:FALSE "$3") -out "$1.pem" 2>/dev/null
}
openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 3650 \
  -subj "/CN=Velmora test root" 2>/dev/null
certificate signer 30 extendedKeyUsage=codeSigning
certificate timestamps 3650 extendedKeyUsage=critical,timeStamping

# The key goes into the token and nowhere else.
export SOFTHSM2_CONF=$PWD/softhsm2.conf
mkdir tokens && echo "directories.tokendir = $PWD/tokens" >softhsm2.conf
softhsm2-util --init-token --free --label velmora --so-pin 0000 --pin "$pin" >/dev/null
openssl pkcs8 -topk8 -nocrypt -in signer.key -out signer.p8
softhsm2-util --import signer.p8 --token velmora --label signer --id 01 --pin "$pin" >/dev/null
rm signer.key signer.p8

cat >timestamps.cnf <<'EOF'
[ tsa ]
default_tsa = server
[ server ]
serial = timestamps.serial
signer_cert = timestamps.pem
signer_key = timestamps.key
certs = root.pem
signer_digest = sha256
digests = sha256
default_policy = 1.3.6.1.4.1.99999.1
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
echo 01 >timestamps.serial
cat >timestamps.py <<'EOF'
import http.server
import signal
import subprocess


class Stamp(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(["openssl", "ts", "-reply", "-config", "timestamps.cnf",
                                "-queryfile", "/dev/stdin", "-out", "/dev/stdout"],
                               input=query, capture_output=True)
        self.send_response(200 if reply.returncode == 0 else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)


signal.alarm(600)  # ends itself, should the test be killed before it can end the server
server = http.server.HTTPServer(("127.0.0.1", 0), Stamp)
print(server.server_port, flush=True)
server.serve_forever()
EOF
python3 timestamps.py >port 2>timestamps.log &
server=$!
trap 'kill $server' EXIT
trap 'exit 1' INT TERM
for _ in $(seq 50); do [ -s port ] && break; sleep 0.1; done

# Every osslsigncode command line, to show that the PIN is on none.
mkdir bin
printf '#!/bin/sh\necho "$*" >>%s/command-lines\nexec %s "$@"\n' "$PWD" \
  "$(command -v osslsigncode)" >bin/osslsigncode
chmod +x bin/osslsigncode
export PATH=$PWD/bin:$PATH

token=(VELMORA_SIGNING_CERT=signer.pem "VELMORA_SIGNING_KEY=pkcs11:token=velmora;object=signer"
  VELMORA_SIGNING_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so "VELMORA_SIGNING_PASSWORD=$pin"
  "VELMORA_TIMESTAMP_URL=http://127.0.0.1:$(cat port)")
# Runs a tool as the make targets do, keeping what it says.
run() { env "${token[@]}" "$@" 2>&1 | tee -a said.txt; }

run "$tools/make-signature" "$exe" signed
for build in one two; do
  run env -u VELMORA_SIGNING_CERT VELMORA_SIGNATURE=signed/Velmora.exe.sig \
    "$tools/make-dist" "$exe" "$version" $build
  python3 -m zipfile -e $build/$zip $build/unpacked
done
cmp one/$zip two/$zip
signed=one/unpacked/Velmora.exe

# The signature verifies now and, thanks to its timestamp, 90 days on, when its certificate is
# long expired; one without a timestamp fails then, as Windows would fail it.
later=$(($(date +%s) + 90 * 86400))
verifies() { osslsigncode verify -CAfile root.pem -TSA-CAfile root.pem "$@" >verify.txt 2>&1; }
for when in now "$later"; do
  # shellcheck disable=SC2046 # no -time for now
  verifies $([ $when = now ] || echo -time $when) -in $signed ||
    { cat verify.txt && echo "the timestamped signature does not verify at $when" >&2 && exit 1; }
  echo "osslsigncode verify at $when:"
  grep -E 'Timestamp time|timestamped|verification' verify.txt
done
run env VELMORA_TIMESTAMP_URL=none "$tools/make-signature" "$exe" untimed | grep 'ends with'
run env -u VELMORA_SIGNING_CERT VELMORA_SIGNATURE=untimed/Velmora.exe.sig \
  "$tools/make-dist" "$exe" "$version" untimed >/dev/null
python3 -m zipfile -e untimed/$zip untimed/unpacked
if verifies -time $later -in untimed/unpacked/Velmora.exe; then
  echo "a signature without a timestamp verifies 90 days on: the check above proves nothing" >&2
  exit 1
fi
grep 'certificate has expired' verify.txt

# Removing the signature gives back the build byte for byte; without one, the zip holds the build.
osslsigncode remove-signature -in $signed -out stripped.exe >/dev/null
cmp stripped.exe "$exe"
"$tools/make-dist" "$exe" "$version" unsigned >/dev/null
python3 -m zipfile -e unsigned/$zip unsigned/unpacked
cmp unsigned/unpacked/Velmora.exe "$exe"

# A build one byte off, signed by the same key in the token, once its PE checksum is made right
# again: stale.exe keeps the old one, which osslsigncode corrects as it signs.
python3 - "$exe" <<'EOF'
import struct
import sys

data = bytearray(open(sys.argv[1], "rb").read())
data[len(data) // 2] ^= 1
open("stale.exe", "wb").write(data)
checksum = struct.unpack_from("<I", data, 0x3C)[0] + 88
struct.pack_into("<I", data, checksum, 0)
total = 0
for (word,) in struct.iter_unpack("<H", data):
    total = (total & 0xFFFF) + (total >> 16) + word
struct.pack_into("<I", data, checksum, ((total & 0xFFFF) + (total >> 16)) + len(data))
open("altered.exe", "wb").write(data)
EOF
run "$tools/make-signature" altered.exe altered >/dev/null
run env -u VELMORA_SIGNING_CERT VELMORA_SIGNATURE=altered/Velmora.exe.sig \
  "$tools/make-dist" altered.exe "$version" altered >/dev/null
# The build with the altered build's signature, which osslsigncode attaches, failing, all the same.
openssl pkcs7 -inform DER -in altered/Velmora.exe.sig -out altered.pem
osslsigncode attach-signature -sigin altered.pem -in "$exe" -out mismatched.exe >/dev/null 2>&1 ||
  [ -e mismatched.exe ]

# make verify: the true zip passes, with its signer and timestamp; each other zip is named wrong.
run "$tools/verify-dist" "$exe" one/$zip |
  grep "same bytes as this commit's build; Velmora.exe signed by Velmora test signer, timestamped"
python3 - one/$zip <<'EOF'
import sys
import zipfile

with zipfile.ZipFile(sys.argv[1]) as true_zip:
    entries = {item.filename: true_zip.read(item) for item in true_zip.infolist()}
for name, change in (("readme.zip", {"README.txt": entries["README.txt"] + b"\r\n"}),
                     ("extra.zip", {"setup.exe": b"MZ"}), ("no-license.zip", {"LICENSE": None}),
                     ("mismatched.zip", {"Velmora.exe": open("mismatched.exe", "rb").read()})):
    with zipfile.ZipFile(name, "w") as other:
        for entry, data in {**entries, **change}.items():
            if data is not None:
                other.writestr(entry, data)
EOF
while read -r other says; do
  if run "$tools/verify-dist" "$exe" "$other" >verdict.txt; then
    echo "verify-dist passed $other" >&2 && exit 1
  fi
  grep -q "$says" verdict.txt || { echo "verify-dist did not say \"$says\" of $other" >&2; exit 1; }
done <<CASES
altered/$zip Velmora.exe, its signature removed, differs
readme.zip README.txt differs
extra.zip setup.exe is in the zip
no-license.zip LICENSE is missing
mismatched.zip signature is not that of its bytes
CASES

# Each refusal is one line that names the fix, and leaves nothing, not even an earlier product.
while IFS='|' read -r tool program settings says; do
  product=Velmora.exe.sig arguments=("${program:-$exe}" refused)
  [ "$tool" = make-dist ] && product=$zip arguments=("$exe" "$version" refused)
  mkdir -p refused && cp one/$zip signed/Velmora.exe.sig refused/
  # shellcheck disable=SC2086 # each setting is one word
  if env "${token[@]}" $settings "$tools/$tool" "${arguments[@]}" >said-once.txt 2>&1; then
    echo "$tool went ahead with $settings" >&2 && exit 1
  fi
  cat said-once.txt >>said.txt
  [ "$(wc -l <said-once.txt)" = 1 ] && grep -q "$says" said-once.txt ||
    { echo "expected one line with \"$says\", got: $(cat said-once.txt)" >&2; exit 1; }
  [ ! -e refused/$product ] || { echo "$tool left refused/$product with $settings" >&2; exit 1; }
  rm -r refused
done <<'CASES'
make-signature||VELMORA_TIMESTAMP_URL=|VELMORA_TIMESTAMP_URL is not set
make-signature||VELMORA_SIGNING_PASSWORD=wrong|is not the PIN of the token
make-signature||VELMORA_SIGNING_PKCS11_MODULE=|VELMORA_SIGNING_PKCS11_MODULE is not set
make-signature||VELMORA_TIMESTAMP_URL=http://127.0.0.1:1|gave no timestamp
make-signature|stale.exe||does not give it back byte for byte
make-dist||VELMORA_SIGNATURE=altered/Velmora.exe.sig|a signature for other bytes
make-dist||VELMORA_SIGNATURE=root.pem|is not a detached signature
make-dist||VELMORA_SIGNATURE=|make dist no longer signs with VELMORA_SIGNING_CERT
CASES

if grep -F -- "$pin" said.txt command-lines; then
  echo "the PIN was shown or put on a command line" >&2 && exit 1
fi
echo "signed_release: signed through the token with a timestamp, the same zip twice, verified" \
  "90 days on, stripped to the build, checked by make verify; each refusal one line"
