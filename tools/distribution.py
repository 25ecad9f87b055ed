"""What the keepers' zip holds, and the signature work that make-dist, make-signature and
verify-dist share.

Signatures are osslsigncode's: bookworm's 2.5 and its backport 2.9 both serve, and where they
disagree (the form extract-signature writes and attach-signature reads) this settles it.
"""
import base64
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path
from typing import NamedTuple

root = Path(__file__).resolve().parent.parent
entry_names = ("Velmora.exe", "README.txt", "LICENSE")


class Refusal(Exception):
    """A reason to stop, in one line that names what to fix."""


def run_tool(usage, count, main):
    """Runs a tool's main with its count of arguments, as the shell tools' prelude runs theirs:
    --help prints the tool's usage (its opening docstring) and a call the tool cannot take prints
    it too and exits 2; a Refusal ends the tool with its one line and exit 1."""
    name = Path(sys.argv[0]).name
    if sys.argv[1:] == ["--help"]:
        print(usage.strip())
        sys.exit(0)
    if len(sys.argv) != count + 1:
        print(usage.strip(), file=sys.stderr)
        sys.exit(2)
    try:
        main(*sys.argv[1:])
    except Refusal as refusal:
        print(f"{name}: {refusal}", file=sys.stderr)
        sys.exit(1)


def for_notepad(path, bom):
    """The text with Windows line ends; the byte order mark tells older Notepads it is UTF-8."""
    text = path.read_text(encoding="utf-8").replace("\r\n", "\n").replace("\n", "\r\n")
    return ("\ufeff" + text if bom else text).encode("utf-8")


def texts():
    """README.txt and LICENSE as the zip holds them: README.txt is VELMORA_README's file where
    set (the build's, with the place to report filled in), else release/README.txt."""
    readme = Path(os.environ.get("VELMORA_README") or root / "release" / "README.txt")
    return {"README.txt": for_notepad(readme, bom=True),
            "LICENSE": for_notepad(root / "LICENSE", bom=False)}


def osslsigncode(*args, password=None):
    """osslsigncode's exit code and all it said. A password goes in on a pipe (-readpass
    /dev/stdin): any user can read a command line."""
    if shutil.which("osslsigncode") is None:
        raise Refusal("signing needs osslsigncode, which tools/install-deps installs")
    command = ["osslsigncode", *map(str, args)]
    if password is not None:
        command += ["-readpass", "/dev/stdin"]
    result = subprocess.run(command, input=password, capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


def first_words(said):
    """The first line of osslsigncode's that says something: 2.5 starts with the engine it set."""
    for line in said.splitlines():
        if line.strip() and not line.startswith(("Engine ", "Connecting to ")):
            return line.strip()
    return "it gave no reason"


def certificate_table(data):
    """The offset and size of a PE file's certificate table: the data directory's fifth entry.
    (0, 0) is an unsigned file."""
    optional = struct.unpack_from("<I", data, 0x3C)[0] + 24
    directories = 112 if data[optional:optional + 2] == b"\x0b\x02" else 96  # PE32+ or PE32
    return struct.unpack_from("<II", data, optional + directories + 4 * 8)


def pkcs7(data, source):
    """The DER of the detached signature in data: DER as osslsigncode 2.9 extracts it, PEM as
    its -pem writes it, or the WIN_CERTIFICATE record that 2.5 extracts (the exe's own form)."""
    begin, end = b"-----BEGIN PKCS7-----", b"-----END PKCS7-----"
    if begin in data and end in data:
        try:
            data = base64.b64decode(data.split(begin)[1].split(end)[0])
        except ValueError:
            data = b""
    elif data[4:8] == b"\x00\x02\x02\x00":  # revision 2.0, PKCS#7 signed data
        data = data[8:]
    # A DER SEQUENCE is its own length: what follows it is the record's padding.
    if len(data) > 4 and data[0] == 0x30 and 0x81 <= data[1] <= 0x84:
        count = data[1] & 0x7F
        end_of_sequence = 2 + count + int.from_bytes(data[2:2 + count], "big")
        if end_of_sequence <= len(data):
            return data[:end_of_sequence]
    raise Refusal(f"{source} is not a detached signature (PKCS#7, as make signature writes it)")


def pem(der):
    """The PEM form, the one that osslsigncode 2.5 and 2.9 both attach."""
    text = base64.b64encode(der).decode()
    body = "\n".join(text[at:at + 64] for at in range(0, len(text), 64))
    return f"-----BEGIN PKCS7-----\n{body}\n-----END PKCS7-----\n"


class Signature(NamedTuple):
    """What a signed exe's signature says. fits: its digest is that of the exe's bytes."""
    fits: bool
    signer: str
    timestamp: str
    expires: str

    def summary(self):
        if self.timestamp:
            return f"signed by {self.signer}, timestamped {self.timestamp}"
        return (f"signed by {self.signer} without a timestamp, so the signature ends with its "
                f"certificate, on {self.expires}")


def read_signature(exe):
    """The signature of a signed exe, as osslsigncode's verify reports it. Whether its
    certificate chains to a trusted root is Windows' decision: an empty store keeps osslsigncode
    from deciding it here, while it still reports the digest, the signer and the timestamp."""
    _, said = osslsigncode("verify", "-CAfile", os.devnull, "-TSA-CAfile", os.devnull, "-in", exe)

    def find(pattern):
        found = re.search(pattern, said, re.MULTILINE)
        return found.group(1).strip() if found else ""

    digest = find(r"^Current message digest\s*:\s*(\w+)")
    subject = find(r"^\s*Subject\s*:\s*(.+)$")
    common_name = re.search(r"CN=([^/]+)", subject)
    return Signature(
        fits=bool(digest) and digest == find(r"^Calculated message digest\s*:\s*(\w+)"),
        signer=common_name.group(1) if common_name else subject,
        # 2.9 says "Timestamp time:", 2.5 "The signature is timestamped:".
        timestamp=find(r"^\s*(?:Timestamp time|The signature is timestamped)\s*:\s*(.+)$"),
        expires=find(r"^\s*notAfter\s*:\s*(.+)$"))


def unsigned(exe, scratch):
    """exe's bytes with its signature removed, None where osslsigncode cannot remove it."""
    out = Path(scratch) / "unsigned.exe"
    osslsigncode("remove-signature", "-in", exe, "-out", out)
    return out.read_bytes() if out.exists() else None


def attach(exe, der, source):
    """exe's bytes with the detached signature attached, and what the signature says.

    osslsigncode's verdict on the attach is not the test: it also judges the certificate's
    root, and it writes its output even when it fails. What must hold instead: the signature's
    digest is that of exe's bytes, and removing the signature gives them back byte for byte,
    which lets make verify check a signed zip against a build. The latter holds only while the
    linker writes a correct PE checksum and the file's size is a multiple of 8."""
    with tempfile.TemporaryDirectory() as scratch:
        signature_file = Path(scratch) / "signature.pem"
        signature_file.write_text(pem(der))
        signed = Path(scratch) / "Velmora.exe"
        _, said = osslsigncode("attach-signature", "-sigin", signature_file, "-in", exe,
                               "-out", signed)
        if not signed.exists():
            raise Refusal(f"osslsigncode could not attach {source}: {first_words(said)}")
        signature = read_signature(signed)
        if not signature.fits:
            raise Refusal(f"{source} is a signature for other bytes than {exe} (another commit "
                          "or build): sign this build with make signature, or build the commit "
                          "it was made for")
        if unsigned(signed, scratch) != Path(exe).read_bytes():
            raise Refusal(f"removing the signature from the signed {exe} does not give it back "
                          "byte for byte: its PE checksum or its size (a multiple of 8) is off")
        return signed.read_bytes(), signature
