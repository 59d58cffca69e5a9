#!/usr/bin/env bash
# Every program answers --version and --help without an installation or a
# display, and the velmora command starts the chosen installation's program
# with its arguments, or explains how to choose one.
# Usage: program_options_test.sh BUILD_BIN_FOLDER VERSION
set -uo pipefail
bin=$(cd "$1" && pwd)
version=$2
work=$(mktemp -d /tmp/velmora-options.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Nowhere to find an installation, no display: a program that tried either would fail.
cd "$work"
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

#        program              first word of its usage
cases=(  "Velmora             Usage: Velmora"
         "velmora             Usage: velmora"
         "velmora-admin       Usage: velmora-admin"
         "velmora-issue       Usage: velmora-issue"
         "velmora-standin     Usage: NAME"
         "velmora-lookup-try  Usage: velmora-lookup-try" )
for row in "${cases[@]}"; do
    read -r program usage <<<"$row"
    out=$(timeout 20 "$bin/$program" --version 2>"$work/err"); status=$?
    [ $status -eq 0 ] || fail "$program --version exits $status: $(cat "$work/err")"
    [ "$out" = "Velmora $version" ] || fail "$program --version says '$out'"
    for option in --help -h; do
        out=$(timeout 20 "$bin/$program" $option 2>"$work/err"); status=$?
        [ $status -eq 0 ] || fail "$program $option exits $status: $(cat "$work/err")"
        case "$out" in "$usage"*) ;; *) fail "$program $option begins '${out%%$'\n'*}'" ;; esac
    done
done
[ -e "$XDG_CONFIG_HOME" ] && fail "a program wrote $XDG_CONFIG_HOME"
[ -e "$XDG_STATE_HOME" ] && fail "a program wrote $XDG_STATE_HOME"

# The launcher with nothing chosen, then with a folder that is no
# installation: status 1 and the commands to run.
for chosen in "" "$work/gone"; do
    if [ -n "$chosen" ]; then mkdir -p "$XDG_CONFIG_HOME/velmora"; echo "$chosen" >"$XDG_CONFIG_HOME/velmora/installation"; fi
    timeout 20 "$bin/velmora" 00120240401 >"$work/out" 2>"$work/err"; status=$?
    [ $status -eq 1 ] || fail "velmora with '${chosen:-nothing}' chosen exits $status"
    grep -q "velmora-admin init ~/velmora" "$work/err" || fail "velmora does not say how to make an installation: $(cat "$work/err")"
    grep -q "velmora-admin use" "$work/err" || fail "velmora does not say how to choose an installation"
done

# A chosen installation: its prgbin/Velmora runs with the arguments as given.
install="$work/my installation"
mkdir -p "$install/prgbin" "$install/conf"
: >"$install/conf/usrcnfg.accdb"
cat >"$install/prgbin/Velmora" <<SCRIPT
#!/bin/sh
printf '%s|' "\$0" "\$@" >"$work/started"
SCRIPT
chmod +x "$install/prgbin/Velmora"
printf '%s\n' "$install" >"$XDG_CONFIG_HOME/velmora/installation"
timeout 20 "$bin/velmora" "001 20240401" "00000012" >"$work/out" 2>"$work/err"; status=$?
[ $status -eq 0 ] || fail "velmora with an installation exits $status: $(cat "$work/err")"
[ "$(cat "$work/started" 2>/dev/null)" = "$install/prgbin/Velmora|001 20240401|00000012|" ] ||
    fail "velmora started: $(cat "$work/started" 2>/dev/null)"

[ $failures -eq 0 ] && echo "all program options and launcher cases pass"
exit $((failures > 0))
