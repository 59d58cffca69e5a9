# Shared by scripts/demo, scripts/test and scripts/fuzz: packages, builds, test database server.

# qt6-translations-l10n: Qt's own Japanese texts of standard buttons and dialogs.
# The end-to-end test drives the installed program on a virtual display (xvfb)
# with real input (xdotool), keeps screenshots (imagemagick) and is written in python3.
# The Debian package is built with dpkg-dev (dpkg-shlibdeps), its icons drawn
# with librsvg2-bin, and checked with lintian, desktop-file-utils and appstream.
VELMORA_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libsqlite3-dev libpq-dev postgresql
                  libsodium-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-noto-cjk poppler-utils
                  python3 xvfb xdotool imagemagick dpkg-dev librsvg2-bin lintian desktop-file-utils appstream)

# The project root, absolute, worked out once while this file is sourced: a
# script may change its directory afterwards, and BASH_SOURCE stays relative
# when the script was started by a relative path.
VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
velmora_root() { printf '%s\n' "$VELMORA_ROOT"; }

# ccache, when installed, keeps rebuilds of other build folders short.
compiler_launcher() {
    command -v ccache >/dev/null 2>&1 && printf '%s\n' -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
    return 0
}

# Installs what is missing, quietly; nothing is fetched when all is there.
ensure_packages() {
    local missing=() p
    for p in "${VELMORA_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo -n)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq </dev/null >/dev/null
    "${sudo[@]}" apt-get install -y -qq "${missing[@]}" </dev/null >/dev/null
}

build_project() {
    local root; root=$(velmora_root)
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release $(compiler_launcher) >/dev/null
    cmake --build "$root/build" -j "$(nproc)" -- --no-print-directory "$@"
}

# The newest installed server's programs, or those VELMORA_PG_BIN names.
pg_bin_dir() {
    if [ -n "${VELMORA_PG_BIN:-}" ]; then
        printf '%s\n' "$VELMORA_PG_BIN"
    else
        ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1
    fi
}

# A throwaway PostgreSQL server on a private socket folder. PostgreSQL will
# not run as root, so as root the server runs as the postgres user.
# Sets VELMORA_PG_DIR and exports VELMORA_TEST_PG (a Data Source: folder:port).
pg_start() {
    local bin; bin=$(pg_bin_dir)
    [ -n "$bin" ] || { echo "PostgreSQL server binaries not found" >&2; return 1; }
    VELMORA_PG_DIR=$(mktemp -d /tmp/velmora-pg.XXXXXX)
    local as=()
    if [ "$(id -u)" -eq 0 ]; then
        chown postgres: "$VELMORA_PG_DIR"
        as=(runuser -u postgres --)
    fi
    "${as[@]}" "$bin/initdb" -D "$VELMORA_PG_DIR/data" -U postgres -A trust -E UTF8 --locale=C --no-sync \
        >"$VELMORA_PG_DIR/initdb.log" 2>&1 || { cat "$VELMORA_PG_DIR/initdb.log" >&2; return 1; }
    "${as[@]}" "$bin/pg_ctl" -D "$VELMORA_PG_DIR/data" -l "$VELMORA_PG_DIR/server.log" -w -s \
        -o "-k $VELMORA_PG_DIR -p 5432 -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
        start || { cat "$VELMORA_PG_DIR/server.log" >&2; return 1; }
    export VELMORA_TEST_PG="$VELMORA_PG_DIR:5432"
}

pg_stop() {
    [ -n "${VELMORA_PG_DIR:-}" ] && [ -d "$VELMORA_PG_DIR/data" ] || return 0
    local bin; bin=$(pg_bin_dir)
    local as=()
    [ "$(id -u)" -eq 0 ] && as=(runuser -u postgres --)
    "${as[@]}" "$bin/pg_ctl" -D "$VELMORA_PG_DIR/data" -m immediate -s -w stop >/dev/null 2>&1 || true
    rm -rf "$VELMORA_PG_DIR"
}

# Clang with libFuzzer and the sanitizer runtimes, for scripts/fuzz and
# scripts/test --sanitize.
CLANG_PACKAGES=(clang libclang-rt-14-dev)

clang_fuzzer_available() {
    command -v clang++ >/dev/null 2>&1 || return 1
    local runtime; runtime=$(clang++ -print-file-name="libclang_rt.fuzzer-$(uname -m).a" 2>/dev/null)
    [ -f "$runtime" ]
}

# Builds the fuzz targets, and only the libraries they link, in build-fuzz/.
build_fuzz() {
    local root; root=$(velmora_root)
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=Release -DVELMORA_FUZZ=ON >/dev/null
    cmake --build "$root/build-fuzz" -j "$(nproc)" -- --no-print-directory "$@"
}

# Runs every fuzz target for the given number of seconds, starting from its
# seeds in fuzz/corpus/<target> and the inputs earlier runs kept in
# build-fuzz/corpus/<target>. Prints the runs each target executed; fails when
# one finds a crash, a sanitizer report or a broken invariant, naming the
# input it kept.
run_fuzz() {
    local seconds=$1 root; root=$(velmora_root)
    local dir="$root/build-fuzz" failed=() target
    mkdir -p "$dir/logs" "$dir/findings"
    while read -r target; do
        [ -n "$target" ] || continue
        mkdir -p "$dir/corpus/$target"
        local log="$dir/logs/$target.log" status=0
        (cd "$dir" && "$dir/bin/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$dir/findings/$target-" "$dir/corpus/$target" "$root/fuzz/corpus/$target") \
            >"$log" 2>&1 || status=$?
        local runs; runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
        if [ "$status" -eq 0 ]; then
            printf '  %-24s %10s runs in %ss\n' "$target" "${runs:-?}" "$seconds"
        else
            printf '  %-24s FAILED after %s runs (exit %s):\n' "$target" "${runs:-?}" "$status"
            grep -E -A3 'invariant broken|ERROR: |runtime error|^artifact_prefix|Test unit written' "$log" | sed 's/^/    /' | head -n 20
            failed+=("$target")
        fi
    done <"$dir/fuzz_targets.txt"
    if [ ${#failed[@]} -gt 0 ]; then
        echo "Fuzzing failed: ${failed[*]} (logs in build-fuzz/logs, inputs in build-fuzz/findings)" >&2
        return 1
    fi
}

# A source tree at DIR that is the working tree except for tests/, which is
# that of the commit REV: for measuring an older suite against today's code.
# MODE copy copies the working tree (keeping the times, so that builds stay
# incremental); MODE link links to it, so that a change made in the working
# tree is seen in both. A build folder DIR/build is kept: its paths are those
# of build/ in the working tree, which lets ccache reuse what other builds made.
make_suite_tree() {
    local dir=$1 rev=$2 mode=$3 root entry; root=$(velmora_root)
    git -C "$root" rev-parse --verify -q "$rev^{commit}" >/dev/null || { echo "no such revision: $rev" >&2; return 1; }
    mkdir -p "$dir"
    find "$dir" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
    # What the repository holds at the top, except tests/ and bench/, which
    # builds on the tests' support code: both are taken from the revision.
    while read -r entry; do
        [ "$entry" != tests ] && [ "$entry" != bench ] && [ -e "$root/$entry" ] || continue
        if [ "$mode" = link ]; then ln -s "$root/$entry" "$dir/"; else cp -a "$root/$entry" "$dir/"; fi
    done < <(git -C "$root" ls-tree --name-only HEAD)
    git -C "$root" archive "$rev" tests bench | tar -x -C "$dir"
}
