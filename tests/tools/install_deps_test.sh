#!/usr/bin/env bash
# Checks tools/install-deps' decisions on good and bad days at the package registry, with
# stand-ins for apt-get, dpkg, dpkg-query and id first on PATH: the stand-in apt-get records
# each call and fails update or install on cue; nothing is installed for real.
set -uo pipefail
install_deps="$(cd "$(dirname "$0")/../.." && pwd)/tools/install-deps"
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-$UBUNTU_CODENAME}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/bin"
cat >"$work/bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STANDIN/calls"
case "$1" in
  update)
    failures=$(cat "$STANDIN/update-failures")
    if [ "$failures" -gt 0 ]; then
      echo $((failures - 1)) >"$STANDIN/update-failures"
      echo "Err:4 http://deb.example bookworm-security/main i386 Packages"
      echo "  File has unexpected size (374820 != 376004). Mirror sync in progress?"
      exit 100
    fi ;;
  install)
    if [[ " $* " == *" -t "* ]]; then grep -qx pinned "$STANDIN/install-fails" && exit 100
    else grep -qx plain "$STANDIN/install-fails" && exit 100
    fi ;;
esac
exit 0
STANDIN
cat >"$work/bin/dpkg-query" <<'STANDIN'
#!/usr/bin/env bash
package=${*: -1}
grep -qx "$package" "$STANDIN/missing" && exit 1
echo "install ok installed"
STANDIN
cat >"$work/bin/dpkg" <<'STANDIN'
#!/usr/bin/env bash
case "$1" in
  --print-foreign-architectures) cat "$STANDIN/foreign" ;;
  *) echo "dpkg $*" >>"$STANDIN/calls" ;;
esac
STANDIN
cat >"$work/bin/id" <<'STANDIN'
#!/usr/bin/env bash
cat "$STANDIN/uid"
STANDIN
chmod +x "$work/bin"/*

passed=0 failed=0
# check NAME MISSING UPDATE_FAILURES INSTALL_FAILS UID FOREIGN STATUS CALLS OUTPUT
#   MISSING: packages not installed, space-separated; UPDATE_FAILURES: how many updates fail
#   before one succeeds; INSTALL_FAILS: plain, pinned, both or none; CALLS: the stand-ins'
#   calls, joined by " | "; OUTPUT: a text that what install-deps printed must hold.
check() {
  local name=$1 missing=$2 update_failures=$3 install_fails=$4 uid=$5 foreign=$6
  local want_status=$7 want_calls=$8 want_output=$9
  local case_dir="$work/$name"
  mkdir "$case_dir"
  tr ' ' '\n' <<<"$missing" >"$case_dir/missing"
  echo "$update_failures" >"$case_dir/update-failures"
  case $install_fails in both) printf 'plain\npinned\n' ;; none) : ;; *) echo "$install_fails" ;; esac \
    >"$case_dir/install-fails"
  echo "$uid" >"$case_dir/uid"
  echo "$foreign" >"$case_dir/foreign"
  : >"$case_dir/calls"
  local output status calls
  output=$(STANDIN=$case_dir PATH="$work/bin:$PATH" VELMORA_WIN32=vm VELMORA_APT_PAUSE=0 \
           "$install_deps" 2>&1)
  status=$?
  calls=$(paste -sd'|' "$case_dir/calls" | sed 's/|/ | /g')
  local fault=""
  [ "$status" = "$want_status" ] || fault+=" status $status, not $want_status;"
  [ "$calls" = "$want_calls" ] || fault+=" calls were [$calls], not [$want_calls];"
  [[ $output == *"$want_output"* ]] || fault+=" the output lacks \"$want_output\";"
  if [ -z "$fault" ]; then
    passed=$((passed + 1)) && echo "ok: $name"
  else
    failed=$((failed + 1)) && echo "FAILED: $name:$fault"$'\n'"$output"
  fi
}

install="apt-get install -y --no-install-recommends"
check NothingMissingRunsNoAptGet "" 0 none 0 i386 0 "" ""
check AHealthyDayUpdatesOnceAndInstalls "xdotool" 0 none 0 i386 0 \
  "apt-get update | $install xdotool" "Installing: xdotool"
check AFailedUpdateIsTriedAgain "xdotool" 1 none 0 i386 0 \
  "apt-get update | apt-get update | $install xdotool" "try 1 of 3"
check AListThatStaysBadIsNamedAndTheInstallGoesOn "xdotool" 5 none 0 i386 0 \
  "apt-get update | apt-get update | apt-get update | $install xdotool" \
  "still fail: http://deb.example bookworm-security/main i386 Packages; going on"
check AFailedInstallIsTriedPinnedToTheRelease "wine32:i386 xdotool" 5 plain 0 i386 0 \
  "apt-get update | apt-get update | apt-get update | $install wine32:i386 xdotool | $install -t $codename wine32:i386 xdotool" \
  "trying once more with -t $codename"
check ADoubleFailureSaysWhatToDo "wine32:i386" 0 both 0 i386 1 \
  "apt-get update | $install wine32:i386 | $install -t $codename wine32:i386" \
  "could not install: wine32:i386"
check AnI386PackageAddsTheArchitectureFirst "wine32:i386" 0 none 0 "" 0 \
  "dpkg --add-architecture i386 | apt-get update | $install wine32:i386" ""
check NotRootPrintsTheCommandAndInstallsNothing "xdotool busybox-static" 0 none 1000 i386 1 "" \
  "sudo sh -c 'apt-get update; DEBIAN_FRONTEND=noninteractive $install xdotool'"
check TheVirtualMachinesPackagesComeSecond "busybox-static" 0 none 0 i386 0 \
  "apt-get update | $install busybox-static" "virtual machine here: it needs busybox-static"

echo "install_deps: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
