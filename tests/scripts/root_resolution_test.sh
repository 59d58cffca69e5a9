#!/usr/bin/env bash
# The scripts find the project root however they are started: by a relative
# or an absolute path, from the root or from another folder, also after they
# change into build/. The scripts run from a copy of scripts/ in a scratch
# project, with cmake, ctest, the package tools and clang++ replaced by
# recorders, so that nothing is built or installed; every folder they build
# into, run in or write to must lie in the scratch project.
#
#   root_resolution_test.sh SCRIPTS_FOLDER
set -uo pipefail

source_scripts=$(cd "$1" && pwd -P) || { echo "usage: $0 SCRIPTS_FOLDER" >&2; exit 2; }
scratch=$(mktemp -d /tmp/velmora-scripts.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
project="$scratch/project"
elsewhere="$scratch/elsewhere/deeper"
mkdir -p "$project" "$elsewhere" "$scratch/stubs"
cp -r "$source_scripts" "$project/scripts"
project=$(cd "$project" && pwd -P)
calls="$scratch/calls.log"

# Recorders: each writes its name, the folder it runs in and its arguments.
stub() {
    local name=$1 body=$2
    printf '#!/usr/bin/env bash\necho "%s cwd=$PWD args=$*" >>"%s"\n%s\n' "$name" "$calls" "$body" \
        >"$scratch/stubs/$name"
    chmod +x "$scratch/stubs/$name"
}
# cmake --build of the project's fuzz folder (and no other) leaves one fake
# fuzz target behind, as the real build leaves the list of targets and their
# programs.
stub cmake '
if [ "${1:-}" = "--build" ] && [ "${2:-}" = "'"$project"'/build-fuzz" ]; then
    mkdir -p "$2/bin"
    echo fake_target >"$2/fuzz_targets.txt"
    printf "#!/bin/sh\necho stat::number_of_executed_units: 7\n" >"$2/bin/fake_target"
    chmod +x "$2/bin/fake_target"
fi
exit 0'
stub ctest 'exit 0'
stub dpkg-query 'printf "install ok installed"'
stub apt-get 'echo "apt-get must not run: every package counts as installed" >&2; exit 1'
stub sudo 'exec "$@"'
# clang++ with libFuzzer: the runtime it names exists.
stub clang++ 'case "$*" in -print-file-name=*) echo "'"$scratch"'/stubs/clang++";; esac'
# A test server that starts at once: initdb makes its data folder, pg_ctl
# does nothing. They may run as the postgres user, so they and their folder
# are readable by all.
mkdir -p "$scratch/pg"
printf '#!/bin/sh\nmkdir -p "$2"\n' >"$scratch/pg/initdb"
printf '#!/bin/sh\nexit 0\n' >"$scratch/pg/pg_ctl"
chmod 755 "$scratch" "$scratch/pg" "$scratch/pg/initdb" "$scratch/pg/pg_ctl"
export VELMORA_PG_BIN="$scratch/pg"
# The administration tool and the program of the demo installation.
mkdir -p "$project/build/bin"
cat >"$project/build/bin/velmora-admin" <<EOF
#!/usr/bin/env bash
echo "velmora-admin cwd=\$PWD args=\$*" >>"$calls"
if [ "\$1" = init ]; then
    mkdir -p "\$2/prgbin" "\$2/conf"
    : >"\$2/conf/usrcnfg.accdb"
    printf '#!/bin/sh\\necho "Velmora cwd=\$PWD args=" >>"$calls"\\n' >"\$2/prgbin/Velmora"
    chmod +x "\$2/prgbin/Velmora"
fi
EOF
chmod +x "$project/build/bin/velmora-admin"
# The package check, which scripts/test runs after the suite, has its own
# end-to-end check (it builds and unpacks a real package); here it records.
printf '#!/usr/bin/env bash\necho "package cwd=$PWD args=$*" >>"%s"\n' "$calls" >"$project/scripts/package"
chmod +x "$project/scripts/package"

export PATH="$scratch/stubs:$PATH"
unset VELMORA_ROOT
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# How each script is started: the folder to start in and the path to use.
starts=(
    "$project|scripts/%s"
    "$project|./scripts/%s"
    "$project/scripts|./%s"
    "$elsewhere|../../project/scripts/%s"
    "$elsewhere|$project/scripts/%s"
    "/|$project/scripts/%s"
)

# Sourcing common.sh: the root it reports, also after a change of folder.
for start in "${starts[@]}"; do
    dir=${start%%|*}
    path=$(printf "${start#*|}" common.sh)
    got=$(cd "$dir" && bash -c 'source "$1" && cd / && velmora_root' _ "$path" 2>&1)
    [ "$got" = "$project" ] || fail "source $path in $dir: root '$got', expected '$project'"
done

# Every folder a recorded call is given lies in the project (or is the
# project itself); a relative one, or one outside, means a wrong root.
check_calls() {
    local what=$1 expected_pattern=$2 line word
    grep -q -- "$expected_pattern" "$calls" || fail "$what: no call like '$expected_pattern' in: $(cat "$calls")"
    while read -r line; do
        # Where a command is run from is the caller's business; what it is told is not.
        for word in ${line#*args=}; do
            case "$word" in
                -S|-B|--build) continue ;;
                /*) case "$word" in
                        "$project"|"$project"/*|/usr/*|/tmp/velmora-pg.*) ;;
                        *) fail "$what: a path outside the project: $word (in: $line)" ;;
                    esac ;;
                *build*|*demo*|*scripts*) fail "$what: a relative path: $word (in: $line)" ;;
            esac
        done
    done <"$calls"
}

# Each script is run from a few of them: each takes a few seconds.
for start in "${starts[0]}" "${starts[3]}" "${starts[5]}"; do
    dir=${start%%|*}

    # scripts/test: builds, runs ctest in build/, then builds and runs the
    # fuzz targets in build-fuzz/ (the step that used to go to /build-fuzz).
    path=$(printf "${start#*|}" test)
    : >"$calls"
    rm -rf "$project/build-fuzz"
    out=$(cd "$dir" && "$path" 2>&1) || fail "$path in $dir exited $?: $out"
    check_calls "$path in $dir" "ctest cwd=$project/build "
    grep -q "^package cwd=.* args=--check" "$calls" || fail "$path in $dir: the package was not checked: $(cat "$calls")"
    grep -q "cmake cwd=.* args=-S $project -B $project/build-fuzz " "$calls" ||
        fail "$path in $dir: the fuzz targets were not configured in $project/build-fuzz: $(cat "$calls")"
    grep -q "fake_target .* 7 runs" <<<"$out" || fail "$path in $dir: the fuzz target did not run: $out"

done
for start in "${starts[2]}" "${starts[4]}"; do
    dir=${start%%|*}

    # scripts/fuzz SECONDS
    path=$(printf "${start#*|}" fuzz)
    : >"$calls"
    rm -rf "$project/build-fuzz"
    out=$(cd "$dir" && "$path" 1 2>&1) || fail "$path 1 in $dir exited $?: $out"
    check_calls "$path in $dir" "cmake cwd=.* args=--build $project/build-fuzz "
    [ -f "$project/build-fuzz/logs/fake_target.log" ] || fail "$path in $dir: no log in $project/build-fuzz/logs"

    # scripts/demo: creates demo/ with the administration tool and starts the program there.
    path=$(printf "${start#*|}" demo)
    : >"$calls"
    rm -rf "$project/demo"
    out=$(cd "$dir" && QT_QPA_PLATFORM=offscreen "$path" 2>&1) || fail "$path in $dir exited $?: $out"
    check_calls "$path in $dir" "velmora-admin cwd=.* args=init $project/demo"
    grep -q "^Velmora " "$calls" || fail "$path in $dir: the program was not started: $(cat "$calls")"
done

if [ $failures -gt 0 ]; then
    echo "$failures failures" >&2
    exit 1
fi
echo "The scripts found $project from ${#starts[@]} starting points."
