# The opening that every shell tool in this folder sources, so that all of them fail and answer
# --help the same way:
#
#   source "$(dirname "$0")/prelude.bash"
#   answer_help "$@"                  --help prints the tool's usage and ends it, with 0
#   [ CALL IS RIGHT ] || misuse       a call the tool cannot take: its usage, then exit 2
#
# A tool's usage is its opening comment, from its second line to the first line that is not a
# comment, so what --help prints and what the file says are one text.
set -Eeuo pipefail
tool_name=$(basename "$0")
# Whatever fails without a word of its own says what it was.
trap 'echo "$tool_name: \"$BASH_COMMAND\" failed with exit code $? (line $LINENO)" >&2' ERR

usage() { sed -n '2,/^[^#]/{/^#/{s/^# \{0,1\}//;p}}' "$0"; }
answer_help() { if [ "${1:-}" = --help ]; then usage; exit 0; fi; }
misuse() { usage >&2; exit 2; }
