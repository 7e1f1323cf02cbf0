#!/usr/bin/env bash
# The live-server suite: runs the Oracle engine's and the catalogue's checks against a real
# Oracle server. Opt-in: it needs QUARNEL_ORACLE_TEST_HOST (e.g. localhost:1521/FREEPDB1),
# QUARNEL_ORACLE_TEST_USER and QUARNEL_ORACLE_TEST_PASSWORD, and Oracle's client library
# (Instant Client) on LD_LIBRARY_PATH or under ORACLE_HOME/lib. Without them it says it was
# skipped and exits 0. The suite creates its own QLT_* tables and drops them again, also when a
# check fails or the run is interrupted.
#
# Usage: scripts/test-oracle.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

for name in QUARNEL_ORACLE_TEST_HOST QUARNEL_ORACLE_TEST_USER QUARNEL_ORACLE_TEST_PASSWORD; do
    if [ -z "${!name:-}" ]; then
        echo "test-oracle: skipped ($name is not set; see README, \"Testing against an Oracle server\")"
        exit 0
    fi
done

# The client library, where the engine looks for it.
found=""
IFS=: read -r -a folders <<<"${LD_LIBRARY_PATH:-}"
[ -n "${ORACLE_HOME:-}" ] && folders+=("$ORACLE_HOME/lib" "$ORACLE_HOME")
for folder in "${folders[@]}"; do
    if [ -n "$folder" ] && compgen -G "$folder/libclntsh.so*" >/dev/null; then
        found=$folder
        break
    fi
done
if [ -z "$found" ] && ldconfig -p 2>/dev/null | grep -q 'libclntsh\.so'; then
    found=system
fi
if [ -z "$found" ]; then
    echo "test-oracle: skipped (no Oracle client library libclntsh.so on LD_LIBRARY_PATH, in" \
        "\$ORACLE_HOME/lib or known to ldconfig)"
    exit 0
fi

program=$build/tests/quarnel_oracle_live_tests
if [ ! -x "$program" ]; then
    cmake --build "$build" --target quarnel_oracle_live_tests
fi

# Drops the suite's tables whatever happened to the run.
cleanup() { QUARNEL_ORACLE_LIVE_DROP_ONLY=1 "$program" >/dev/null 2>&1 || true; }
trap cleanup EXIT INT TERM

echo "test-oracle: client library from $found; server $QUARNEL_ORACLE_TEST_HOST"
"$program" "${@:2}"
